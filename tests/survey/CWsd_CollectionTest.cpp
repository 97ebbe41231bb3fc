#include "survey/CWsd_Collection.h"
#include "survey/WsdDumpLines.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Property = WsdDumpLines::Property;

const QUuid kPnpx(QStringLiteral("{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}"));
const QUuid kDisplay(QStringLiteral("{78c34fc8-104a-4aca-9ea4-524d52996e57}"));
const QUuid kComputerInfo(QStringLiteral("{63c6d5b8-f73a-4aca-967e-0cc787e0b559}"));

Property identity(const char* id)
{
    return {kPnpx, 0x1005, QString::fromUtf8(id)};
}

Property categories(QStringList values)
{
    return {kDisplay, 0x5a, values};
}

Property pnpx(quint32 id, const char* value)
{
    return {kPnpx, id, QString::fromUtf8(value)};
}

Property computerInfo(const char* value)
{
    return {kComputerInfo, 0x5003, QString::fromUtf8(value)};
}

QStringList dump(const QList<Property>& properties)
{
    return WsdDumpLines::PropertyLines(properties);
}

QString noLookup(const QString&)
{
    ADD_FAILURE() << "computers are not looked up";
    return {};
}

// --- values of lines ---------------------------------------------------------

struct ValueCase {
    const char* line;
    const char* value;
};

class LineValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(LineValues, TextAfterTheEqualsSign)
{
    EXPECT_EQ(CWsd_Collection::LineValue(QString::fromUtf8(GetParam().line)),
              QString::fromUtf8(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineValues,
    ::testing::Values(ValueCase{"                PNPX_IpAddress = 10.0.0.1\n", "10.0.0.1"},
                      ValueCase{"name = a = b\n", "a = b"}, ValueCase{"name = \n", ""},
                      ValueCase{"name =\n", ""}, ValueCase{"name =x\n", "x"},
                      ValueCase{"name =  two blanks\n", " two blanks"},
                      ValueCase{"name = crlf\r\n", "crlf"}, ValueCase{"name = no break", "no break"},
                      ValueCase{"no equals sign\n", ""}, ValueCase{"", ""},
                      ValueCase{"=", ""}, ValueCase{"Added: x\n\n", ""},
                      ValueCase{"name = 複合機\n", "複合機"}));

// --- pattern matching ----------------------------------------------------------

struct PatternCase {
    QString line;
    int pattern;

    friend void PrintTo(const PatternCase& c, std::ostream* os) { *os << c.line.toStdString(); }
};

class Patterns : public ::testing::TestWithParam<PatternCase> {};

TEST_P(Patterns, FirstPatternTheLineContains)
{
    EXPECT_EQ(CWsd_Collection::PatternOf(GetParam().line), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Patterns,
    ::testing::Values(
        PatternCase{dump({identity("urn:1")}).first(), 0},
        PatternCase{dump({pnpx(0x3009, "10.0.0.1")}).first(), 1},
        PatternCase{dump({categories({"Printers"})}).first(), 2},
        PatternCase{dump({pnpx(0x3004, "Printers")}).first(), 3},
        PatternCase{dump({categories({"a", "b"})}).last(), 4},
        PatternCase{dump({pnpx(0x3000, "P")}).first(), 5},
        PatternCase{dump({pnpx(0x3001, "1.0")}).first(), 6},
        PatternCase{dump({pnpx(0x3002, "SN")}).first(), 7},
        PatternCase{dump({computerInfo("PC1/Domain:CORP")}).first(), 8},
        PatternCase{dump({pnpx(0x2000, "Maker")}).first(), 9},
        // The manufacturer's address does not match the manufacturer.
        PatternCase{dump({pnpx(0x2001, "http://maker")}).first(), -1},
        PatternCase{dump({pnpx(0x2002, "Model")}).first(), -1},
        // An identity given as a value still makes an identity line.
        PatternCase{dump({pnpx(0x3000, "{656A3BB3-ECC0-43FD-8477-4AE0404A96CD}-00001005")}).first(),
                    0},
        PatternCase{QStringLiteral("Added: x\n\n"), -1}, PatternCase{QString(), -1}));

TEST(CWsd_Collection, KeyPatternsInMatchingOrder)
{
    const auto& patterns = CWsd_Collection::KeyPatterns();
    EXPECT_EQ(patterns[4], QString(31, QLatin1Char(' ')) + QLatin1Char('='));
    EXPECT_EQ(patterns[9], QString(13, QLatin1Char(' ')) + QStringLiteral("PNPX_Manufacturer"));
    EXPECT_EQ(patterns[0], QStringLiteral("{656A3BB3-ECC0-43FD-8477-4AE0404A96CD}-00001005"));
}

// --- grouping ------------------------------------------------------------------

TEST(CWsd_Collection, GroupsLinesByIdentityInOrderOfFirstAppearance)
{
    QStringList lines{QStringLiteral("Event: 1002\n"), dump({pnpx(0x3000, "orphan")}).first()};
    lines += dump({identity("urn:a"), pnpx(0x3009, "10.0.0.1")});
    lines += WsdDumpLines::Added(QStringLiteral("a"));
    lines += dump({identity("urn:b"), pnpx(0x3009, "10.0.0.2")});
    lines += dump({identity("urn:a"), pnpx(0x3009, "10.0.0.99")});
    lines += WsdDumpLines::InstancesFound(2);

    const QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(lines);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].m_astrLines,
              dump({identity("urn:a"), pnpx(0x3009, "10.0.0.1")})
                  + QStringList{WsdDumpLines::Added(QStringLiteral("a"))});
    EXPECT_EQ(records[1].m_astrLines, dump({identity("urn:b"), pnpx(0x3009, "10.0.0.2")}));
}

TEST(CWsd_Collection, AnnouncedTwiceIsOneRecord)
{
    const QStringList device = dump({identity("urn:uuid:1"), pnpx(0x3000, "PC")});
    const QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(device + device);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].m_astrLines, device);
}

