#include "CMainFrame.h"

#include "NetworkSelection.h"

#include "listview/CBottView.h"
#include "mapbuild/HostInventory.h"
#include "mapbuild/MapRebuild.h"
#include "mapview/CDrawTool.h"
#include "mapview/CNetView.h"
#include "mapview/EmbeddedFile.h"
#include "mapview/MapPrinter.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawSys.h"
#include "objects/DevicePictures.h"
#include "propsheet/CObjectSheet.h"
#include "shell/ApplicationLook.h"
#include "shell/CAboutDlg.h"
#include "shell/CChildFrame.h"
#include "shell/CRectDlg.h"
#include "shell/DocumentSession.h"
#include "shell/HelpPages.h"
#include "shell/SettingsStore.h"
#include "survey/SurveySettings.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QToolBar>

namespace {

const QString kRecentKey = QStringLiteral("Recent File List");
const QString kWindowKey = QStringLiteral("SOFTWARE\\Tavrin\\Varnex\\Fl_pos");
const QString kFilter = QStringLiteral("Varnex Files (*.vxnj)");

// Device tools: command id, tool shape, device type.
struct DeviceTool {
    int id;
    int shape;
    int typeCode;
    const char* text;
};

const DeviceTool kDeviceTools[] = {
    {32822, 18, CDrawSys::kRackMount, "ラックマウント"},
    {32789, 6, CDrawSys::kTower, "タワー"},
    {32790, 7, CDrawSys::kDesktop, "デスクトップ"},
    {32823, 17, CDrawSys::kNotebook, "ノート"},
    {32824, 19, CDrawSys::kPocketPc, "ポケットPC"},
    {32791, 8, CDrawSys::kRouter, "ルーター"},
    {32792, 9, CDrawSys::kHub, "ハブ"},
    {32793, 10, CDrawSys::kPrinter, "プリンタ"},
};

QIcon DeviceIcon(int typeCode)
{
    const QImage picture = DevicePictures::picture(typeCode, DevicePictures::Medium::Screen);
    if (picture.isNull())
        return {};
    return QIcon(QPixmap::fromImage(picture.scaled(24, 24, Qt::KeepAspectRatio,
                                                   Qt::SmoothTransformation)));
}

// "Prompt\nTooltip": the status-bar text and the button's tooltip.
const std::pair<int, const char*> kPrompts[] = {
    {32779, "グリッドラインを描画します。"},
    {32789, "タワーの挿入\nタワー挿入"},
    {32790, "デスクトップの挿入\nデスクトップ挿入"},
    {32791, "ルーターの挿入\nルーター挿入"},
    {32792, "ハブの挿入\nハブ挿入"},
    {32793, "プリンターの挿入\nプリンタ挿入"},
    {32794, "システムの解析\nシステム解析"},
    {32795, "システムの解析中止\nシステム解析中止"},
    {32806, "再配置します。\n再配置"},
    {32819, "ドキュメントの内容をカンマ区切り形式で出力\nカンマ区切り出力"},
    {32821, "再結線します。\n再結線"},
    {32822, "ラックマウントの挿入\nラックマウントの挿入"},
    {32823, "ノートの挿入\nノートの挿入"},
    {32824, "ポケットPCの挿入\nポケットPCの挿入"},
    {32829, "１行表示\n１行表示"},
    {32830, "複数行表示\n複数行表示"},
    {32831, "カラム表示/非表示\nカラム表示/非表示"},
    {32833, "リストより空の列を削除します。\n空の列削除"},
    {32836, "ネットワーク調査設定\n調査設定ダイアログ"},
};

} // namespace

