#include "document/CNetDoc.h"
#include "mapbuild/CsvFields.h"
#include "mapbuild/HostInventory.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "objects/MapObjectTesting.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using MapObjectTesting::ip;

namespace {

class HostInventoryTest : public ::testing::Test {
protected:
    void SetUp() override { document.OnNewDocument(); }

    // A host with its main label: the host name, then the given lines.
    CDrawSys* AddHost(const QString& fqdn, int typeCode, const QString& os,
                      const QStringList& facts = {})
    {
        auto* host = new CDrawSys(Rect{0, 0, 100, 100});
        document.AddObject(host);
        host->m_nTypeCode = typeCode;
        host->m_strFqdn = fqdn;
        host->m_strOs = os;
        if (!facts.isEmpty()) {
            auto* label = new CDrawText(Rect{});
            document.AddObject(label);
            label->m_astrLines = QStringList{fqdn} + facts;
            host->m_labels.append(label);
        }
        return host;
    }

    CDrawNic* AddInterface(CDrawSys* host, const QString& mac, QList<quint32> addresses)
    {
        auto* nic = new CDrawNic(Rect{});
        document.AddObject(nic);
        nic->m_adwAddresses = std::move(addresses);
        nic->m_strMac = mac;
        host->m_nics.append(nic);
        return nic;
    }

    QStringList Table(const HostInventory& inventory, int n) const
    {
        return inventory.DetailTable(n).mid(2);
    }

