#include "MainFrameFixture.h"
#include "app/SampleMap.h"
#include "document/CNetDoc.h"
#include "listview/CBottView.h"
#include "mapview/CNetView.h"
#include "mapview/DeviceFinder.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawRect.h"
#include "objects/CDrawSys.h"
#include "propsheet/CObjSheet.h"
#include "shell/ApplicationLook.h"
#include "shell/CAboutDlg.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/CRectDlg.h"
#include "shell/CSerachDlg.h"
#include "shell/DocumentSession.h"
#include "shell/FindBar.h"
#include "shell/MapExport.h"
#include "shell/MapPreviewDialog.h"
#include "shell/NetworkSelection.h"
#include "shell/QtTranslations.h"
#include "shell/SettingsStore.h"
#include "support/SimulatedLan.h"
#include "support/TestFiles.h"
#include "survey/SurveySettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

TEST_F(MainFrameTest, MenusToolbarAndPromptsAreThoseOfTheProgram)
{
    QStringList titles;
    for (QAction* menu : frame->menuBar()->actions())
        titles.append(menu->text());
    EXPECT_EQ(titles, QStringList({"ファイル(&F)", "編集(&E)", "表示(&V)", "ツール(&T)",
                                   "ウィンドウ(&W)", "ヘルプ(&H)"}));
    const auto* bar = frame->findChild<QToolBar*>(QStringLiteral("standard"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "標準");
    QList<int> ids;
    for (QAction* action : bar->actions()) {
        int id = 0;
        for (const int candidate : {57600, 57601, 57603, 57635, 57634, 57637, 57607, 57609, 32794,
                                    32795, 32806, 32821, 32836, 32822, 32789, 32790, 32823, 32824,
                                    32793, 32791, 32792, 32831, 32829, 32830, 32833, 57664})
            if (frame->Action(candidate) == action)
                id = candidate;
        ids.append(id);
    }
    EXPECT_EQ(ids, (QList<int>{57600, 57601, 57603, 0,     57635, 57634, 57637, 0,     57607,
                               57609, 0,     32794, 32795, 32806, 32821, 32836, 0,     32822,
                               32789, 32790, 32823, 32824, 32793, 32791, 32792, 0,     32831,
                               32829, 32830, 32833, 0,     57664}));
    EXPECT_EQ(frame->Action(32794)->statusTip(), "システムの解析");
    EXPECT_EQ(frame->Action(32794)->toolTip(), "システム解析");
    EXPECT_EQ(frame->Action(32779)->statusTip(), "グリッドラインを描画します。");
    for (const int stock : {57600, 57601, 57602, 57603, 57604, 57606, 57607, 57609, 57643, 57644, 57635, 57634, 57637})
        EXPECT_FALSE(frame->Action(stock)->statusTip().isEmpty()) << stock;
    EXPECT_EQ(frame->Action(57603)->toolTip(), "上書き保存");
    EXPECT_EQ(frame->Action(57635)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+X"), QKeySequence("Del")}));
    EXPECT_EQ(frame->Action(57643)->shortcuts().first(), QKeySequence("Ctrl+Z"));
}

TEST_F(MainFrameTest, NewWindowShowsTheSameMapWithItsOwnSelection)
{
    CChildFrame* first = frame->NewDocument();
    SampleMap::build(first->Session().Document());
    frame->Action(57648)->trigger();
    const QList<CChildFrame*> children = frame->Children();
    ASSERT_EQ(children.size(), 2);
    EXPECT_EQ(&children.at(0)->Session(), &children.at(1)->Session());
    children.at(0)->MapView().SelectAll();
    EXPECT_FALSE(children.at(0)->MapView().selection().isEmpty());
    EXPECT_TRUE(children.at(1)->MapView().selection().isEmpty());

    // Deleting in one window takes the objects out of the other's selection.
    children.at(1)->MapView().SelectAll();
    children.at(0)->MapView().OnEditClear();
    EXPECT_TRUE(children.at(1)->MapView().selection().isEmpty());
}

TEST_F(MainFrameTest, ClosingAWindowDuringASurveyStopsItWithoutAsking)
{
    CChildFrame* child = frame->NewDocument();
    DocumentSession& session = child->Session();
    session.Survey().PickUp();
    Wait(50);
    ASSERT_FALSE(session.Survey().IsIdle());
    EXPECT_FALSE(frame->menuBar()->actions().first()->isEnabled()) << "menus are greyed";
    session.Document().SetModifiedFlag(true);
    child->parentWidget()->close();
    Wait(0);
    EXPECT_TRUE(frame->Children().isEmpty());
}

TEST_F(MainFrameTest, ListPaneKeepsItsHeight)
{
    CChildFrame* child = frame->NewDocument();
    child->resize(800, 600);
    Wait(0);
    EXPECT_EQ(child->ListView().height(), CChildFrame::kInitialListHeight);
    auto* splitter = child->findChild<QSplitter*>();
    ASSERT_NE(splitter, nullptr);
    const int total = splitter->sizes().at(0) + splitter->sizes().at(1);
    splitter->setSizes({total - 60, 60});
    emit splitter->splitterMoved(total - 60, 1);
    child->resize(800, 900);
    Wait(0);
    EXPECT_EQ(child->ListView().height(), 60);
}

TEST_F(MainFrameTest, LookAndRecentFilesAreRemembered)
{
    frame->Action(216)->trigger();
    EXPECT_TRUE(frame->Action(216)->isChecked());
    EXPECT_EQ(ApplicationLook::Stored(), 216);
    frame->Action(210)->trigger();

    QStringList paths;
    for (int n = 0; n < 5; ++n) {
        paths.prepend(TestFiles::scratchPath(QStringLiteral("recent%1.vxnj").arg(n)));
        CNetDoc document;
        document.OnNewDocument();
        ASSERT_TRUE(document.OnSaveDocument(paths.first()));
        ASSERT_TRUE(frame->OpenFile(paths.first()));
    }
    EXPECT_EQ(frame->RecentFiles(), paths.mid(0, CMainFrame::kRecentFiles));
    SurveySettings again;
    CMainFrame second(*network, again);
    EXPECT_EQ(second.RecentFiles(), paths.mid(0, CMainFrame::kRecentFiles));
}

// Answers the next message box with the button and tells its text.
void AnswerNextMessage(QMessageBox::StandardButton answer, QString& shown)
{
    QTimer::singleShot(0, [answer, &shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->button(answer)->click();
        }
    });
}

TEST(QtTranslations, StockDialogsSpeakJapanese)
{
    // Removed again when the test ends, so the other tests see Qt as it is.
    const std::unique_ptr<QTranslator> translator(QtTranslations::InstallJapanese(*QCoreApplication::instance()));
    if (!translator)
        GTEST_SKIP() << "Qt's Japanese translations (qt6-translations-l10n) are not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Save)->text(), QStringLiteral("保存"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

TEST_F(MainFrameTest, CommandStatesFollowTheMapAtOnce)
{
    // A surveyed map opened from its file enables re-layout and re-wiring
    // without a click in the map.
    CChildFrame* surveyed = frame->NewDocument();
    QEventLoop loop;
    QObject::connect(&surveyed->Session().Survey(), &NetworkSurvey::ended, &loop, &QEventLoop::quit);
    frame->Action(32794)->trigger();
    loop.exec();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("surveyed.vxnj"));
    ASSERT_TRUE(surveyed->Session().Save(path, nullptr));
    ASSERT_TRUE(frame->OpenFile(path));
    EXPECT_TRUE(frame->Action(32806)->isEnabled());
    EXPECT_TRUE(frame->Action(32821)->isEnabled());

    // The status bar comes back to ready after a prompt, and after a survey.
    frame->statusBar()->showMessage(QStringLiteral("システムの解析"));
    frame->statusBar()->clearMessage();
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("レディ"));

    // The main title marks a modified map.
    CChildFrame* child = frame->ActiveChild();
    child->Session().Document().SetModifiedFlag(true);
    frame->UpdateActions();
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("* - Varnex"))) << frame->windowTitle().toStdString();

    // A device tool gives its button back once the device is placed.
    QAction* tower = frame->Action(32789);
    tower->trigger();
    EXPECT_TRUE(tower->isChecked());
    QWidget* viewport = child->MapView().viewport();
    QTimer::singleShot(0, [] {
        if (auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            sheet->reject();
    });
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(viewport, QPoint(200, 220));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(200, 220));
    EXPECT_FALSE(tower->isChecked());
}