CMainFrame::CMainFrame(const NetworkProbes& probes, SurveySettings& settings, QWidget* parent)
    : QMainWindow(parent)
    , m_probes(probes)
    , m_settings(settings)
    , m_nLook(ApplicationLook::Stored())
{
    ApplicationLook::Apply(m_nLook);
    setWindowTitle(QStringLiteral("Varnex"));
    m_pMdi = new QMdiArea(this);
    m_pMdi->setViewMode(QMdiArea::TabbedView);
    m_pMdi->setTabsClosable(true);
    m_pMdi->setTabsMovable(true);
    m_pMdi->setDocumentMode(true);
    setCentralWidget(m_pMdi);
    connect(m_pMdi, &QMdiArea::subWindowActivated, this, [this] { UpdateActions(); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateActions);
    CreateMenus();
    CreateToolBar();
    SetPrompts();
    SetShortcuts();
    statusBar()->showMessage(QStringLiteral("レディ"));
    m_astrRecent = SettingsStore().readUncountedList(kRecentKey).mid(0, kRecentFiles);
    RebuildRecentMenu();
    RestoreWindowRect();
    setAcceptDrops(true);
    UpdateActions();
}

CMainFrame::~CMainFrame()
{
    // Windows first: their views point into the sessions' documents.
    for (QMdiSubWindow* window : m_pMdi->subWindowList()) {
        window->removeEventFilter(this);
        delete window;
    }
    m_sessions.clear();
}

QAction* CMainFrame::AddAction(QMenu* menu, int id, const QString& text, void (CMainFrame::*slot)())
{
    auto* action = new QAction(text, this);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    if (menu)
        menu->addAction(action);
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::CreateMenus()
{
    CreateFileMenu();
    CreateEditMenu();
    CreateViewMenu();
    CreateToolsMenu();
    CreateWindowAndHelpMenus();
}

void CMainFrame::CreateFileMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    m_topMenus.append(menu);
    AddAction(menu, 57600, QStringLiteral("新規作成(&N)"), &CMainFrame::OnFileNew);
    AddAction(menu, 57601, QStringLiteral("開く(&O)..."), &CMainFrame::OnFileOpen);
    AddAction(menu, 57602, QStringLiteral("閉じる(&C)"), &CMainFrame::OnFileClose);
    AddAction(menu, 57603, QStringLiteral("上書き保存(&S)"), &CMainFrame::OnFileSave);
    AddAction(menu, 57604, QStringLiteral("名前を付けて保存(&A)..."), &CMainFrame::OnFileSaveAs);
    AddAction(menu, 32819, QStringLiteral("CSV出力"), &CMainFrame::OnFileExportCsv);
    menu->addSeparator();
    AddAction(menu, 57607, QStringLiteral("印刷(&P)..."), &CMainFrame::OnFilePrint);
    AddAction(menu, 57609, QStringLiteral("印刷プレビュー(&V)"), &CMainFrame::OnFilePrintPreview);
    AddAction(menu, 57606, QStringLiteral("プリンターの設定..."), &CMainFrame::OnFilePrintSetup);
    menu->addSeparator();
    m_pRecentMenu = menu->addMenu(QStringLiteral("最近使ったファイル"));
    menu->addSeparator();
    AddAction(menu, 57665, QStringLiteral("アプリケーションの終了(&X)"), nullptr);
    connect(m_actions.value(57665), &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::CreateEditMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    m_topMenus.append(menu);
    AddAction(menu, 57643, QStringLiteral("元に戻す(&U)"), &CMainFrame::OnEditUndo);
    AddAction(menu, 57644, QStringLiteral("やり直し(&R)"), &CMainFrame::OnEditRedo);
    menu->addSeparator();
    AddAction(menu, 57635, QStringLiteral("切り取り(&T)"), &CMainFrame::OnEditCut);
    AddAction(menu, 57634, QStringLiteral("コピー(&C)"), &CMainFrame::OnEditCopy);
    AddAction(menu, 57637, QStringLiteral("貼り付け(&P)"), &CMainFrame::OnEditPaste);
    menu->addSeparator();
    AddAction(menu, 57856, QStringLiteral("オブジェクトの作成と貼り付け(&N)..."),
              &CMainFrame::OnEditInsertObject);
}

void CMainFrame::CreateViewMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    m_topMenus.append(menu);
    QAction* bar = AddAction(menu, 59393, QStringLiteral("ステータス バー(&S)"),
                             &CMainFrame::OnViewStatusBar);
    bar->setCheckable(true);
    bar->setChecked(true);
    QMenu* looks = menu->addMenu(QStringLiteral("アプリケーションの外観(&A)"));
    QMenu* office = nullptr;
    auto* group = new QActionGroup(this);
    for (const ApplicationLook::Look& look : ApplicationLook::Looks()) {
        if (look.office2007 && !office)
            office = looks->addMenu(QStringLiteral("Office 2007(&7)"));
        QAction* action = AddAction(look.office2007 ? office : looks, look.id,
                                    QString::fromUtf8(look.menuText), nullptr);
        action->setCheckable(true);
        action->setChecked(look.id == m_nLook);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, id = look.id] { OnLook(id); });
    }
    menu->addSeparator();
    AddAction(menu, 32772, QStringLiteral("バックの色(&B)"), &CMainFrame::OnBackColor);
    QAction* grid = AddAction(menu, 32779, QStringLiteral("グリッド描画(&G)"), &CMainFrame::OnGrid);
    grid->setCheckable(true);
    grid->setChecked(true);
    menu->addSeparator();
    AddAction(menu, 32831, QStringLiteral("カラム表示/非表示"), nullptr);
    AddAction(menu, 32829, QStringLiteral("１行表示"), nullptr);
    AddAction(menu, 32830, QStringLiteral("複数行表示"), nullptr);
    AddAction(menu, 32833, QStringLiteral("空の列削除"), nullptr);
}