TEST(CWsd_Collection, IdentityContainingAnEarlierOneIsTheSameDevice)
{
    const QStringList lines = dump({identity("urn:uuid:1"), pnpx(0x3000, "first"),
                                    identity("urn:uuid:1/extra"), pnpx(0x3000, "second"),
                                    identity("urn:uuid"), pnpx(0x3000, "third")});
    const QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(lines);
    // The shorter identity that came later is a device of its own.
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].m_astrLines.size(), 2);
    EXPECT_EQ(records[1].m_astrLines, dump({identity("urn:uuid"), pnpx(0x3000, "third")}));
}

TEST(CWsd_Collection, EmptyIdentityDoesNotSwallowLaterDevices)
{
    const QStringList lines = dump({identity(""), pnpx(0x3000, "nameless"), identity("urn:a"),
                                    pnpx(0x3000, "A"), identity("urn:b"), pnpx(0x3000, "B")});
    const QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(lines);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].m_astrLines, dump({identity("urn:a"), pnpx(0x3000, "A")}));
    EXPECT_EQ(records[1].m_astrLines, dump({identity("urn:b"), pnpx(0x3000, "B")}));
}

TEST(CWsd_Collection, NoIdentityNoRecords)
{
    EXPECT_TRUE(CWsd_Collection::GroupDumpLines({}).isEmpty());
    EXPECT_TRUE(CWsd_Collection::GroupDumpLines(dump({pnpx(0x3009, "10.0.0.1")})).isEmpty());
}

// --- parsing ---------------------------------------------------------------------

CWsd_Collection parsed(const QList<Property>& properties,
                       const CWsd_Collection::ReverseLookup& lookup = noLookup)
{
    QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(dump(properties));
    EXPECT_EQ(records.size(), 1);
    if (records.isEmpty())
        return {};
    records[0].Parse(lookup);
    return records[0];
}