TEST_F(MainFrameTest, AnOpenedMapReplacesTheUntouchedBlankAndWindowsComeBackAsTabs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sample.vxnj"));
    {
        CNetDoc sample;
        sample.m_bSnapshotsWanted = false;
        sample.OnNewDocument();
        SampleMap::build(sample);
        ASSERT_TRUE(sample.OnSaveDocument(path));
    }
    frame->NewDocument(); // Varnex1, as at start-up
    ASSERT_TRUE(frame->OpenFile(path));
    QApplication::processEvents();
    ASSERT_EQ(frame->Children().size(), 1) << "the untouched Varnex1 gave way";
    EXPECT_EQ(frame->ActiveChild()->Session().Title(), QStringLiteral("sample.vxnj"));
    EXPECT_EQ(frame->NewDocument()->Session().Title(), QStringLiteral("Varnex2")) << "no number skipped";

    frame->Action(57651)->trigger(); // tile
    auto* area = frame->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->viewMode(), QMdiArea::SubWindowView);
    frame->Action(CMainFrame::kTabbedView)->trigger();
    EXPECT_EQ(area->viewMode(), QMdiArea::TabbedView);
    QMenu* windowMenu = frame->Action(57648)->associatedObjects().isEmpty()
        ? nullptr
        : qobject_cast<QMenu*>(frame->Action(57648)->associatedObjects().first());
    ASSERT_NE(windowMenu, nullptr);
    emit windowMenu->aboutToShow();
    QStringList listed;
    for (QAction* action : windowMenu->actions())
        if (action->isCheckable())
            listed.append(action->text());
    EXPECT_EQ(listed, (QStringList{"&1 sample.vxnj", "&2 Varnex2"}));
}

