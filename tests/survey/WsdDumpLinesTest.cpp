#include "survey/WsdDumpLines.h"
#include "survey/WsdPropertyNames.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Property = WsdDumpLines::Property;

const QUuid kPnpx(QStringLiteral("{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}"));
const QUuid kDisplay(QStringLiteral("{78c34fc8-104a-4aca-9ea4-524d52996e57}"));
const QUuid kWnet(QStringLiteral("{debda43a-37b3-4383-91e7-4498da2995ab}"));
const QUuid kDevice(QStringLiteral("{a45c254e-df1c-4efd-8020-67d146a850e0}"));
const QUuid kComputerName(QStringLiteral("{28636aa6-953d-11d2-b5d6-00c04fd918d0}"));

struct LineCase {
    const char* label;
    Property property;
    QStringList lines;

    friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.label; }
};

class PropertyLineFormat : public ::testing::TestWithParam<LineCase> {};

TEST_P(PropertyLineFormat, LinesOfOneProperty)
{
    EXPECT_EQ(WsdDumpLines::PropertyLines(GetParam().property), GetParam().lines);
}

QString pad(int blanks, const char* rest)
{
    return QString(blanks, QLatin1Char(' ')) + QString::fromUtf8(rest);
}

INSTANTIATE_TEST_SUITE_P(
    ValueTypes, PropertyLineFormat,
    ::testing::Values(
        LineCase{"empty", {kPnpx, 0x3009, std::monostate{}}, {pad(16, "PNPX_IpAddress = (empty)\n")}},
        LineCase{"string", {kPnpx, 0x3009, QStringLiteral("192.168.1.5")},
                 {pad(16, "PNPX_IpAddress = 192.168.1.5\n")}},
        LineCase{"signed", {kWnet, 2, qint32(-1)}, {pad(21, "WNET_Type = ffffffff\n")}},
        LineCase{"unsigned", {kWnet, 3, quint32(0x2a)}, {pad(14, "WNET_DisplayType = 0000002a\n")}},
        LineCase{"bool true", {kPnpx, 0x7000, true}, {pad(16, "PNPX_Removable = TRUE\n")}},
        LineCase{"bool false", {kPnpx, 0x7000, false}, {pad(16, "PNPX_Removable = FALSE\n")}},
        LineCase{"64-bit", {kPnpx, 0x3007, quint64(0x6000001abcULL)},
                 {pad(5, "PNPX_NetworkInterfaceLuid =       6000001abc\n")}},
        LineCase{"64-bit full", {kPnpx, 0x3007, quint64(0xfedcba9876543210ULL)},
                 {pad(5, "PNPX_NetworkInterfaceLuid = fedcba9876543210\n")}},
        LineCase{"class id",
                 {kPnpx, 0x3008, QUuid(QStringLiteral("{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}"))},
                 {pad(5, "PNPX_NetworkInterfaceGuid = {0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}\n")}},
        LineCase{"byte vector", {kPnpx, 0x3006, QByteArray("\x00\x11\x22\x33\x44\x55", 6)},
                 {pad(10, "PNPX_PhysicalAddress = 00000006\n")}},
        LineCase{"string vector",
                 {kPnpx, 0x1001, QStringList{QStringLiteral("a"), QStringLiteral("b"),
                                             QStringLiteral("c")}},
                 {pad(20, "PNPX_Types = a\n"), pad(30, " = b\n"), pad(30, " = c\n")}},
        LineCase{"empty vector", {kPnpx, 0x1001, QStringList{}}, {}},
        LineCase{"other type", {kPnpx, 0x1001, WsdDumpLines::OtherType{0x1005}},
                 {pad(20, "PNPX_Types = Variant Type 00001005 Unknown\n")}},
        LineCase{"unknown key", {kPnpx, 0x1005, QStringLiteral("urn:uuid:1")},
                 {QStringLiteral("{656A3BB3-ECC0-43FD-8477-4AE0404A96CD}-00001005 = urn:uuid:1\n")}},
        LineCase{"display category", {kDisplay, 90, QStringList{QStringLiteral("Computers")}},
                 {QStringLiteral("{78C34FC8-104A-4ACA-9EA4-524D52996E57}-0000005a = Computers\n")}},
        LineCase{"japanese text", {kDevice, 14, QStringLiteral("複合機")},
                 {pad(11, "Device_FriendlyName = 複合機\n")}},
        LineCase{"computer name", {kComputerName, 5, QStringLiteral("PC1")},
                 {pad(18, "ComputerName = PC1\n")}},
        LineCase{"remote name", {kWnet, 6, QStringLiteral("\\\\PC1")},
                 {pad(15, "WNET_RemoteName = \\\\PC1\n")}}));