void CMainFrame::CreateToolsMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    m_topMenus.append(menu);
    AddAction(menu, 32794, QStringLiteral("システム解析"), &CMainFrame::OnSurveyStart);
    AddAction(menu, 32795, QStringLiteral("システム解析中止"), &CMainFrame::OnSurveyStop);
    AddAction(menu, 32806, QStringLiteral("再配置"), &CMainFrame::OnRelayout);
    AddAction(menu, 32821, QStringLiteral("再結線"), &CMainFrame::OnRewire);
    AddAction(menu, 32836, QStringLiteral("ネットワーク調査方法設定"), &CMainFrame::OnSurveySettings);
    QMenu* insert = menu->addMenu(QStringLiteral("描画オブジェクトの挿入"));
    for (const DeviceTool& tool : kDeviceTools) {
        QAction* action = AddAction(insert, tool.id, QString::fromUtf8(tool.text), nullptr);
        action->setCheckable(true);
        action->setIcon(DeviceIcon(tool.typeCode));
        connect(action, &QAction::triggered, this, [this, shape = tool.shape] { OnTool(shape); });
    }
}

void CMainFrame::CreateWindowAndHelpMenus()
{
    QMenu* window = menuBar()->addMenu(QStringLiteral("ウィンドウ(&W)"));
    m_topMenus.append(window);
    AddAction(window, 57650, QStringLiteral("重ねて表示(&C)"), nullptr);
    AddAction(window, 57651, QStringLiteral("並べて表示(&T)"), nullptr);
    AddAction(window, 57648, QStringLiteral("新しいウィンドウを開く(&N)"), &CMainFrame::OnWindowNew);
    connect(m_actions.value(57650), &QAction::triggered, m_pMdi, [this] {
        m_pMdi->setViewMode(QMdiArea::SubWindowView);
        m_pMdi->cascadeSubWindows();
    });
    connect(m_actions.value(57651), &QAction::triggered, m_pMdi, [this] {
        m_pMdi->setViewMode(QMdiArea::SubWindowView);
        m_pMdi->tileSubWindows();
    });
    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    m_topMenus.append(help);
    AddAction(help, 57664, QStringLiteral("Varnex のﾊﾞｰｼﾞｮﾝ情報(&A)..."), &CMainFrame::OnAbout);
    help->addSeparator();
    AddAction(help, 32855, QStringLiteral("トピックの検索(&H)"), &CMainFrame::OnHelp);
}