    CNetDoc document;
};

TEST_F(HostInventoryTest, WorkedExample)
{
    CDrawSys* pc = AddHost("pc1.corp.example", CDrawSys::kDesktop, "Windows 10 Pro",
                           {"Manufacturer   Vendor A", "Model   Model B", "TotalMemory  8192MB",
                            "FreeMemory  4096MB"});
    pc->m_astrRoles = {"Windows 10 Pro", "SQL SERVER"};
    HostInventory inventory;
    ASSERT_TRUE(inventory.Build(document, {}));
    EXPECT_EQ(inventory.Lines().mid(0, 3),
              QStringList({"FQDN_TABLE", "FQDN,OS,Type,Manufacturer,Model,TotalMemory,FreeMemory",
                           "pc1.corp.example,Windows 10 Pro,DeskTop,Vendor A,Model B,8192MB,4096MB"}));
    EXPECT_EQ(Table(inventory, 0), QStringList{"pc1.corp.example,SQL SERVER"});
    EXPECT_EQ(Table(inventory, 5), QStringList{"pc1.corp.example,,,"});
    EXPECT_EQ(inventory.ColumnNames().size(), 72);
    EXPECT_TRUE(inventory.Lines().contains("USE_TABEL"));
    EXPECT_FALSE(inventory.Lines().contains("CPU_TABEL")) << "empty tables are left out";
}

TEST_F(HostInventoryTest, PrintersTakeTheirDevicesFacts)
{
    AddHost("lp1.corp.example", CDrawSys::kPrinter, "Laser 5");
    AddHost("lp2.corp.example", CDrawSys::kPrinter, "Laser 7");
    const HostInventory::Device device{"lp1", "Brother", "1.21", "E7", {"Printers", "Scanners"}};
    HostInventory inventory;
    inventory.Build(document, {device});
    EXPECT_EQ(inventory.Lines().at(2), "lp1.corp.example,,Printer,Brother,Laser 5,,");
    EXPECT_EQ(inventory.Lines().at(3), "lp2.corp.example,,Printer,,Laser 7,,");
    EXPECT_EQ(Table(inventory, 5),
              QStringList({"lp1.corp.example,Printers,1.21,E7", "lp1.corp.example,Scanners,,"}));
}

TEST_F(HostInventoryTest, ProcessorsDisksAndAddresses)
{
    CDrawSys* pc = AddHost("pc1.corp.example", CDrawSys::kTower, "Windows 10",
                           {"Name  Intel プロセッサ, 4 cores", "ClockSpeed  3400",
                            "Model/Size  SSD 512/512GB", "Model/Size  broken"});
    AddInterface(pc, "00-15-5d-00-00-05", {ip("10.77.0.5"), ip("10.78.0.5")});
    CDrawNic* v6 = AddInterface(pc, "00-15-5d-00-00-06", {});
    v6->Ipv6Addresses().append("fe80::6");
    HostInventory inventory;
    inventory.Build(document, {});
    EXPECT_EQ(Table(inventory, 1), QStringList{"pc1.corp.example,1,Intel Processor. 4 cores,,3400"});
    EXPECT_EQ(Table(inventory, 2), QStringList{"pc1.corp.example,1,SSD 512,512GB"});
    EXPECT_EQ(Table(inventory, 4),
              QStringList({"00-15-5d-00-00-05,10.77.0.510.78.0.5", "00-15-5d-00-00-06,fe80::6"}));
}

TEST_F(HostInventoryTest, CsvIsUtf16WithCrLfAndEmptyWithoutHosts)
{
    const QString empty = TestFiles::scratchPath("empty.csv");
    HostInventory inventory;
    EXPECT_FALSE(inventory.Build(document, {}));
    ASSERT_TRUE(HostInventory::WriteCsv(inventory.Lines(), empty));
    EXPECT_TRUE(TestFiles::readAll(empty).isEmpty());

    const QString csv = TestFiles::scratchPath("tables.csv");
    ASSERT_TRUE(HostInventory::WriteCsv({"A,B", "\n", " x "}, csv));
    const QByteArray bytes = TestFiles::readAll(csv);
    EXPECT_EQ(bytes, QByteArray("\xFF\xFE" "A\0,\0B\0\r\0\n\0\r\0\n\0x\0\r\0\n\0", 22));
}

TEST(CsvFields, NamesFromTheNetworkKeepTheirColumnsAndRunNoFormula)
{
    struct Case {
        QString field;
        QString written; // in the line
        QString neutralised; // in the CSV file
    } cases[] = {
        {"pc1.corp", "pc1.corp", "pc1.corp"},
        {"a,b", "\"a,b\"", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\"", "\"two\r\nlines\""},
        {"=HYPERLINK(1)", "=HYPERLINK(1)", "'=HYPERLINK(1)"},
        {"+1", "+1", "'+1"},
        {"@sum", "@sum", "'@sum"},
        {QString(QChar(0xD800)) + "x", QString(QChar(0xD800)) + "x", QString(QChar::ReplacementCharacter) + "x"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        const QString line = CsvFields::Join({"host", c.field, "tail"});
        EXPECT_EQ(line, "host," + c.written + ",tail");
        EXPECT_EQ(CsvFields::Split(line), (QStringList{"host", c.field, "tail"})) << "three columns, whatever the name";
        EXPECT_EQ(CsvFields::NeutralisedLine(line), "host," + c.neutralised + ",tail");
    }
}

TEST_F(HostInventoryTest, AHostileHostNameStaysInItsColumn)
{
    AddHost("=cmd,evil.corp", CDrawSys::kDesktop, "Windows 10 Pro",
            {"Manufacturer   Vendor, Inc.", "Model   Model B"});
    AddHost("pc2.corp", CDrawSys::kDesktop, "Windows 11 Pro", {"Manufacturer   Vendor A"});
    HostInventory inventory;
    ASSERT_TRUE(inventory.Build(document, {}));
    const QStringList lines = inventory.Lines();
    const qsizetype header = lines.indexOf(QStringLiteral("FQDN,OS,Type,Manufacturer,Model,TotalMemory,FreeMemory"));
    ASSERT_GE(header, 0);
    const QStringList evil = CsvFields::Split(lines.at(header + 1));
    ASSERT_EQ(evil.size(), 7) << lines.at(header + 1).toStdString();
    EXPECT_EQ(evil.at(0), QStringLiteral("=cmd,evil.corp"));
    EXPECT_EQ(CsvFields::Split(lines.at(header + 2)).size(), 7);
    const QString csv = TestFiles::scratchPath("hostile.csv");
    ASSERT_TRUE(HostInventory::WriteCsv(lines, csv));
    const QByteArray bytes = TestFiles::readAll(csv);
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    EXPECT_TRUE(text.contains(QStringLiteral("\"'=cmd,evil.corp\""))) << "quoted and no longer a formula";
}

TEST_F(HostInventoryTest, DefaultCsvNames)
{
    EXPECT_EQ(HostInventory::DefaultCsvName("map.v1.vxnj"), "map.v1.csv");
    EXPECT_EQ(HostInventory::DefaultCsvName("map"), "map.csv");
    EXPECT_EQ(HostInventory::DefaultCsvName(""), "*.csv");
}

} // namespace