TEST_F(MainFrameTest, AnOpenedMapIsPaintedBeforeItsListIsBuilt)
{
    CChildFrame* surveyed = frame->NewDocument();
    SurveyToTheEnd(*frame, *surveyed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list-after-paint.vxnj"));
    ASSERT_TRUE(surveyed->Session().Save(path, nullptr));
    const int hosts = surveyed->ListView().Model().rowCount();
    ASSERT_GT(hosts, 0);
    ASSERT_TRUE(frame->OpenFile(path));
    CChildFrame* opened = frame->ActiveChild();
    ASSERT_NE(opened, surveyed);
    // A large map's list takes as long as reading its file: the map comes
    // first, the rows with the next turn of the event loop.
    EXPECT_EQ(opened->ListView().Model().rowCount(), 0);
    QApplication::processEvents();
    EXPECT_EQ(opened->ListView().Model().rowCount(), hosts);
}

TEST_F(MainFrameTest, FindSelectsADeviceByNameAddressOrMac)
{
    CChildFrame* child = frame->NewDocument();
    CNetDoc& document = child->Session().Document();
    SampleMap::build(document);
    CDrawSys* device = nullptr;
    for (CDrawObj* object : document.m_objects)
        if (typeid(*object) == typeid(CDrawSys) && !static_cast<CDrawSys*>(object)->m_nics.isEmpty()
            && static_cast<CDrawSys*>(object)->m_strFqdn.contains(QLatin1Char('.')))
            device = static_cast<CDrawSys*>(object);
    ASSERT_NE(device, nullptr);
    const auto* nic = static_cast<const CDrawNic*>(device->m_nics.first());
    const QString mac = nic->m_strMac.toUpper().replace(QLatin1Char('-'), QLatin1Char(':'));
    for (const QString& text : {device->m_strFqdn.section(QLatin1Char('.'), 0, 0).toUpper(),
                                CDrawNic::DottedAddress(nic->m_adwAddresses.first()), mac}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(DeviceFinder::Matches(document, text).contains(device));
    }
    EXPECT_TRUE(DeviceFinder::Matches(document, QStringLiteral("no-such-host")).isEmpty());

    frame->Action(CMainFrame::kFind)->trigger();
    auto* bar = frame->findChild<FindBar*>();
    ASSERT_NE(bar, nullptr);
    bar->Field()->setText(device->m_strFqdn);
    EXPECT_EQ(child->MapView().selection(), QList<CDrawObj*>{device});
    EXPECT_TRUE(bar->Status().startsWith(QStringLiteral("1 / "))) << bar->Status().toStdString();
    bar->Field()->setText(QStringLiteral("no-such-host"));
    EXPECT_EQ(bar->Status(), QStringLiteral("見つかりません"));
}

TEST_F(MainFrameTest, PrintPreviewDrawsOnlyThePageShown)
{
    CNetDoc document;
    document.OnNewDocument();
    SampleMap::build(document);
    // Spread far: many pages.
    auto* far = new CDrawRect(Rect{40000, 60000, 40400, 60400});
    document.AddObject(far);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    MapPreviewDialog preview(document, printer);
    ASSERT_GT(preview.PageCount(), 20);
    EXPECT_EQ(preview.CurrentPage(), 1);
    const QImage first = preview.PageImage();
    EXPECT_FALSE(first.isNull());
    preview.ShowPage(preview.PageCount());
    EXPECT_EQ(preview.CurrentPage(), preview.PageCount());
    EXPECT_NE(preview.PageImage(), first) << "the last page shows the far rectangle, not the first page";
    EXPECT_EQ(preview.PageImage().size(), first.size()) << "one page at a time, each the sheet's size";
}

TEST_F(MainFrameTest, ASurveyAsksBeforeItReplacesAnUnsavedMap)
{
    CChildFrame* child = frame->NewDocument();
    DocumentSession& session = child->Session();
    SampleMap::build(session.Document());
    session.Document().SetModifiedFlag(true);
    const qsizetype objects = session.Document().m_objects.size();
    QString shown;
    AnswerNextMessage(QMessageBox::Cancel, shown);
    frame->Action(32794)->trigger();
    EXPECT_TRUE(shown.contains(QStringLiteral("変更を保存しますか?"))) << shown.toStdString();
    EXPECT_TRUE(session.Survey().IsIdle()) << "Cancel starts nothing";
    EXPECT_EQ(session.Document().m_objects.size(), objects);

    shown.clear();
    QEventLoop loop;
    QObject::connect(&session.Survey(), &NetworkSurvey::ended, &loop, &QEventLoop::quit);
    AnswerNextMessage(QMessageBox::Discard, shown);
    frame->Action(32794)->trigger();
    EXPECT_FALSE(shown.isEmpty());
    loop.exec();
    EXPECT_NE(session.Document().m_objects.size(), objects) << "Discard lets the survey replace the map";
}

TEST_F(MainFrameTest, RelayoutPutsAMovedDeviceBackAfterASurvey)
{
    CChildFrame* child = frame->NewDocument();
    DocumentSession& session = child->Session();
    QEventLoop loop;
    QObject::connect(&session.Survey(), &NetworkSurvey::ended, &loop, &QEventLoop::quit);
    frame->Action(32794)->trigger();
    loop.exec();
    frame->UpdateActions();
    ASSERT_TRUE(frame->Action(32806)->isEnabled());
    CDrawSys* device = nullptr;
    for (CDrawObj* object : session.Document().m_objects)
        if (typeid(*object) == typeid(CDrawSys) && !static_cast<CDrawSys*>(object)->m_nics.isEmpty())
            device = static_cast<CDrawSys*>(object);
    ASSERT_NE(device, nullptr);
    const Rect place = device->m_position;
    device->MoveTo(place.translated(3000, 3000), &child->MapView());
    frame->Action(32806)->trigger();
    EXPECT_EQ(device->m_position, place);
    frame->Action(32821)->trigger();
    EXPECT_EQ(device->m_position, place);
}

TEST_F(MainFrameTest, AboutBoxNamesTheVersion)
{
    EXPECT_EQ(CAboutDlg::VersionLabel(), "Varnex Version 0.1.0.0");
}

TEST_F(MainFrameTest, UndoRedoCommandsFollowTheSnapshots)
{
    CChildFrame* child = frame->NewDocument();
    CNetDoc& document = child->Session().Document();
    EXPECT_FALSE(frame->Action(57643)->isEnabled());
    document.AddObject(new CDrawRect(Rect{0, 0, 100, 100}));
    document.SaveSnapshot();
    frame->UpdateActions();
    ASSERT_TRUE(frame->Action(57643)->isEnabled());
    frame->Action(57643)->trigger();
    EXPECT_TRUE(document.m_objects.isEmpty());
    EXPECT_TRUE(frame->Action(57644)->isEnabled());
    frame->Action(57644)->trigger();
    EXPECT_EQ(document.m_objects.size(), 1);
}

// Answers the message box the next action shows, keeping its text.
void CloseNextMessage(QString& shown)
{
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
}

TEST_F(MainFrameTest, SettingsDialogOpensWithDefaultsAndChecksItsInput)
{
    CNetDoc document;
    document.OnNewDocument();
    document.m_adwSurveySettings.clear();
    CRectDlg dialog(document, settings);
    EXPECT_EQ(dialog.IntervalField()->text(), "100");
    EXPECT_TRUE(dialog.WmiCheck()->isChecked());
    EXPECT_EQ(dialog.GatewayLabel()->text(), "設定されていません");

    QString shown;
    const auto enter = [&](const QString& address) {
        dialog.GatewayField()->setText(address);
        CloseNextMessage(shown);
        dialog.EnterGateway();
    };
    enter("192.168.1.1");
    EXPECT_EQ(dialog.GatewayLabel()->text(), "設定値 192.168.1.1");
    enter("127.0.0.5");
    EXPECT_EQ(shown, "127から始まるIPアドレスは、使用できません。");
    EXPECT_EQ(dialog.GatewayLabel()->text(), "設定値 192.168.1.1");

    EXPECT_EQ(dialog.findChildren<QSpinBox*>().size(), 2) << "interval and spacing have spin buttons";
    EXPECT_NE(dialog.findChild<QCheckBox*>(), nullptr);
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        texts.append(button->text());
    for (const char* text : {"接続できない場合の状況を表示する", "ドメインの管理者権限で調査する",
                             "WMI 取得にセキュリティ情報をセットする\n（WMI 収集のアカウントがドメインに必要です）"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    dialog.IntervalField()->findChild<QLineEdit*>()->setText("abc");
    shown.clear();
    CloseNextMessage(shown);
    dialog.accept();
    EXPECT_EQ(shown, "正の整数を入力してください。");
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.IntervalField()->setValue(250);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.DefaultGatewaySetting, "192.168.1.1");
    EXPECT_EQ(document.m_adwSurveySettings, (QList<quint32>{1, 1, 0, 0, 250}));
}

TEST_F(MainFrameTest, ADroppedDeviceOpensThePropertySheetReadyToEdit)
{
    CChildFrame* child = frame->NewDocument();
    CNetDoc& document = child->Session().Document();
    document.CreateSegment(0x01004D0A, 0x00FFFFFF); // 10.77.0.1/24
    auto* tower = new CDrawSys(Rect{100, 100, 200, 300});
    tower->m_pDocument = &document;
    document.m_objects.append(tower);
    QString title;
    QTimer::singleShot(0, [&title] {
        auto* sheet = qobject_cast<CObjSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        title = sheet->Tabs()->tabText(0);
        sheet->findChild<QLineEdit*>(QStringLiteral("fqdn"))->setText(QStringLiteral("pc9.TEMP"));
        sheet->accept();
    });
    tower->OnOpen(&child->MapView());
    EXPECT_EQ(title, QStringLiteral("機器情報"));
    EXPECT_EQ(tower->m_strFqdn, QStringLiteral("pc9.TEMP"));
    ASSERT_EQ(tower->m_nics.size(), 1) << "an interface on the map's segment";
    EXPECT_TRUE(document.IsModified());
}

TEST_F(MainFrameTest, TheMapIsExportedAndCopiedAsAPicture)
{
    CNetDoc document;
    document.OnNewDocument();
    SampleMap::build(document);
    QTemporaryDir dir;
    for (const char* name : {"map.png", "map.svg", "map.pdf"}) {
        const QString path = dir.filePath(QLatin1String(name));
        ASSERT_TRUE(MapExport::Write(document, path)) << name;
        EXPECT_GT(QFileInfo(path).size(), 1000) << name;
    }
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("map.png"))).isNull());
    const std::unique_ptr<QMimeData> data(MapExport::PictureData(document));
    EXPECT_FALSE(qvariant_cast<QImage>(data->imageData()).isNull());
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
    EXPECT_TRUE(frame->Action(CMainFrame::kExportPicture));
    EXPECT_TRUE(frame->Action(CMainFrame::kCopyPicture));
}

} // namespace

