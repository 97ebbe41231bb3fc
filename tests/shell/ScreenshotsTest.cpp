// Pictures for the README of the main window and its dialogs.
#include "MainFrameFixture.h"
#include "mapbuild/MapComparison.h"
#include "mapview/CNetView.h"
#include "propsheet/CObjPage7.h"
#include "propsheet/CObjPage8.h"
#include "propsheet/CObjSheet.h"
#include "shell/ChangeComparison.h"
#include "shell/FindBar.h"
#include "shell/CRectDlg.h"
#include "shell/MapPreviewDialog.h"

#include <QLineEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>

namespace {

// Pictures for the README; written where VARNEX_SCREENSHOTS points.
TEST_F(MainFrameTest, Screenshots)
{
    const QString directory = qEnvironmentVariable("VARNEX_SCREENSHOTS");
    if (directory.isEmpty())
        GTEST_SKIP() << "set VARNEX_SCREENSHOTS to a directory to write the pictures";
    const QString map = qEnvironmentVariable("VARNEX_SCREENSHOT_MAP");
    ASSERT_FALSE(map.isEmpty()) << "VARNEX_SCREENSHOT_MAP names the map to show";
    frame->resize(1400, 900);
    ASSERT_TRUE(frame->OpenFile(map));
    Wait(100);
    EXPECT_TRUE(frame->grab().save(directory + QStringLiteral("/main-window.png")));
    frame->Action(CMainFrame::kZoomFit)->trigger();
    Wait(100);
    EXPECT_TRUE(frame->grab().save(directory + QStringLiteral("/whole-map.png")));
    frame->Action(CMainFrame::kZoomReset)->trigger();
    frame->Action(CMainFrame::kFind)->trigger();
    frame->findChild<FindBar*>()->Field()->setText(QStringLiteral("pc-soumu"));
    Wait(100);
    EXPECT_TRUE(frame->grab().save(directory + QStringLiteral("/find-bar.png")));
    frame->findChild<FindBar*>()->hide();

    QPrinter printer(QPrinter::HighResolution);
    MapPreviewDialog preview(frame->ActiveChild()->Session().Document(), printer);
    preview.resize(900, 1000);
    preview.show();
    Wait(100);
    EXPECT_TRUE(preview.grab().save(directory + QStringLiteral("/print-preview.png")));

    CNetDoc& shown = frame->ActiveChild()->Session().Document();
    for (CDrawObj* object : shown.m_objects) {
        auto* system = dynamic_cast<CDrawSys*>(object);
        if (!system || typeid(*system) != typeid(CDrawSys) || system->m_nics.isEmpty() || system->WmiListing().isEmpty())
            continue;
        CObjSheet sheet(*system);
        sheet.show();
        Wait(50);
        EXPECT_TRUE(sheet.grab().save(directory + QStringLiteral("/property-sheet-device.png")));
        sheet.Tabs()->setCurrentIndex(2);
        static_cast<CObjPage7*>(sheet.Page(2))->SelectInterface(0);
        Wait(50);
        EXPECT_TRUE(sheet.grab().save(directory + QStringLiteral("/property-sheet-nic.png")));
        sheet.Tabs()->setCurrentIndex(7);
        static_cast<CObjPage8*>(sheet.Page(7))->ShowSection(0);
        Wait(50);
        EXPECT_TRUE(sheet.grab().save(directory + QStringLiteral("/property-sheet-wmi.png")));
        sheet.reject();
        break;
    }

    const QString earlier = qEnvironmentVariable("VARNEX_SCREENSHOT_EARLIER");
    const QString later = qEnvironmentVariable("VARNEX_SCREENSHOT_LATER");
    if (!earlier.isEmpty() && !later.isEmpty()) {
        ASSERT_TRUE(frame->OpenFile(later));
        Wait(100);
        CChildFrame* child = frame->ActiveChild();
        CNetDoc before;
        QString error;
        ASSERT_TRUE(before.OnOpenDocument(earlier, &error)) << error.toStdString();
        const MapComparison comparison = MapComparison::Compare(before, child->Session().Document());
        frame->statusBar()->showMessage(ChangeComparison::Show(*child, comparison));
        child->MapView().SetZoom(0.6);
        for (const MapComparison::HostChange& host : comparison.Hosts())
            if (host.kind == MapComparison::Kind::Added)
                if (const CDrawSys* added = DeviceNamed(child->Session().Document(), host.Name()))
                    child->MapView().ShowObject(const_cast<CDrawSys*>(added));
        // The change column is the last: sorted by it, changed hosts first.
        CBottView& list = child->ListView();
        list.Model().SortByColumn(list.Model().columnCount() - 1, Qt::DescendingOrder);
        list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum());
        Wait(100);
        EXPECT_TRUE(frame->grab().save(directory + QStringLiteral("/changes-overlay.png")));
    }

    CRectDlg dialog(frame->ActiveChild()->Session().Document(), settings);
    dialog.show();
    Wait(50);
    EXPECT_TRUE(dialog.grab().save(directory + QStringLiteral("/settings-dialog.png")));
    CSerachDlg progress;
    progress.SetNotice(QStringLiteral("[シミュレーション: デモネットワーク]"));
    progress.SetHeader(QStringLiteral("ただいま調査中です。"));
    progress.SetCount(QStringLiteral("24 台中、残り 12 台です。"));
    progress.SetMessage(QStringLiteral("\\\\TVDC01の機能情報を取得しました。"));
    progress.show();
    Wait(50);
    EXPECT_TRUE(progress.grab().save(directory + QStringLiteral("/progress-window.png")));
}

} // namespace
