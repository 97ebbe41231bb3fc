// The main frame's menus, toolbar, prompts and shortcuts: how the
// commands are laid out, apart from what they do.
#include "CMainFrame.h"

#include "objects/DevicePictures.h"
#include "shell/ApplicationLook.h"
#include "shell/DeviceTools.h"

#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

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
    // The stock File and Edit commands, in the words of Windows programs.
    {57600, "新規にファイルを作成\n新規作成"},
    {57601, "既存のファイルを開く\n開く"},
    {57602, "作業中のファイルを閉じる\n閉じる"},
    {57603, "作業中のファイルを上書きして保存\n上書き保存"},
    {57604, "作業中のファイルを新しい名前で保存\n名前を付けて保存"},
    {57606, "プリンタおよび印刷オプションを変更\n印刷設定"},
    {57607, "作業中のファイルを印刷\n印刷"},
    {57609, "印刷イメージを表示\n印刷プレビュー"},
    {57665, "アプリケーションを終了し、ファイルの保存を指示\n終了"},
    {57643, "直前に行った動作を元に戻す\n元に戻す"},
    {57644, "直前に行った動作を繰り返す\nやり直し"},
    {57635, "選択範囲を切り取ってクリップボードに移動\n切り取り"},
    {57634, "選択範囲をコピーしてクリップボードに保存\nコピー"},
    {57637, "クリップボードの内容を貼り付け\n貼り付け"},
    {CMainFrame::kExportPicture, "マップ全体を PNG、SVG または PDF として保存します。\n図としてエクスポート"},
    {CMainFrame::kCopyPicture, "マップ全体を図としてクリップボードにコピーします。\n図としてコピー"},
    {CMainFrame::kTabbedView, "ウィンドウをタブで切り替えて表示します。\nタブで表示"},
    {CMainFrame::kFind, "ホスト名、IPアドレスまたはMACアドレスで機器を探します。\n機器の検索"},
    {CMainFrame::kCompare, "別のマップと比べ、新規・変更・なくなった機器をマップに示します。\n比較"},
    {CMainFrame::kClearComparison, "比較の表示をマップと一覧から消します。\n比較の表示を消去"},
    {CMainFrame::kCompareAfterSurvey, "システム解析の後、解析前のマップとの違いを示します。\n解析後に比較"},
    {CMainFrame::kZoomIn, "マップを拡大して表示します。\n拡大"},
    {CMainFrame::kZoomOut, "マップを縮小して表示します。\n縮小"},
    {CMainFrame::kZoomReset, "マップを等倍で表示します。\n等倍"},
    {CMainFrame::kZoomFit, "マップ全体がウィンドウに収まるように表示します。\n全体を表示"},
};

} // namespace

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
    AddAction(menu, kExportPicture, QStringLiteral("図としてエクスポート(&E)..."), &CMainFrame::OnFileExportPicture);
    menu->addSeparator();
    AddAction(menu, kCompare, QStringLiteral("比較…"), &CMainFrame::OnCompare);
    AddAction(menu, kClearComparison, QStringLiteral("比較の表示を消去"), &CMainFrame::OnClearComparison);
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
    AddAction(menu, kCopyPicture, QStringLiteral("マップを図としてコピー"), &CMainFrame::OnEditCopyPicture);
    menu->addSeparator();
    AddAction(menu, kFind, QStringLiteral("機器の検索(&F)..."), &CMainFrame::OnFind)->setShortcut(QKeySequence::Find);
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
    menu->addSeparator();
    AddAction(menu, kZoomIn, QStringLiteral("拡大(&I)"), &CMainFrame::OnZoomIn)
        ->setShortcuts({QKeySequence::ZoomIn, QKeySequence(QStringLiteral("Ctrl+="))});
    AddAction(menu, kZoomOut, QStringLiteral("縮小(&O)"), &CMainFrame::OnZoomOut)->setShortcut(QKeySequence::ZoomOut);
    AddAction(menu, kZoomReset, QStringLiteral("等倍で表示(&1)"), &CMainFrame::OnZoomReset)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    AddAction(menu, kZoomFit, QStringLiteral("マップ全体を表示(&W)"), &CMainFrame::OnZoomFit);
    menu->addSeparator();
    QAction* grid = AddAction(menu, 32779, QStringLiteral("グリッド描画(&G)"), &CMainFrame::OnGrid);
    grid->setCheckable(true);
    grid->setChecked(true);
    menu->addSeparator();
    AddAction(menu, 32831, QStringLiteral("カラム表示/非表示"), &CMainFrame::OnColumnSelect);
    QAction* oneLine = AddAction(menu, 32829, QStringLiteral("１行表示"), nullptr);
    QAction* multiLine = AddAction(menu, 32830, QStringLiteral("複数行表示"), nullptr);
    oneLine->setCheckable(true);
    multiLine->setCheckable(true);
    connect(oneLine, &QAction::triggered, this, [this] { OnOneLine(true); });
    connect(multiLine, &QAction::triggered, this, [this] { OnOneLine(false); });
    AddAction(menu, 32833, QStringLiteral("空の列削除"), &CMainFrame::OnDeleteEmptyColumns);
}

void CMainFrame::CreateToolsMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    m_topMenus.append(menu);
    AddAction(menu, 32794, QStringLiteral("システム解析"), &CMainFrame::OnSurveyStart);
    AddAction(menu, 32795, QStringLiteral("システム解析中止"), &CMainFrame::OnSurveyStop);
    AddAction(menu, 32806, QStringLiteral("再配置"), &CMainFrame::OnRelayout);
    AddAction(menu, 32821, QStringLiteral("再結線"), &CMainFrame::OnRewire);
    AddAction(menu, kCompareAfterSurvey, QStringLiteral("解析後に前のマップと比較"), &CMainFrame::OnCompareAfterSurvey)
        ->setCheckable(true);
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
    AddAction(window, kTabbedView, QStringLiteral("タブで表示(&B)"), nullptr);
    AddAction(window, 57648, QStringLiteral("新しいウィンドウを開く(&N)"), &CMainFrame::OnWindowNew);
    connect(m_actions.value(kTabbedView), &QAction::triggered, m_pMdi,
            [this] { m_pMdi->setViewMode(QMdiArea::TabbedView); });
    // The open windows, to bring one to the front in any view mode.
    m_pWindowList = new QActionGroup(this);
    connect(window, &QMenu::aboutToShow, this, [this, window] { ListWindows(window); });
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

void CMainFrame::ListWindows(QMenu* menu)
{
    for (QAction* action : m_pWindowList->actions())
        delete action;
    const QList<QMdiSubWindow*> windows = m_pMdi->subWindowList();
    if (!windows.isEmpty() && !m_pWindowSeparator)
        m_pWindowSeparator = menu->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(++number).arg(window->windowTitle()), m_pWindowList);
        action->setCheckable(true);
        action->setChecked(window == m_pMdi->activeSubWindow());
        connect(action, &QAction::triggered, m_pMdi, [this, window] { m_pMdi->setActiveSubWindow(window); });
        menu->addAction(action);
    }
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
