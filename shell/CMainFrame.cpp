#include "CMainFrame.h"

#include "NetworkMenu.h"

#include "listview/CBottView.h"
#include "listview/DeviceListModel.h"
#include "listview/DeviceListRows.h"
#include "mapbuild/HostInventory.h"
#include "mapbuild/MapComparison.h"
#include "mapbuild/MapRebuild.h"
#include "mapview/CDrawTool.h"
#include "mapview/CNetView.h"
#include "mapview/EmbeddedFile.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawOleObj.h"
#include "objects/DevicePictures.h"
#include "objects/CDrawSys.h"
#include "propsheet/CObjSheet.h"
#include "shell/ApplicationLook.h"
#include "shell/CAboutDlg.h"
#include "shell/ChangeComparison.h"
#include "shell/CChildFrame.h"
#include "shell/CRectDlg.h"
#include "mapview/DeviceFinder.h"
#include "shell/FindBar.h"
#include "shell/MapExport.h"
#include "shell/DeviceTools.h"
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
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

namespace {

const QString kRecentKey = QStringLiteral("Recent File List");
const QString kWindowKey = QStringLiteral("SOFTWARE\\Tavrin\\Varnex\\Fl_pos");
const QString kFilter = QStringLiteral("Varnex Files (*.vxnj)");

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
    ShowReady();
    // A menu's prompt clears the status bar when it closes: back to ready.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            ShowReady();
    });
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
    // The page source may point at this frame's printer.
    if (m_pageSourceBefore)
        CNetDoc::setPrinterPageSource(*m_pageSourceBefore);
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
    connect(&view, &CNetView::toolChanged, this, &CMainFrame::UpdateActions);
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
    return AddSession(++m_nUntitled);
}

CChildFrame* CMainFrame::AddSession(int untitledNumber)
{
    m_sessions.push_back(std::make_unique<DocumentSession>(m_probes, m_settings, this, untitledNumber));
    DocumentSession& session = *m_sessions.back();
    connect(&session, &DocumentSession::titleChanged, this, &CMainFrame::UpdateTitles);
    connect(&session.FrontEnd(), &GuiSurveyFrontEnd::surveyingChanged, this,
            &CMainFrame::OnSurveyingChanged);
    connect(&session, &DocumentSession::changesSinceSurvey, this,
            [this, &session](const std::shared_ptr<const MapComparison>& comparison) {
                ShowSurveyChanges(session, *comparison);
            });
    connect(&session.Document(), &CNetDoc::modifiedChanged, this, &CMainFrame::UpdateActions);
    return AddWindow(session);
}

CChildFrame* CMainFrame::UntouchedBlank() const
{
    CChildFrame* child = ActiveChild();
    if (!child)
        return nullptr;
    DocumentSession& session = child->Session();
    int windows = 0;
    for (const CChildFrame* other : Children())
        windows += &other->Session() == &session;
    const bool untouched = session.Path().isEmpty() && !session.Document().IsModified()
        && session.Document().m_objects.isEmpty() && session.Survey().IsIdle() && windows == 1;
    return untouched ? child : nullptr;
}

bool CMainFrame::OpenFile(const QString& path)
{
    // An opened map takes the place of the empty one the program started with.
    CChildFrame* blank = UntouchedBlank();
    // A file's window has a name: it takes no untitled number.
    CChildFrame* child = AddSession(0);
    QString error;
    if (!child->Session().Open(path, &error)) {
        QMessageBox::warning(this, QStringLiteral("Varnex"),
                             QStringLiteral("%1 を開けません。\n%2").arg(path, error));
        m_pMdi->removeSubWindow(child->parentWidget());
        delete child->parentWidget();
        return false;
    }
    // The inventory tables are not kept in the file: the list builds them,
    // after the map's first paint (a large map's list takes as long as
    // reading the file).
    child->ListView().BuildRowsSoon();
    AddRecent(path);
    if (blank) {
        // Deleted now: its session goes with the frame, possibly before a
        // deferred deletion would run.
        QWidget* window = blank->parentWidget();
        m_pMdi->removeSubWindow(window);
        delete window;
    }
    // The commands that depend on the map (re-layout, re-wiring) follow it.
    UpdateActions();
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
    return AskToSave(session, QStringLiteral("%1 への変更を保存しますか?").arg(session.Title()));
}

bool CMainFrame::ConfirmReplace(DocumentSession& session)
{
    return AskToSave(session, QStringLiteral("システム解析を始めると %1 の内容は調査結果に置き換えられます。\n"
                                             "変更を保存しますか?")
                                  .arg(session.Title()));
}

