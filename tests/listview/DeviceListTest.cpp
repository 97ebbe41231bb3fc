#include "document/CNetDoc.h"
#include "listview/CBottView.h"
#include "listview/CColumSelect.h"
#include "objects/CDrawRect.h"
#include "shell/SettingsStore.h"
#include "listview/DeviceListModel.h"
#include "listview/DeviceListRows.h"
#include "listview/ListPrinter.h"
#include "support/TestFiles.h"
#include "mapbuild/HostInventory.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

// A combined inventory text as the survey leaves it.
QStringList Inventory(const QStringList& hosts, const QList<std::pair<QString, QStringList>>& tables)
{
    QStringList lines{"FQDN_TABLE", "FQDN,OS,Type,Manufacturer,Model,TotalMemory,FreeMemory"};
    lines += hosts;
    for (const auto& [name, records] : tables) {
        lines << QString() << QString() << QString() << name << QStringLiteral("header");
        lines += records;
    }
    return lines;
}

std::vector<CLVObj> Rows(const QStringList& hosts, const QList<std::pair<QString, QStringList>>& tables)
{
    return DeviceListRows::Build(DeviceListRows::Split(Inventory(hosts, tables)));
}

} // namespace

TEST(DeviceListRows, DetailTablesGoIntoTheRowAndItsDetailLines)
{
    const std::vector<CLVObj> rows =
        Rows({"pc1.corp ,Windows 10,DeskTop,Dell,OptiPlex,16000MB,8000MB", "pc2.corp,Windows 11,Note,,,,"},
             {{"USE_TABEL", {"PC1.corp,NT_SERVER", "pc1.corp,MEMBER_SRV"}},
              {"CPU_TABEL", {"pc1.corp,1,i5,Family 6,3096", "pc1.corp,2,i5,Family 6,3096", "pc1.corp,3,i5,F,1"}},
              {"MAC_TABLE", {"pc1.corp,00-11-22-33-44-55,Intel", "pc1.corp,00-11-22-33-44-66,Realtek",
                             "pc2.corp,No-Ad-00-00-00-01,"}},
              {"IP_TABLE", {"00-11-22-33-44-55,10.77.0.21", "00-11-22-33-44-55,10.77.0.22",
                            "00-11-22-33-44-77,10.77.0.99", "No-Ad-00-00-00-01,10.77.0.30"}},
              {"nonsense", {"pc1.corp,x"}}});
    ASSERT_EQ(rows.size(), 2u);
    const CLVObj& pc1 = rows[0];
    EXPECT_EQ(pc1.Cell(1), "Windows 10");
    EXPECT_EQ(pc1.Cell(7), "NT_SERVER") << "keys match ignoring blanks around the FQDN and ASCII case";
    EXPECT_EQ(pc1.Cell(9), "i5");
    EXPECT_EQ(pc1.Cell(15), "00-11-22-33-44-55");
    EXPECT_EQ(pc1.Cell(16), "Intel");
    EXPECT_EQ(pc1.Cell(17), "10.77.0.21");
    // Two services and three processors: the second of each share the first
    // detail line, the third processor is alone on the second.
    ASSERT_EQ(pc1.m_children.size(), 2u);
    EXPECT_EQ(pc1.m_children[0].Cell(7), "MEMBER_SRV");
    EXPECT_EQ(pc1.m_children[0].Cell(8), "2");
    EXPECT_EQ(pc1.m_children[0].Cell(15), "") << "the second address of an adapter repeats no MAC";
    EXPECT_EQ(pc1.m_children[0].Cell(17), "10.77.0.22");
    EXPECT_EQ(pc1.m_children[1].Cell(8), "3");
    EXPECT_EQ(pc1.m_children[1].Cell(7), "");
    // An adapter without an address is not listed.
    for (const CLVObj& line : pc1.m_children)
        EXPECT_NE(line.Cell(16), "Realtek");
    EXPECT_EQ(rows[1].Cell(15), "No-Ad-00-00-00-01");
}