struct NameCase {
    QUuid formatId;
    quint32 propertyId;
    const char* name;
};

class PropertyNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(PropertyNames, ShortNameOrRegistryForm)
{
    EXPECT_EQ(WsdPropertyNames::NameOf(GetParam().formatId, GetParam().propertyId),
              QString::fromLatin1(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PropertyNames,
    ::testing::Values(
        NameCase{kPnpx, 0x3009, "PNPX_IpAddress"}, NameCase{kPnpx, 0x3004, "PNPX_DeviceCategory"},
        NameCase{kPnpx, 0x3000, "PNPX_FriendlyName"}, NameCase{kPnpx, 0x3001, "PNPX_FirmwareVersion"},
        NameCase{kPnpx, 0x3002, "PNPX_SerialNumber"}, NameCase{kPnpx, 0x2000, "PNPX_Manufacturer"},
        NameCase{kPnpx, 0x2001, "PNPX_ManufacturerUrl"}, NameCase{kPnpx, 0x2002, "PNPX_ModelName"},
        NameCase{kDevice, 14, "Device_FriendlyName"}, NameCase{kComputerName, 5, "ComputerName"},
        NameCase{kWnet, 6, "WNET_RemoteName"},
        NameCase{kPnpx, 0x1005, "{656A3BB3-ECC0-43FD-8477-4AE0404A96CD}-00001005"},
        NameCase{kPnpx, 0x3005, "{656A3BB3-ECC0-43FD-8477-4AE0404A96CD}-00003005"},
        NameCase{kDisplay, 0x5a, "{78C34FC8-104A-4ACA-9EA4-524D52996E57}-0000005a"},
        NameCase{QUuid(QStringLiteral("{63c6d5b8-f73a-4aca-967e-0cc787e0b559}")), 0x5003,
                 "{63C6D5B8-F73A-4ACA-967E-0CC787E0B559}-00005003"},
        NameCase{QUuid(), 0, "{00000000-0000-0000-0000-000000000000}-00000000"}));

TEST(WsdDumpLines, PropertiesFollowEachOther)
{
    const QStringList lines = WsdDumpLines::PropertyLines(
        QList<Property>{{kPnpx, 0x3000, QStringLiteral("Printer")},
                        {kPnpx, 0x1001, QStringList{QStringLiteral("x"), QStringLiteral("y")}},
                        {kPnpx, 0x3001, std::monostate{}}});
    EXPECT_EQ(lines, (QStringList{pad(13, "PNPX_FriendlyName = Printer\n"),
                                  pad(20, "PNPX_Types = x\n"), pad(30, " = y\n"),
                                  pad(10, "PNPX_FirmwareVersion = (empty)\n")}));
}

TEST(WsdDumpLines, LongNamesAreNotCut)
{
    EXPECT_EQ(WsdDumpLines::Line(QString(40, QLatin1Char('n')), QStringLiteral("v")),
              QString(40, QLatin1Char('n')) + QStringLiteral(" = v\n"));
}

TEST(WsdDumpLines, NotificationLines)
{
    EXPECT_EQ(WsdDumpLines::Added(QStringLiteral("id-1")), QStringLiteral("Added: id-1\n\n"));
    EXPECT_EQ(WsdDumpLines::AddResult(true), QStringLiteral("QUA_ADD retval = Succes\n"));
    EXPECT_EQ(WsdDumpLines::AddResult(false), QStringLiteral("QUA_ADD retval = False\n"));
    EXPECT_EQ(WsdDumpLines::Error(0x80070005), QStringLiteral("****** ERROR: 0x80070005\n"));
    EXPECT_EQ(WsdDumpLines::Error(1), QStringLiteral("****** ERROR: 0x00000001\n"));
    EXPECT_EQ(WsdDumpLines::EventNotification(QStringLiteral("WSD"), 1000),
              QStringLiteral("WSD sent OnEvent notification 1000\n."));
    EXPECT_EQ(WsdDumpLines::InstancesFound(3),
              QStringLiteral("Found 3 instances on your system.\n\n"));
    EXPECT_EQ(WsdDumpLines::SearchComplete(1000),
              QStringLiteral("Event: FD_EVENTID_SEARCHCOMPLETE  1000\n"));
    EXPECT_EQ(WsdDumpLines::Event(1003), QStringLiteral("Event: 1003\n"));
}

} // namespace