TEST(CWsd_Collection, ParsesEveryField)
{
    const CWsd_Collection r = parsed({identity("urn:pc1"), pnpx(0x3009, "192.168.1.10"),
                                      categories({"Computers"}), pnpx(0x3004, "Computers"),
                                      pnpx(0x3000, "PC One"), pnpx(0x3001, "1.2"),
                                      pnpx(0x3002, "SN-9"), computerInfo("PC1/Domain:CORP"),
                                      pnpx(0x2000, "Maker"), pnpx(0x2001, "http://maker")});
    EXPECT_EQ(r.m_strIdentity, "urn:pc1");
    EXPECT_EQ(r.m_strAddress, "192.168.1.10");
    EXPECT_EQ(r.m_strCategory, "Computers");
    EXPECT_EQ(r.m_astrCategories, QStringList{"Computers"});
    EXPECT_EQ(r.m_strDeviceCategory, "Computers");
    EXPECT_EQ(r.m_strFriendlyName, "PC One");
    EXPECT_EQ(r.m_strFirmwareVersion, "1.2");
    EXPECT_EQ(r.m_strSerialNumber, "SN-9");
    EXPECT_EQ(r.m_strComputerInfo, "\\\\PC1/Domain:CORP");
    EXPECT_EQ(r.m_strName, "\\\\PC1");
    EXPECT_EQ(r.m_strManufacturer, "Maker");
    EXPECT_TRUE(r.IsComputer());
}

TEST(CWsd_Collection, VectorCategoryKeepsEveryValue)
{
    const CWsd_Collection r = parsed(
        {identity("urn:mfp"), categories({"Printers", "Scanners", "FAX"}),
         {kPnpx, 0x1001, QStringList{"wsdp:Device", "print:PrintDeviceType"}}},
        [](const QString&) { return QString(); });
    EXPECT_EQ(r.m_strCategory, "Printers");
    EXPECT_EQ(r.m_astrCategories, (QStringList{"Printers", "Scanners", "FAX"}));
    EXPECT_FALSE(r.IsComputer());
}

TEST(CWsd_Collection, ContinuationOfAnotherVectorIsNotACategory)
{
    const CWsd_Collection r = parsed(
        {identity("urn:x"), categories({"Printers"}), pnpx(0x3000, "P"),
         {kPnpx, 0x1001, QStringList{"t1", "t2"}}, categories({"Other"})},
        [](const QString&) { return QString(); });
    EXPECT_EQ(r.m_astrCategories, (QStringList{"Printers", "Other"}));
    EXPECT_EQ(r.m_strCategory, "Other");
}

struct AddressCase {
    const char* raw;
    const char* address;
};

class RecordAddresses : public ::testing::TestWithParam<AddressCase> {};

TEST_P(RecordAddresses, ZoneIsCutOff)
{
    const CWsd_Collection r = parsed({identity("urn:p"), pnpx(0x3009, GetParam().raw)},
                                     [](const QString&) { return QString(); });
    EXPECT_EQ(r.m_strAddress, QString::fromLatin1(GetParam().address));
}

INSTANTIATE_TEST_SUITE_P(Values, RecordAddresses,
                         ::testing::Values(AddressCase{"fe80::1%12", "fe80::1"},
                                           AddressCase{"10.0.0.7", "10.0.0.7"},
                                           AddressCase{"%", ""}, AddressCase{"", ""},
                                           AddressCase{"a%b%c", "a"}));

struct ComputerCase {
    const char* label;
    const char* info;
    const char* computerInfo;
    const char* name;

    friend void PrintTo(const ComputerCase& c, std::ostream* os) { *os << c.label; }
};

class ComputerNames : public ::testing::TestWithParam<ComputerCase> {};