TEST(DeviceListRows, UntrustedTablesShowWhatCanBeRead)
{
    const struct {
        const char* name;
        QStringList combined;
        size_t rows;
    } cases[] = {
        {"empty", {}, 0},
        {"no header", {"FQDN_TABLE"}, 0},
        {"host table only", {"FQDN_TABLE", "h", "a,b", "c"}, 2},
        {"ends at an empty line", {"FQDN_TABLE", "h", "a", "", "b"}, 1},
        {"records before any table", {"x,y", "FQDN_TABLE", "h", "a"}, 1},
        {"huge line", {"FQDN_TABLE", "h", QString(200000, QLatin1Char(','))}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CLVObj> rows = DeviceListRows::Build(DeviceListRows::Split(c.combined));
        EXPECT_EQ(rows.size(), c.rows);
    }
    const std::vector<CLVObj> extra = Rows({"a,OS"}, {{"USE_TABEL", {"a,R1,extra,fields", "zzz,unmatched"}},
                                                      {"CPU_TABEL", {"a,1"}}});
    ASSERT_EQ(extra.size(), 1u);
    EXPECT_EQ(extra[0].Cell(7), "R1");
    EXPECT_EQ(extra[0].Cell(8), "extra");
    EXPECT_EQ(extra[0].Cell(10), "1") << "extra fields shift the later columns";
    const std::vector<CLVObj> longCell = Rows({"a," + QString(5000, QLatin1Char('x'))}, {});
    EXPECT_EQ(longCell[0].Cell(1).size(), CLVObj::kMaxCell);
}

TEST(DeviceListModel, ModesExpansionSortAndEmptyColumns)
{
    DeviceListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRows(Rows({"b.corp,OS2", "a.corp,OS1", "c.corp,OS10"},
                       {{"USE_TABEL", {"a.corp,R1", "a.corp,R2", "a.corp,R3"}},
                        {"MAC_TABLE", {"b.corp,No-Ad-1,"}},
                        {"IP_TABLE", {"No-Ad-1,10.0.0.2"}}}));
    model.SetColumns(HostInventory::MasterColumnNames(), {"type", "MANUFACTURER"});
    EXPECT_EQ(model.columnCount(), 70);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Model");
    model.Fill(true);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.Text(0, 0), "c.corp") << "hosts in the reverse of the host table";
    const int macColumn = int(HostInventory::MasterColumnNames().indexOf("Mac_Ad")) - 2;
    EXPECT_EQ(model.Text(2, macColumn), "") << "the unknown-MAC placeholder is shown empty";
    EXPECT_EQ(model.data(model.index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 230));

    model.Fill(false);
    EXPECT_EQ(model.rowCount(), 5);
    model.Fill(true);
    model.ToggleDetails(1); // a.corp
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.Text(2, 5), "R2");
    model.ToggleDetails(1);
    EXPECT_EQ(model.rowCount(), 3);

    model.SortByColumn(1, Qt::AscendingOrder);
    EXPECT_EQ(model.Text(0, 1), "OS1");
    EXPECT_EQ(model.Text(1, 1), "OS10") << "code unit order: \"10\" before \"2\"";
    EXPECT_EQ(model.Text(2, 1), "OS2");
    model.SortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(model.Text(0, 1), "OS2");

    EXPECT_TRUE(model.HasEmptyColumn());
    const int deleted = model.DeleteEmptyColumns();
    EXPECT_GT(deleted, 0);
    EXPECT_FALSE(model.HasEmptyColumn());
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "FQDN");
}

TEST(CColumSelect, HiddenNamesKeepMasterOrder)
{
    const QStringList master = HostInventory::MasterColumnNames();
    QStringList hidden = CColumSelect::Hide(master, {}, "Speed");
    hidden = CColumSelect::Hide(master, hidden, "CpuName");
    EXPECT_EQ(hidden, QStringList({"CpuName", "Speed"}));
    hidden = CColumSelect::Hide(master, hidden, "FQDN");
    EXPECT_EQ(hidden.first(), "FQDN");
    EXPECT_EQ(CColumSelect::Hide(master, hidden, "NoSuchColumn"), hidden);
    EXPECT_TRUE(CColumSelect::IsHidden({"speed"}, "Speed"));
    EXPECT_EQ(master.size(), 72);
    EXPECT_EQ(master.at(41), " AuthorizationFlags");
}