bool CMainFrame::AskToSave(DocumentSession& session, const QString& question)
{
    if (!session.Document().IsModified())
        return true;
    const auto answer = QMessageBox::question(this, QStringLiteral("Varnex"), question,
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
    const QString mark = session && session->Document().IsModified() ? QStringLiteral("*") : QString();
    setWindowTitle((session ? session->Title() + mark + QStringLiteral(" - Varnex") : QStringLiteral("Varnex"))
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
    for (const int id : {57602, 57603, 57604, 57607, 57609, 57856, 32772, 32779, 57648, 57650, 57651, kZoomIn, kZoomOut,
                         kZoomReset, kZoomFit, kFind})
        enable(id, view != nullptr);
    enable(32819, session && idle);
    enable(kCompare, session && idle);
    enable(kClearComparison, child && ChangeComparison::IsShown(*child));
    m_actions.value(kCompareAfterSurvey)->setChecked(ChangeComparison::AfterSurvey());
    enable(57634, hasSelection);
    enable(57635, hasSelection);
    enable(57637, view && view->CanPaste());
    enable(57643, session && idle && session->Document().CanUndo());
    enable(57644, session && idle && session->Document().CanRedo());
    enable(32794, session && idle);
    enable(32795, session && !idle);
    enable(32836, idle);
    if (m_pNetworkMenu)
        m_pNetworkMenu->Update();
    for (const int id : {32831, 32829, 32830, 32833})
        enable(id, child != nullptr);
    m_actions.value(32829)->setChecked(child && child->ListView().IsOneLine());
    m_actions.value(32830)->setChecked(child && !child->ListView().IsOneLine());
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

void CMainFrame::ShowReady()
{
    statusBar()->showMessage(QStringLiteral("レディ"));
}

void CMainFrame::OnSurveyingChanged(bool surveying)
{
    if (!surveying)
        ShowReady();
    for (QMenu* menu : std::as_const(m_topMenus))
        menu->menuAction()->setEnabled(!surveying);
    UpdateActions();
}

void CMainFrame::AddRecent(const QString& given)
{
    // Kept absolute: the list is used from wherever the program starts next.
    const QString path = QFileInfo(given).absoluteFilePath();
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

void CMainFrame::OnFileExportPicture()
{
    if (DocumentSession* session = ActiveSession())
        MapExport::ExportToFile(session->Document(), session->Title(), this);
}

void CMainFrame::OnEditCopyPicture()
{
    if (DocumentSession* session = ActiveSession())
        MapExport::CopyToClipboard(session->Document());
}

void CMainFrame::OnFind()
{
    if (!m_pFindBar) {
        m_pFindBar = new FindBar(this);
        addToolBar(Qt::BottomToolBarArea, m_pFindBar);
        connect(m_pFindBar, &FindBar::searchRequested, this, [this](const QString& text) {
            DocumentSession* session = ActiveSession();
            m_pFindBar->SetMatches(session ? DeviceFinder::Matches(session->Document(), text) : QList<CDrawSys*>());
        });
        connect(m_pFindBar, &FindBar::found, this, [this](CDrawSys* device) {
            if (CChildFrame* child = ActiveChild(); child && device)
                child->MapView().ShowObject(device);
        });
    }
    m_pFindBar->Start();
}

void CMainFrame::OnCompare()
{
    if (CChildFrame* child = ActiveChild())
        ChangeComparison::CompareWithFile(*child, this);
    UpdateActions();
}

void CMainFrame::OnClearComparison()
{
    if (CChildFrame* child = ActiveChild())
        ChangeComparison::Clear(*child);
    UpdateActions();
}

void CMainFrame::OnCompareAfterSurvey()
{
    ChangeComparison::SetAfterSurvey(m_actions.value(kCompareAfterSurvey)->isChecked());
}

void CMainFrame::ShowSurveyChanges(DocumentSession& session, const MapComparison& comparison)
{
    QString counts = QStringLiteral("解析前のマップからの変化はありません。");
    for (CChildFrame* child : Children()) {
        if (&child->Session() != &session)
            continue;
        if (comparison.IsEmpty())
            ChangeComparison::Clear(*child);
        else
            counts = ChangeComparison::Show(*child, comparison);
    }
    statusBar()->showMessage(counts);
    UpdateActions();
}

void CMainFrame::OnZoomIn()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().ZoomIn();
}

void CMainFrame::OnZoomOut()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().ZoomOut();
}

void CMainFrame::OnZoomReset()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().ZoomReset();
}

void CMainFrame::OnZoomFit()
{
    if (CChildFrame* child = ActiveChild())
        child->MapView().ZoomToFit();
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
        // A survey replaces the map: unsaved changes are not lost unasked.
        if (!ConfirmReplace(*session))
            return;
        session->FrontEnd().SetNetworkNotice(NetworkNotice().trimmed());
        // Marks of an earlier comparison do not belong on the new map.
        for (CChildFrame* child : Children())
            if (&child->Session() == session)
                ChangeComparison::Clear(*child);
        if (ChangeComparison::AfterSurvey())
            session->KeepMapBeforeSurvey();
        session->Survey().PickUp();
    }
    UpdateActions();
}

void CMainFrame::SetNetworkSelection(NetworkSelection* selection)
{
    if (!m_pNetworkMenu)
        m_pNetworkMenu = new NetworkMenu(m_topMenus.value(3), [this] { return AnySurveyRuns(); }, this);
    m_pNetworkMenu->SetSelection(selection);
    connect(m_pNetworkMenu, &NetworkMenu::changed, this, &CMainFrame::UpdateActions, Qt::UniqueConnection);
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
    return m_pNetworkMenu ? m_pNetworkMenu->Notice() : QString();
}

void CMainFrame::OnOneLine(bool oneLine)
{
    if (CChildFrame* child = ActiveChild())
        child->ListView().SetOneLine(oneLine);
    UpdateActions();
}

void CMainFrame::OnColumnSelect()
{
    if (CChildFrame* child = ActiveChild())
        child->ListView().SelectColumns();
}

void CMainFrame::OnDeleteEmptyColumns()
{
    if (CChildFrame* child = ActiveChild())
        child->ListView().DeleteEmptyColumns();
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
    if (object->IsKindOf(CDrawSys::StaticClass()))
        CObjSheet::EditProperties(*static_cast<CDrawSys*>(object), this);
}