void CMainFrame::CreateToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("標準"));
    bar->setObjectName(QStringLiteral("standard"));
    bar->setIconSize(QSize(20, 20));
    const QList<int> buttons{57600, 57601, 57603, 0,     57635, 57634, 57637, 0,     57607,
                             57609, 0,     32794, 32795, 32806, 32821, 32836, 0,     32822,
                             32789, 32790, 32823, 32824, 32793, 32791, 32792, 0,     32831,
                             32829, 32830, 32833, 0,     57664};
    const QHash<int, QStyle::StandardPixmap> icons{
        {57600, QStyle::SP_FileIcon},          {57601, QStyle::SP_DialogOpenButton},
        {57603, QStyle::SP_DialogSaveButton},  {57635, QStyle::SP_DialogDiscardButton},
        {57634, QStyle::SP_FileDialogDetailedView}, {57637, QStyle::SP_FileDialogContentsView},
        {57607, QStyle::SP_DriveNetIcon},      {57609, QStyle::SP_FileDialogInfoView},
        {32794, QStyle::SP_MediaPlay},         {32795, QStyle::SP_MediaStop},
        {32806, QStyle::SP_BrowserReload},     {32821, QStyle::SP_ArrowRight},
        {32836, QStyle::SP_FileDialogListView}, {57664, QStyle::SP_MessageBoxQuestion}};
    for (const int id : buttons) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = m_actions.value(id);
        if (icons.contains(id))
            action->setIcon(style()->standardIcon(icons.value(id)));
        bar->addAction(action);
    }
}

void CMainFrame::SetPrompt(int id, const QString& prompt)
{
    QAction* action = m_actions.value(id);
    if (!action)
        return;
    const qsizetype split = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(split < 0 ? prompt : prompt.left(split));
    if (split >= 0)
        action->setToolTip(prompt.mid(split + 1));
}

void CMainFrame::SetPrompts()
{
    for (const auto& [id, prompt] : kPrompts)
        SetPrompt(id, QString::fromUtf8(prompt));
}