TEST(CColumSelect, OkKeepsTheChoiceWithTheMapOrForNewMaps)
{
    {
        CNetDoc empty;
        empty.OnNewDocument();
        CColumSelect dialog(empty);
        dialog.UsedList()->setCurrentRow(1); // OS
        dialog.HideSelected();
        EXPECT_EQ(dialog.HiddenList()->count(), 1);
        dialog.accept();
        EXPECT_EQ(empty.m_astrHiddenColumns, QStringList{"OS"});
        EXPECT_FALSE(empty.IsModified());
    }
    CNetDoc fresh;
    fresh.OnNewDocument();
    EXPECT_EQ(fresh.m_astrHiddenColumns, QStringList{"OS"}) << "a new map starts with the stored choice";

    CNetDoc map;
    map.OnNewDocument();
    map.AddObject(new CDrawRect(Rect{0, 0, 10, 10}));
    CColumSelect dialog(map);
    dialog.HideAll();
    EXPECT_EQ(dialog.UsedList()->count(), 0);
    dialog.ShowAll();
    EXPECT_EQ(dialog.UsedList()->count(), 72);
    dialog.accept();
    EXPECT_TRUE(map.m_astrHiddenColumns.isEmpty());
    EXPECT_TRUE(map.IsModified()) << "the choice travels with the map";
    CNetDoc later;
    later.OnNewDocument();
    EXPECT_EQ(later.m_astrHiddenColumns, QStringList{"OS"}) << "the store is untouched by a map's choice";
    map.SetModifiedFlag(false);
    SettingsStore().deleteKey(QStringLiteral("List_Del"));
}

TEST(CBottView, CopiesTheSelectedLinesAsTabSeparatedText)
{
    CNetDoc document;
    document.OnNewDocument();
    document.m_astrHostTable = {"FQDN_TABLE", "FQDN,OS,Type,Manufacturer,Model,TotalMemory,FreeMemory",
                                "a.corp,OS1,DeskTop,,,,", "b.corp,OS2,Note,,,,"};
    document.m_astrHiddenColumns.clear();
    CBottView view(document);
    view.Model().DeleteEmptyColumns();
    view.selectAll();
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&view, &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), "FQDN\tOS\tType\nb.corp\tOS2\tNote\na.corp\tOS1\tDeskTop\n");
}

TEST(ListPrinter, AListTallerAndWiderThanAPagePrintsEveryLineOnceInPageOrder)
{
    if (!QFile::exists(QStringLiteral("/usr/bin/pdftotext")))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QStringList hosts;
    for (int n = 0; n < 150; ++n)
        hosts.append(QStringLiteral("host%1.corp,Windows %1,DeskTop,Maker,Model,1000MB,500MB").arg(n, 3, 10, QLatin1Char('0')));
    DeviceListModel model;
    model.SetRows(Rows(hosts, {{"CPU_TABEL", {"host000.corp,1,A very long processor name to widen the column,F,1"}}}));
    model.SetColumns(HostInventory::MasterColumnNames(), {});
    model.Fill(true);
    const QString pdf = TestFiles::scratchPath("tall-list.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ListPrinter list(model, QStringLiteral("tall"));
    ASSERT_TRUE(list.Print(printer));
    const int across = list.PagesAcross();
    const int down = list.PagesDown();
    ASSERT_GT(across, 1);
    ASSERT_GT(down, 1);
    QString firstColumn;
    for (int band = 0; band < down; ++band) {
        QProcess text;
        const QString page = QString::number(band * across + 1);
        text.start(QStringLiteral("/usr/bin/pdftotext"), {"-f", page, "-l", page, "-layout", pdf, "-"});
        text.waitForFinished(30000);
        const QString content = QString::fromUtf8(text.readAllStandardOutput());
        EXPECT_TRUE(content.contains("FQDN")) << "every band repeats the headers";
        // The text extractor sets its own spacing: compare without blanks.
        const QString label = list.PageLabel(band, 0).remove(QLatin1Char(' '));
        EXPECT_TRUE(QString(content).remove(QRegularExpression(QStringLiteral("\\s"))).contains(label))
            << label.toStdString();
        firstColumn += content;
    }
    for (int n = 0; n < 150; ++n)
        EXPECT_EQ(firstColumn.count(QStringLiteral("host%1.corp").arg(n, 3, 10, QLatin1Char('0'))), 1) << n;
}