TEST(MainFrameNetwork, ASimulatedNetworkIsNamedInTheTitleAndTheProgressWindow)
{
    // The built-in demo network lives in the command-line library.
    Q_INIT_RESOURCE(data);
    NetworkChoice::Opened opened;
    opened.network = SimulatedLan().Computer("PC01", "10.77.0.21", "Domain:CORP").Probe("serverInfo", 300).Build();
    opened.simulatedName = QStringLiteral("test-lan.json");
    NetworkSelection selection(std::move(opened));
    SurveySettings settings;
    CMainFrame frame(selection, settings);
    frame.SetNetworkSelection(&selection);
    frame.show();
    CChildFrame* child = frame.NewDocument();
    EXPECT_TRUE(frame.windowTitle().endsWith(" [シミュレーション: test-lan.json]")) << frame.windowTitle().toStdString();

    QAction* demo = nullptr;
    for (QAction* action : frame.findChildren<QAction*>())
        if (action->text() == QStringLiteral("デモネットワークを調査する(&D)"))
            demo = action;
    ASSERT_NE(demo, nullptr);
    EXPECT_TRUE(demo->isChecked());

    frame.Action(32794)->trigger();
    const auto* progress = frame.findChild<CSerachDlg*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->Notice(), "[シミュレーション: test-lan.json]");
    EXPECT_FALSE(demo->isEnabled()) << "the network cannot change under a running survey";
    child->Session().Survey().Stop();
    QEventLoop loop;
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();

    // Back to the live network: nothing is surveyed here, only the choice
    // and the title change.
    demo->trigger();
    EXPECT_TRUE(selection.SimulatedName().isEmpty());
    EXPECT_FALSE(frame.windowTitle().contains("シミュレーション"));
    demo->trigger();
    EXPECT_EQ(selection.SimulatedName(), "デモネットワーク");
    EXPECT_TRUE(frame.windowTitle().endsWith(" [シミュレーション: デモネットワーク]"));
    child->Session().Document().SetModifiedFlag(false);
}