void CMainFrame::SetShortcuts()
{
    const auto keys = [this](int id, const QList<QKeySequence>& sequences) {
        m_actions.value(id)->setShortcuts(sequences);
    };
    keys(57600, {QKeySequence(QStringLiteral("Ctrl+N"))});
    keys(57601, {QKeySequence(QStringLiteral("Ctrl+O"))});
    keys(57603, {QKeySequence(QStringLiteral("Ctrl+S"))});
    keys(57607, {QKeySequence(QStringLiteral("Ctrl+P"))});
    keys(57634, {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))});
    keys(57635, {QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Del"))});
    keys(57637, {QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Ins"))});
    keys(57643, {QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Alt+Backspace"))});
    keys(57644, {QKeySequence(QStringLiteral("Ctrl+Y"))});
    keys(32855, {QKeySequence(QStringLiteral("F1"))});
}

CChildFrame* CMainFrame::ActiveChild() const
{
    QMdiSubWindow* window = m_pMdi->activeSubWindow();
    if (!window && !m_pMdi->subWindowList().isEmpty())
        window = m_pMdi->subWindowList().last();
    return window ? qobject_cast<CChildFrame*>(window->widget()) : nullptr;
}

QList<CChildFrame*> CMainFrame::Children() const
{
    QList<CChildFrame*> children;
    for (QMdiSubWindow* window : m_pMdi->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window->widget()))
            children.append(child);
    return children;
}

DocumentSession* CMainFrame::ActiveSession() const
{
    CChildFrame* child = ActiveChild();
    return child ? &child->Session() : nullptr;
}

CChildFrame* CMainFrame::AddWindow(DocumentSession& session)
{
    auto* child = new CChildFrame(session);
    QMdiSubWindow* window = m_pMdi->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    window->setWindowTitle(session.Title());
    // Queued: while the window is being destroyed the area still lists it.
    connect(window, &QObject::destroyed, this, [this, s = &session] { ForgetClosedSession(s); },
            Qt::QueuedConnection);
    CNetView& view = child->MapView();
    connect(&view, &CNetView::selectionChanged, this, &CMainFrame::UpdateActions);
    connect(&view, &CNetView::propertySheetRequested, this, &CMainFrame::OpenPropertySheet);
    connect(&view, &CNetView::surveySettingsRequested, this, &CMainFrame::OnSurveySettings);
    window->showMaximized();
    view.setFocus();
    view.SetViewActive(true);
    UpdateActions();
    return child;
}

CChildFrame* CMainFrame::NewDocument()
{
    m_sessions.push_back(std::make_unique<DocumentSession>(m_probes, m_settings, this, ++m_nUntitled));
    DocumentSession& session = *m_sessions.back();
    connect(&session, &DocumentSession::titleChanged, this, &CMainFrame::UpdateTitles);
    connect(&session.FrontEnd(), &GuiSurveyFrontEnd::surveyingChanged, this,
            &CMainFrame::OnSurveyingChanged);
    connect(&session.Document(), &CNetDoc::modifiedChanged, this, &CMainFrame::UpdateActions);
    return AddWindow(session);
}

bool CMainFrame::OpenFile(const QString& path)
{
    CChildFrame* child = NewDocument();
    QString error;
    if (!child->Session().Open(path, &error)) {
        QMessageBox::warning(this, QStringLiteral("Varnex"),
                             QStringLiteral("%1 を開けません。\n%2").arg(path, error));
        m_pMdi->removeSubWindow(child->parentWidget());
        delete child->parentWidget();
        return false;
    }
    AddRecent(path);
    UpdateTitles();
    return true;
}

void CMainFrame::ForgetClosedSession(DocumentSession* session)
{
    for (CChildFrame* child : Children())
        if (&child->Session() == session)
            return;
    std::erase_if(m_sessions, [session](const auto& owned) { return owned.get() == session; });
    UpdateActions();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    if (!window || event->type() != QEvent::Close)
        return QMainWindow::eventFilter(watched, event);
    auto* child = qobject_cast<CChildFrame*>(window->widget());
    if (!child)
        return false;
    int windows = 0;
    for (CChildFrame* other : Children())
        windows += &other->Session() == &child->Session();
    DocumentSession& session = child->Session();
    if (!session.Survey().IsIdle()) {
        // Closing during a survey stops it; the half-done map is not worth a question.
        session.Survey().Stop();
        session.Document().SetModifiedFlag(false);
    } else if (windows == 1 && !ConfirmClose(session)) {
        event->ignore();
        return true;
    }
    return false;
}

bool CMainFrame::ConfirmClose(DocumentSession& session)
{
    if (!session.Document().IsModified())
        return true;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Varnex"),
        QStringLiteral("%1 への変更を保存しますか?").arg(session.Title()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::Discard || SaveSession(session, false);
}

bool CMainFrame::SaveSession(DocumentSession& session, bool askName)
{
    QString path = session.Path();
    if (askName || path.isEmpty()) {
        path = QFileDialog::getSaveFileName(this, QString(), session.Title() + QStringLiteral(".vxnj"),
                                            kFilter);
        if (path.isEmpty())
            return false;
    }
    QString error;
    if (!session.Save(path, &error)) {
        QMessageBox::warning(this, QStringLiteral("Varnex"),
                             QStringLiteral("%1 に保存できません。\n%2").arg(path, error));
        return false;
    }
    AddRecent(path);
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    for (const auto& session : m_sessions) {
        if (!session->Survey().IsIdle()) {
            session->Survey().Stop();
            session->Document().SetModifiedFlag(false);
        } else if (!ConfirmClose(*session)) {
            event->ignore();
            return;
        }
    }
    SaveWindowRect();
    for (QMdiSubWindow* window : m_pMdi->subWindowList())
        window->removeEventFilter(this);
    event->accept();
}

void CMainFrame::UpdateTitles()
{
    for (QMdiSubWindow* window : m_pMdi->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window->widget());
        if (!child)
            continue;
        const QString mark = child->Session().Document().IsModified() ? QStringLiteral("*") : QString();
        window->setWindowTitle(child->Session().Title() + mark);
    }
    DocumentSession* session = ActiveSession();
    setWindowTitle((session ? session->Title() + QStringLiteral(" - Varnex") : QStringLiteral("Varnex"))
                   + NetworkNotice());
}

void CMainFrame::UpdateActions()
{
    CChildFrame* child = ActiveChild();
    CNetView* view = child ? &child->MapView() : nullptr;
    DocumentSession* session = child ? &child->Session() : nullptr;
    const bool idle = !session || session->Survey().IsIdle();
    const bool hasSelection = view && !view->selection().isEmpty();
    const auto enable = [this](int id, bool on) {
        if (QAction* action = m_actions.value(id))
            action->setEnabled(on);
    };
    for (const int id : {57602, 57603, 57604, 57607, 57609, 57856, 32772, 32779, 57648, 57650, 57651})
        enable(id, view != nullptr);
    enable(32819, session && idle);
    for (const int id : {32831, 32829, 32830, 32833})
        enable(id, false);
    enable(57634, hasSelection);
    enable(57635, hasSelection);
    enable(57637, view && view->CanPaste());
    enable(57643, session && idle && session->Document().CanUndo());
    enable(57644, session && idle && session->Document().CanRedo());
    enable(32794, session && idle);
    enable(32795, session && !idle);
    enable(32836, idle);
    if (m_pDemoNetworkAction)
        m_pDemoNetworkAction->setEnabled(!AnySurveyRuns());
    const bool rebuild = session && MapRebuild::CommandsEnabled(!idle, session->Document().m_objects);
    enable(32806, rebuild);
    enable(32821, rebuild);
    for (const DeviceTool& tool : kDeviceTools) {
        enable(tool.id, view && idle);
        m_actions.value(tool.id)->setChecked(CDrawTool::s_nActiveShape == tool.shape);
    }
    if (view)
        m_actions.value(32779)->setChecked(view->ShowsGrid());
    UpdateTitles();
}

void CMainFrame::OnSurveyingChanged(bool surveying)
{
    for (QMenu* menu : std::as_const(m_topMenus))
        menu->menuAction()->setEnabled(!surveying);
    UpdateActions();
}

void CMainFrame::AddRecent(const QString& path)
{
    m_astrRecent.removeAll(path);
    m_astrRecent.prepend(path);
    m_astrRecent = m_astrRecent.mid(0, kRecentFiles);
    SettingsStore().writeUncountedList(kRecentKey, m_astrRecent);
    RebuildRecentMenu();
}

void CMainFrame::RebuildRecentMenu()
{
    m_pRecentMenu->clear();
    for (qsizetype n = 0; n < m_astrRecent.size(); ++n) {
        const QString path = m_astrRecent.at(n);
        m_pRecentMenu->addAction(QStringLiteral("&%1 %2").arg(n + 1).arg(path), this,
                                 [this, path] { OpenFile(path); });
    }
    m_pRecentMenu->setEnabled(!m_astrRecent.isEmpty());
}

void CMainFrame::RestoreWindowRect()
{
    const SettingsStore store;
    quint32 left = 0;
    quint32 top = 0;
    quint32 right = 0;
    quint32 bottom = 0;
    const bool stored = store.readDword(kWindowKey, QStringLiteral("left"), left)
        && store.readDword(kWindowKey, QStringLiteral("top"), top)
        && store.readDword(kWindowKey, QStringLiteral("right"), right)
        && store.readDword(kWindowKey, QStringLiteral("bottom"), bottom);
    const QRect rect{QPoint(qint32(left), qint32(top)), QPoint(qint32(right), qint32(bottom))};
    if (stored && rect.width() > 200 && rect.height() > 150)
        setGeometry(rect);
    else
        resize(1200, 800);
}

void CMainFrame::SaveWindowRect()
{
    SettingsStore store;
    const QRect rect = geometry();
    store.writeDword(kWindowKey, QStringLiteral("top"), quint32(rect.top()));
    store.writeDword(kWindowKey, QStringLiteral("left"), quint32(rect.left()));
    store.writeDword(kWindowKey, QStringLiteral("bottom"), quint32(rect.bottom()));
    store.writeDword(kWindowKey, QStringLiteral("right"), quint32(rect.right()));
}

void CMainFrame::OnFileNew()
{
    NewDocument();
}

void CMainFrame::OnFileOpen()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kFilter);
    if (!path.isEmpty())
        OpenFile(path);
}

void CMainFrame::OnFileClose()
{
    if (QMdiSubWindow* window = m_pMdi->activeSubWindow())
        window->close();
}

void CMainFrame::OnFileSave()
{
    if (DocumentSession* session = ActiveSession())
        SaveSession(*session, false);
}

void CMainFrame::OnFileSaveAs()
{
    if (DocumentSession* session = ActiveSession())
        SaveSession(*session, true);
}

void CMainFrame::OnFileExportCsv()
{
    DocumentSession* session = ActiveSession();
    if (!session)
        return;
    const QString path = QFileDialog::getSaveFileName(
        this, QString(), HostInventory::DefaultCsvName(session->Title()),
        QStringLiteral("CSV(カンマ区切り)(*.csv)"));
    if (path.isEmpty())
        return;
    HostInventory inventory;
    inventory.Build(session->Document(), session->Survey().InventoryDevices());
    HostInventory::WriteCsv(inventory.Lines(), path);
}

void CMainFrame::OnFilePrint()
{
    DocumentSession* session = ActiveSession();
    if (!session)
        return;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        MapPrinter(session->Document()).Print(*m_printer);
}

void CMainFrame::OnFilePrintPreview()
{
    DocumentSession* session = ActiveSession();
    if (!session)
        return;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintPreviewDialog preview(m_printer.get(), this);
    preview.setWindowTitle(QStringLiteral("印刷プレビュー"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [session](QPrinter* printer) {
        MapPrinter(session->Document()).Print(*printer);
    });
    preview.exec();
}

void CMainFrame::OnFilePrintSetup()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPageSetupDialog(m_printer.get(), this).exec();
}

bool CMainFrame::PrintFile(const QString& path, const QString& printerName, QString* error)
{
    CNetDoc document;
    if (!document.OnOpenDocument(path, error))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    if (printerName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerName);
    } else if (!printerName.isEmpty()) {
        printer.setPrinterName(printerName);
    }
    if (!printer.isValid() || !MapPrinter(document).Print(printer)) {
        if (error)
            *error = QStringLiteral("印刷できません: %1").arg(printerName);
        return false;
    }
    return true;
}

void CMainFrame::OnEditUndo()
{
    if (DocumentSession* session = ActiveSession())
        session->Document().Undo();
    UpdateActions();
}

void CMainFrame::OnEditRedo()
{
    if (DocumentSession* session = ActiveSession())
        session->Document().Redo();
    UpdateActions();
}

void CMainFrame::OnEditCut()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().OnEditCut();
}

