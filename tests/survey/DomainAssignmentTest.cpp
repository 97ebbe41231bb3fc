#include "survey/DomainAssignment.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

CWsd_Collection computer(const char* info)
{
    CWsd_Collection record;
    record.m_astrCategories = {QStringLiteral("Computers")};
    record.m_strCategory = QStringLiteral("Computers");
    record.m_strComputerInfo = QString::fromUtf8(info);
    return record;
}

CWsd_Collection device(const char* name, const char* address)
{
    CWsd_Collection record;
    record.m_astrCategories = {QStringLiteral("Printers")};
    record.m_strCategory = QStringLiteral("Printers");
    record.m_strComputerInfo = QString::fromUtf8(name);
    record.m_strAddress = QString::fromUtf8(address);
    return record;
}

TEST(DomainAssignment, FirstDomainIsTheSurveyDomain)
{
    const DomainAssignment a = DomainAssignment::Assign(
        {computer("\\\\PC1/Workgroup:WG"), computer("\\\\PC2/Domain:CORP"),
         device("printer.local", "10.0.0.9")});
    EXPECT_EQ(a.m_strSurveyDomain, "CORP");
    EXPECT_EQ(a.m_astrSurveyHosts, (QStringList{"\\\\PC1", "\\\\PC2", "printer.local"}));
    EXPECT_EQ(a.DomainOfHost, (QMap<QString, QString>{{"\\\\PC1", "WG"},
                                                      {"\\\\PC2", "CORP"},
                                                      {"printer.local", "CORP"}}));
    EXPECT_EQ(a.OtherDeviceAddresses, QStringList{"10.0.0.9"});
}

TEST(DomainAssignment, WithoutDomainTheLastWorkgroupWins)
{
    const DomainAssignment a = DomainAssignment::Assign(
        {computer("\\\\PC1/Workgroup:WG"), computer("\\\\PC2/Workgroup:HOME"),
         device("printer.local", "10.0.0.9")});
    EXPECT_EQ(a.m_strSurveyDomain, "HOME");
    EXPECT_EQ(a.DomainOfHost.value("printer.local"), "HOME");
    EXPECT_EQ(a.DomainOfHost.value("\\\\PC1"), "WG");
    EXPECT_EQ(a.DomainOfHost.value("\\\\PC2"), "HOME");
}

struct DomainCase {
    const char* label;
    QStringList candidates;
    const char* domain;

    friend void PrintTo(const DomainCase& c, std::ostream* os) { *os << c.label; }
};

class SurveyDomains : public ::testing::TestWithParam<DomainCase> {};

TEST_P(SurveyDomains, ScanOfTheCandidates)
{
    EXPECT_EQ(DomainAssignment::SurveyDomain(GetParam().candidates),
              QString::fromUtf8(GetParam().domain));
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, SurveyDomains,
    ::testing::Values(
        DomainCase{"none", {}, ""},
        DomainCase{"one workgroup", {"Workgroup:WG"}, "WG"},
        DomainCase{"domain first", {"Domain:CORP", "Workgroup:WG"}, "CORP"},
        DomainCase{"first of two domains", {"Domain:A", "Domain:B"}, "A"},
        DomainCase{"domain without colon passed over", {"Domain", "Domain:B"}, "B"},
        DomainCase{"last is a domain without colon", {"Workgroup:WG", "Domain"}, ""},
        DomainCase{"last has no colon", {"Workgroup:WG", "Workgroup"}, ""},
        DomainCase{"value after the first colon", {"Domain:a:b"}, "a:b"},
        DomainCase{"case matters", {"DOMAIN:X", "domain:Y"}, "Y"},
        DomainCase{"domain in the middle of the text", {"Workgroup:MyDomainWG", "Workgroup:Z"},
                   "MyDomainWG"},
        DomainCase{"empty name", {"Domain:"}, ""}));

TEST(DomainAssignment, ComputersWithoutGroupTextAreLeftOut)
{
    const DomainAssignment a = DomainAssignment::Assign(
        {computer("\\\\PC1"), computer(""), computer("\\\\PC2/NoColon"),
         computer("\\\\PC3/Workgroup:WG")});
    EXPECT_EQ(a.m_astrSurveyHosts, (QStringList{"\\\\PC2", "\\\\PC3"}));
    EXPECT_EQ(a.DomainOfHost, (QMap<QString, QString>{{"\\\\PC3", "WG"}}));
    EXPECT_TRUE(a.OtherDeviceAddresses.isEmpty());
    EXPECT_EQ(a.m_strSurveyDomain, "WG");
}

TEST(DomainAssignment, RecordWithoutCategoriesCountsAsDevice)
{
    CWsd_Collection bare;
    bare.m_strComputerInfo = QStringLiteral("thing.local");
    bare.m_strAddress = QStringLiteral("10.0.0.3");
    const DomainAssignment a =
        DomainAssignment::Assign({bare, computer("\\\\PC1/Domain:CORP")});
    EXPECT_EQ(a.m_astrSurveyHosts, (QStringList{"thing.local", "\\\\PC1"}));
    EXPECT_EQ(a.DomainOfHost.value("thing.local"), "CORP");
    EXPECT_EQ(a.OtherDeviceAddresses, QStringList{"10.0.0.3"});
}

TEST(DomainAssignment, CategoryIsMatchedExactly)
{
    CWsd_Collection lower = computer("\\\\PC1/Domain:CORP");
    lower.m_astrCategories = {QStringLiteral("computers")};
    const DomainAssignment a = DomainAssignment::Assign({lower});
    EXPECT_EQ(a.m_strSurveyDomain, QString());
    EXPECT_EQ(a.OtherDeviceAddresses.size(), 1);
}

TEST(DomainAssignment, OnlyDevicesGiveAnEmptySurveyDomain)
{
    const DomainAssignment a =
        DomainAssignment::Assign({device("a.local", "10.0.0.1"), device("", "10.0.0.2")});
    EXPECT_EQ(a.m_astrSurveyHosts, (QStringList{"a.local", ""}));
    EXPECT_EQ(a.DomainOfHost, (QMap<QString, QString>{{"a.local", ""}, {"", ""}}));
    EXPECT_EQ(a.OtherDeviceAddresses, (QStringList{"10.0.0.1", "10.0.0.2"}));
}

TEST(DomainAssignment, NoRecordsNothingAssigned)
{
    const DomainAssignment a = DomainAssignment::Assign({});
    EXPECT_TRUE(a.m_astrSurveyHosts.isEmpty());
    EXPECT_TRUE(a.DomainOfHost.isEmpty());
    EXPECT_TRUE(a.m_strSurveyDomain.isEmpty());
}

} // namespace