TEST_P(ComputerNames, UncNameFromComputerInfo)
{
    const ComputerCase& c = GetParam();
    const CWsd_Collection r =
        parsed({identity("urn:pc"), categories({"Computers"}), computerInfo(c.info)});
    EXPECT_EQ(r.m_strComputerInfo, QString::fromUtf8(c.computerInfo));
    EXPECT_EQ(r.m_strName, QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Infos, ComputerNames,
    ::testing::Values(
        ComputerCase{"domain", "PC1/Domain:CORP", "\\\\PC1/Domain:CORP", "\\\\PC1"},
        ComputerCase{"workgroup", "PC2/Workgroup:WG", "\\\\PC2/Workgroup:WG", "\\\\PC2"},
        ComputerCase{"two slashes", "PC3/a/b", "\\\\PC3/a/b", "\\\\PC3"},
        ComputerCase{"no slash", "PC4", "\\\\PC4", "\\\\PC4"},
        ComputerCase{"empty", "", "", ""},
        ComputerCase{"japanese", "経理PC/Workgroup:経理", "\\\\経理PC/Workgroup:経理", "\\\\経理PC"}));

TEST(CWsd_Collection, ComputerWithoutInfoLineHasNoName)
{
    const CWsd_Collection r = parsed({identity("urn:pc"), categories({"Computers"})});
    EXPECT_EQ(r.m_strComputerInfo, QString());
    EXPECT_EQ(r.m_strName, QString());
}

struct LookupCase {
    const char* address;
    const char* resolved;
    const char* name;
};

class OtherDeviceNames : public ::testing::TestWithParam<LookupCase> {};

TEST_P(OtherDeviceNames, ReverseLookupOfTheAddress)
{
    QString asked;
    const CWsd_Collection r = parsed(
        {identity("urn:prn"), pnpx(0x3009, GetParam().address), categories({"Printers"}),
         computerInfo("ignored")},
        [&](const QString& address) {
            asked = address;
            return QString::fromUtf8(GetParam().resolved);
        });
    EXPECT_EQ(asked, QString::fromUtf8(GetParam().address).section(QLatin1Char('%'), 0, 0));
    EXPECT_EQ(r.m_strComputerInfo, QString::fromUtf8(GetParam().name));
    EXPECT_EQ(r.m_strName, QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, OtherDeviceNames,
    ::testing::Values(LookupCase{"10.0.0.5", "printer.corp.local", "printer.corp.local"},
                      LookupCase{"10.0.0.5", "printer/extra%1", "printer"},
                      LookupCase{"fe80::5%3", "printer%eth0", "printer"},
                      LookupCase{"10.0.0.6", "", ""}));

TEST(CWsd_Collection, EmptyCategoryListIsNotAComputer)
{
    bool looked = false;
    const CWsd_Collection r = parsed({identity("urn:x"), computerInfo("PC9/Domain:CORP")},
                                     [&](const QString&) {
                                         looked = true;
                                         return QStringLiteral("host");
                                     });
    EXPECT_TRUE(looked);
    EXPECT_FALSE(r.IsComputer());
    EXPECT_EQ(r.m_strComputerInfo, "host");
}

TEST(CWsd_Collection, WithoutLookupOtherDevicesStayNameless)
{
    const CWsd_Collection r = parsed({identity("urn:x"), categories({"Printers"})}, {});
    EXPECT_EQ(r.m_strName, QString());
}

TEST(CWsd_Collection, ParsingTwiceGivesTheSameFields)
{
    CWsd_Collection r = parsed({identity("urn:pc"), categories({"Computers", "Other"}),
                                computerInfo("PC1/Domain:CORP")});
    r.Parse(noLookup);
    EXPECT_EQ(r.m_strComputerInfo, "\\\\PC1/Domain:CORP");
    EXPECT_EQ(r.m_astrCategories, (QStringList{"Computers", "Other"}));
}

TEST(CWsd_Collection, MalformedLinesAreIgnored)
{
    QStringList lines = dump({identity("urn:m")});
    lines += QStringLiteral("PNPX_FriendlyName without equals\n");
    lines += QStringLiteral("****** ERROR: 0x80004005\n");
    lines += QString(31, QLatin1Char(' ')) + QStringLiteral("= stray continuation\n");
    lines += QString();
    QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(lines);
    ASSERT_EQ(records.size(), 1);
    records[0].Parse([](const QString&) { return QString(); });
    EXPECT_EQ(records[0].m_strFriendlyName, QString());
    EXPECT_TRUE(records[0].m_astrCategories.isEmpty());
    EXPECT_EQ(records[0].m_astrLines.size(), 5);
}

} // namespace