void CMainFrame::OnEditCopy()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().OnEditCopy();
}

void CMainFrame::OnEditPaste()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().OnEditPaste();
}

void CMainFrame::OnEditInsertObject()
{
    CChildFrame* child = ActiveChild();
    if (!child)
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("オブジェクトの挿入"));
    if (path.isEmpty())
        return;
    QString error;
    if (!child->MapView().InsertFile(path, QPoint(10, 10), &error))
        QMessageBox::warning(this, QStringLiteral("Varnex"), error);
}

void CMainFrame::OnViewStatusBar()
{
    statusBar()->setVisible(m_actions.value(59393)->isChecked());
}

void CMainFrame::OnBackColor()
{
    CChildFrame* child = ActiveChild();
    if (!child)
        return;
    const COLORREF current = child->Session().Document().m_crBackground;
    const QColor initial(int(current & 0xFF), int((current >> 8) & 0xFF), int((current >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(initial, this);
    if (!chosen.isValid())
        return;
    child->MapView().SetBackgroundColor(COLORREF(chosen.red()) | (COLORREF(chosen.green()) << 8)
                                        | (COLORREF(chosen.blue()) << 16));
}

void CMainFrame::OnGrid()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().SetShowGrid(!child->MapView().ShowsGrid());
    UpdateActions();
}

void CMainFrame::OnSurveyStart()
{
    if (DocumentSession* session = ActiveSession()) {
        session->FrontEnd().SetNetworkNotice(NetworkNotice().trimmed());
        session->Survey().PickUp();
    }
    UpdateActions();
}

void CMainFrame::SetNetworkSelection(NetworkSelection* selection)
{
    m_pNetworkSelection = selection;
    if (!m_pDemoNetworkAction) {
        QMenu* tools = m_topMenus.value(3);
        m_pDemoNetworkAction = tools->addAction(QStringLiteral("デモネットワークを調査する(&D)"));
        m_pDemoNetworkAction->setCheckable(true);
        m_pDemoNetworkAction->setStatusTip(
            QStringLiteral("実際のネットワークの代わりに内蔵のデモネットワーク（シミュレーション）を調査します。"));
        connect(m_pDemoNetworkAction, &QAction::triggered, this, &CMainFrame::OnDemoNetwork);
    }
    m_pDemoNetworkAction->setChecked(!selection->SimulatedName().isEmpty());
    UpdateActions();
}

void CMainFrame::OnDemoNetwork(bool demo)
{
    if (!m_pNetworkSelection || AnySurveyRuns())
        return;
    NetworkChoice::Opened opened =
        NetworkChoice::Open(QLatin1String(demo ? NetworkChoice::kDemo : NetworkChoice::kLive));
    if (!opened.network) {
        QMessageBox::warning(this, QStringLiteral("Varnex"), opened.error);
        m_pDemoNetworkAction->setChecked(!demo);
        return;
    }
    m_pNetworkSelection->Select(std::move(opened));
    UpdateActions();
}

bool CMainFrame::AnySurveyRuns() const
{
    for (const std::unique_ptr<DocumentSession>& session : m_sessions)
        if (!session->Survey().IsIdle())
            return true;
    return false;
}

QString CMainFrame::NetworkNotice() const
{
    if (!m_pNetworkSelection || m_pNetworkSelection->SimulatedName().isEmpty())
        return {};
    return QStringLiteral(" [シミュレーション: %1]").arg(m_pNetworkSelection->SimulatedName());
}

void CMainFrame::OnSurveyStop()
{
    if (DocumentSession* session = ActiveSession())
        session->Survey().Stop();
    UpdateActions();
}

void CMainFrame::OnRelayout()
{
    if (DocumentSession* session = ActiveSession()) {
        MapRebuild::Relayout(session->Document());
        session->Document().UpdateAllViews(0, nullptr);
    }
}

void CMainFrame::OnRewire()
{
    if (DocumentSession* session = ActiveSession()) {
        MapRebuild::Rewire(session->Document());
        session->Document().UpdateAllViews(0, nullptr);
    }
}

void CMainFrame::OnSurveySettings()
{
    if (DocumentSession* session = ActiveSession())
        CRectDlg(session->Document(), m_settings, this).exec();
}

void CMainFrame::OnWindowNew()
{
    if (DocumentSession* session = ActiveSession())
        AddWindow(*session);
}

void CMainFrame::OnAbout()
{
    CAboutDlg(this).exec();
}

void CMainFrame::OnHelp()
{
    HelpPages::Open(QString::fromLatin1(HelpPages::kIndex), this);
}

void CMainFrame::OnLook(int id)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_nLook = id;
    ApplicationLook::Apply(id);
    ApplicationLook::Store(id);
    update();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::OnTool(int shape)
{
    CDrawTool::s_nActiveShape = shape;
    UpdateActions();
}

void CMainFrame::OpenPropertySheet(CDrawObj* object)
{
    if (!object)
        return;
    if (object->IsKindOf(CDrawOleObj::StaticClass())) {
        if (const CDrawItem* item = static_cast<CDrawOleObj*>(object)->m_pClientItem)
            EmbeddedFile::Open(*item);
        return;
    }
    CObjectSheet(*object, this).exec();
}
