// File > 比較… and the comparison after a survey, in the main window.
#include "MainFrameFixture.h"
#include "mapbuild/MapComparison.h"
#include "mapview/ChangeOverlay.h"
#include "mapview/CNetView.h"
#include "shell/ChangeComparison.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QStatusBar>

namespace {

TEST_F(MainFrameTest, ComparingWithAnEarlierMapMarksTheChangesWithoutTouchingTheMap)
{
    CChildFrame* earlierChild = frame->NewDocument();
    SurveyToTheEnd(*frame, *earlierChild);
    const QString earlier = TestFiles::scratchPath("before-pc03.vxnj");
    QString error;
    ASSERT_TRUE(earlierChild->Session().Save(earlier, &error)) << error.toStdString();

    // A month later PC02 is gone and PC03 came.
    const auto later = SimulatedLan()
                           .Computer("PC01", "10.77.0.21", "Domain:CORP")
                           .Computer("PC03", "10.77.0.23", "Domain:CORP")
                           .Probe("serverInfo", 200)
                           .Build();
    CMainFrame laterFrame(*later, settings);
    laterFrame.show();
    CChildFrame* child = laterFrame.NewDocument();
    SurveyToTheEnd(laterFrame, *child);
    CNetDoc& document = child->Session().Document();
    document.SetModifiedFlag(false);
    const bool couldUndo = document.CanUndo();

    QTimer::singleShot(0, [&earlier] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(earlier);
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_TRUE(laterFrame.Action(CMainFrame::kCompare)->isEnabled());
    laterFrame.Action(CMainFrame::kCompare)->trigger();

    const ChangeOverlay* changes = child->MapView().Changes();
    ASSERT_NE(changes, nullptr);
    const CDrawSys* added = DeviceNamed(document, "pc03");
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(changes->ToolTipAt(document, added->m_position.normalized().center()).startsWith("新規: pc03"));
    EXPECT_EQ(ChangeColumn(child->ListView()).filter("=新規").size(), 1) << ChangeColumn(child->ListView()).join(' ').toStdString();
    EXPECT_FALSE(document.IsModified()) << "the markings are not part of the map";
    EXPECT_EQ(document.CanUndo(), couldUndo);
    EXPECT_TRUE(laterFrame.Action(CMainFrame::kClearComparison)->isEnabled());

    laterFrame.Action(CMainFrame::kClearComparison)->trigger();
    EXPECT_EQ(child->MapView().Changes(), nullptr);
    EXPECT_TRUE(ChangeColumn(child->ListView()).isEmpty());
    document.SetModifiedFlag(false);
}

TEST_F(MainFrameTest, ASurveyCanShowWhatChangedSinceTheMapItReplaced)
{
    CChildFrame* child = frame->NewDocument();
    SurveyToTheEnd(*frame, *child);
    EXPECT_EQ(child->MapView().Changes(), nullptr) << "off unless the user turns it on";

    QAction* afterSurvey = frame->Action(CMainFrame::kCompareAfterSurvey);
    ASSERT_FALSE(afterSurvey->isChecked());
    afterSurvey->trigger();
    EXPECT_TRUE(ChangeComparison::AfterSurvey());
    CNetDoc& document = child->Session().Document();
    document.SetModifiedFlag(false);
    // The same network again: nothing changed, and the status bar says so.
    SurveyToTheEnd(*frame, *child);
    EXPECT_EQ(child->MapView().Changes(), nullptr);
    EXPECT_EQ(frame->statusBar()->currentMessage(), "解析前のマップからの変化はありません。");

    // A device moved by hand is no change of the network; a device taken
    // out of the map before the next survey comes back as new.
    CDrawObj* pc02 = const_cast<CDrawSys*>(DeviceNamed(document, "pc02"));
    ASSERT_NE(pc02, nullptr);
    document.RemoveObject(pc02, &child->MapView());
    delete pc02;
    document.SetModifiedFlag(false);
    SurveyToTheEnd(*frame, *child);
    ASSERT_NE(child->MapView().Changes(), nullptr);
    EXPECT_TRUE(frame->statusBar()->currentMessage().startsWith("比較: 新規 1 台")) << frame->statusBar()->currentMessage().toStdString();
    afterSurvey->trigger();
    EXPECT_FALSE(ChangeComparison::AfterSurvey());
}

} // namespace