TEST(SettingsDialog, TheSnmpSurveyAndItsCommunitiesCanBeTurnedOnAndTheWiringOff)
{
    CNetDoc document;
    document.OnNewDocument();
    SurveySettings settings;
    settings.SnmpSurveyFlag = 0;
    CRectDlg dialog(document, settings);
    EXPECT_TRUE(dialog.SnmpCheck()->isEnabled());
    EXPECT_FALSE(dialog.SnmpCheck()->isChecked());
    EXPECT_FALSE(dialog.CommunityField()->isEnabled());
    EXPECT_TRUE(dialog.GatewayWiringCheck()->isChecked());
    dialog.SnmpCheck()->setChecked(true);
    EXPECT_TRUE(dialog.CommunityField()->isEnabled());
    dialog.CommunityField()->setText(QStringLiteral("public"));
    dialog.AddCommunity();
    dialog.CommunityField()->setText(QStringLiteral("PUBLIC"));
    dialog.AddCommunity();
    EXPECT_EQ(dialog.CommunityList()->count(), 1) << "names differing in case only are one";
    dialog.GatewayWiringCheck()->setChecked(false);
    dialog.accept();
    EXPECT_EQ(settings.SnmpSurveyFlag, 1u);
    EXPECT_EQ(settings.CommunityList, QStringList{"public"});
    EXPECT_EQ(settings.SurveyorGatewayWiring, 0u);
    SurveySettings later;
    later.LoadAtStart(SettingsStore());
    EXPECT_EQ(later.SurveyorGatewayWiring, 0u) << "the choice is kept";
    EXPECT_EQ(later.CommunityList, QStringList{"public"});
    document.SetModifiedFlag(false);
}
