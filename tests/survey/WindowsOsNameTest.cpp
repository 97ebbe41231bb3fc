#include "survey/WindowsOsName.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Facts = WindowsOsName::VersionFacts;

constexpr quint32 k9x = WindowsOsName::kPlatformWindows9x;
constexpr quint32 kNt = WindowsOsName::kPlatformNt;
constexpr quint8 kWs = WindowsOsName::kProductWorkstation;
constexpr quint8 kSrv = WindowsOsName::kProductServer;
constexpr quint8 kDc = WindowsOsName::kProductDomainController;
constexpr quint16 kX86 = WindowsOsName::kArchitectureX86;
constexpr quint16 kX64 = WindowsOsName::kArchitectureX64;
constexpr quint16 kIa64 = WindowsOsName::kArchitectureItanium;
constexpr quint16 kArm64 = 12;

struct NameCase {
    const char* label;
    Facts facts;
    const char* name;
    bool wmi;

    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }
};

Facts nt(quint32 major, quint32 minor, quint32 build, quint8 type, quint16 arch,
         quint32 code = 0, const char* sp = "", quint32 suite = 0, bool r2 = false)
{
    return Facts{major, minor, build, kNt, QString::fromLatin1(sp), suite, type, arch, code, r2};
}

Facts nine(quint32 minor)
{
    return Facts{4, minor, 1111, k9x, QString::fromLatin1(" A "), 0, 0, kX86, 0, false};
}

class WindowsNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(WindowsNames, NameAndWmiFlag)
{
    const NameCase& c = GetParam();
    const WindowsOsName::Result result = WindowsOsName::Name(c.facts);
    EXPECT_EQ(result.name, QString::fromLatin1(c.name));
    EXPECT_EQ(result.wmiCapable, c.wmi);
}

INSTANTIATE_TEST_SUITE_P(
    Windows9x, WindowsNames,
    ::testing::Values(NameCase{"95", nine(0), "Windows 95", false},
                      NameCase{"98", nine(10), "Windows 98", false},
                      NameCase{"ME", nine(90), "Windows ME", false},
                      NameCase{"unknown minor", nine(5), "", false}));

INSTANTIATE_TEST_SUITE_P(
    OlderNt, WindowsNames,
    ::testing::Values(
        NameCase{"NT 3.51", nt(3, 51, 1057, kSrv, kX86), "Windows NT 3.51 (build 1057)", true},
        NameCase{"NT 4 SP6", nt(4, 0, 1381, kWs, kX86, 0, "Service Pack 6"),
                 "Windows NT 4.0 Service Pack 6 (build 1381)", true},
        NameCase{"2000 Pro", nt(5, 0, 2195, kWs, kX86, 0, "Service Pack 4"),
                 "Windows 2000 Professional Service Pack 4 (build 2195)", false},
        NameCase{"2000 Datacenter",
                 nt(5, 0, 2195, kSrv, kX86, 0, "", WindowsOsName::kSuiteDatacenter),
                 "Windows 2000 Datacenter Server (build 2195)", false},
        NameCase{"2000 Advanced",
                 nt(5, 0, 2195, kDc, kX86, 0, "", WindowsOsName::kSuiteEnterprise),
                 "Windows 2000 Advanced Server (build 2195)", false},
        NameCase{"2000 Server", nt(5, 0, 2195, kSrv, kX86), "Windows 2000 Server (build 2195)",
                 false},
        NameCase{"XP Home", nt(5, 1, 2600, kWs, kX86, 0, "Service Pack 3",
                               WindowsOsName::kSuitePersonal),
                 "Windows XP Home Edition Service Pack 3 (build 2600)", false},
        NameCase{"XP Pro", nt(5, 1, 2600, kWs, kX86), "Windows XP Professional (build 2600)",
                 true},
        NameCase{"5.3", nt(5, 3, 42, kWs, kX86), " (build 42)", true}));

INSTANTIATE_TEST_SUITE_P(
    Server2003Family, WindowsNames,
    ::testing::Values(
        NameCase{"R2", nt(5, 2, 3790, kSrv, kX86, 0, "", WindowsOsName::kSuiteEnterprise, true),
                 "Windows Server 2003 R2 Enterprise Edition (build 3790)", true},
        NameCase{"storage", nt(5, 2, 3790, kSrv, kX86, 0, "", WindowsOsName::kSuiteStorageServer),
                 "Windows Storage Server 2003 Standard Edition (build 3790)", true},
        NameCase{"home server", nt(5, 2, 3790, kSrv, kX86, 0, "", WindowsOsName::kSuiteHomeServer),
                 "Windows Home Server Standard Edition (build 3790)", true},
        NameCase{"XP x64", nt(5, 2, 3790, kWs, kX64, 0, "Service Pack 2"),
                 "Windows XP Professional x64 Edition Service Pack 2 (build 3790)", true},
        NameCase{"Itanium datacenter",
                 nt(5, 2, 3790, kSrv, kIa64, 0, "", WindowsOsName::kSuiteDatacenter),
                 "Windows Server 2003 Datacenter Edition for Itanium-based Systems (build 3790)",
                 true},
        NameCase{"Itanium enterprise",
                 nt(5, 2, 3790, kSrv, kIa64, 0, "", WindowsOsName::kSuiteEnterprise),
                 "Windows Server 2003 Enterprise Edition for Itanium-based Systems (build 3790)",
                 true},
        NameCase{"Itanium plain", nt(5, 2, 3790, kSrv, kIa64),
                 "Windows Server 2003  (build 3790)", true},
        NameCase{"x64 datacenter",
                 nt(5, 2, 3790, kSrv, kX64, 0, "", WindowsOsName::kSuiteDatacenter),
                 "Windows Server 2003 Datacenter x64 Edition (build 3790)", true},
        NameCase{"x64 enterprise",
                 nt(5, 2, 3790, kSrv, kX64, 0, "", WindowsOsName::kSuiteEnterprise),
                 "Windows Server 2003 Enterprise x64 Edition (build 3790)", true},
        NameCase{"x64 standard", nt(5, 2, 3790, kSrv, kX64),
                 "Windows Server 2003 Standard x64 Edition (build 3790)", true},
        NameCase{"compute cluster",
                 nt(5, 2, 3790, kSrv, kX86, 0, "",
                    WindowsOsName::kSuiteComputeServer | WindowsOsName::kSuiteDatacenter),
                 "Windows Server 2003 Compute Cluster Edition (build 3790)", true},
        NameCase{"datacenter", nt(5, 2, 3790, kSrv, kX86, 0, "", WindowsOsName::kSuiteDatacenter),
                 "Windows Server 2003 Datacenter Edition (build 3790)", true},
        NameCase{"enterprise", nt(5, 2, 3790, kSrv, kX86, 0, "", WindowsOsName::kSuiteEnterprise),
                 "Windows Server 2003 Enterprise Edition (build 3790)", true},
        NameCase{"web", nt(5, 2, 3790, kSrv, kX86, 0, "", WindowsOsName::kSuiteBlade),
                 "Windows Server 2003 Web Edition (build 3790)", true},
        NameCase{"standard", nt(5, 2, 3790, kDc, kX86, 0, "Service Pack 2"),
                 "Windows Server 2003 Standard Edition Service Pack 2 (build 3790)", true}));

INSTANTIATE_TEST_SUITE_P(
    Version6, WindowsNames,
    ::testing::Values(
        NameCase{"7 Home Premium", nt(6, 1, 7601, kWs, kX64, 3, "Service Pack 1"),
                 "Windows 7 Home Premium Edition Service Pack 1 (build 7601) 64-bit", false},
        NameCase{"Vista Home Basic", nt(6, 0, 6002, kWs, kX86, 2),
                 "Windows Vista Home Basic Edition (build 6002) 32-bit", false},
        NameCase{"7 Starter", nt(6, 1, 7600, kWs, kX86, 11),
                 "Windows 7 Starter Edition (build 7600) 32-bit", false},
        NameCase{"7 Home Premium N", nt(6, 1, 7600, kWs, kX64, 26),
                 "Windows 7 Home Premium N (build 7600) 64-bit", false},
        NameCase{"7 Ultimate", nt(6, 1, 7601, kWs, kX64, 1),
                 "Windows 7 Ultimate Edition (build 7601) 64-bit", true},
        NameCase{"Vista no edition", nt(6, 0, 6000, kWs, kX86, 5),
                 "Windows Vista  (build 6000) 32-bit", true},
        NameCase{"2008", nt(6, 0, 6001, kSrv, kX64, 8),
                 "Windows Server 2008 Server Datacenter (full installation) (build 6001) 64-bit",
                 true},
        NameCase{"2008 R2", nt(6, 1, 7601, kDc, kX64, 7, "Service Pack 1"),
                 "Windows Server 2008 R2 Standard Edition Service Pack 1 (build 7601) 64-bit",
                 true},
        NameCase{"8 Pro", nt(6, 2, 9200, kWs, kX64, 48), "Windows 8 Professional (build 9200) 64-bit",
                 true},
        NameCase{"8.1 Itanium", nt(6, 3, 9600, kWs, kIa64, 4),
                 "Windows 8.1 Enterprise Edition (build 9600)", true},
        NameCase{"6.4 unknown minor", nt(6, 4, 9800, kWs, kArm64, 48),
                 "Professional (build 9800)", true}));

// The server names of 2012 end without a blank; the edition is still set apart.
INSTANTIATE_TEST_SUITE_P(
    Server2012Separator, WindowsNames,
    ::testing::Values(
        NameCase{"2012", nt(6, 2, 9200, kSrv, kX64, 7),
                 "Windows Server 2012 Standard Edition (build 9200) 64-bit", true},
        NameCase{"2012 R2", nt(6, 3, 9600, kSrv, kX64, 8),
                 "Windows Server 2012 R2 Server Datacenter (full installation) (build 9600) 64-bit",
                 true},
        NameCase{"2012 no edition", nt(6, 2, 9200, kSrv, kX64, 57),
                 "Windows Server 2012 (build 9200) 64-bit", true}));

INSTANTIATE_TEST_SUITE_P(
    Version10, WindowsNames,
    ::testing::Values(
        NameCase{"10 Pro", nt(10, 0, 19045, kWs, kX64, 48), "Windows 10 (build 19045) 64-bit",
                 true},
        NameCase{"10 home code ignored", nt(10, 0, 19045, kWs, kX86, 3),
                 "Windows 10 (build 19045) 32-bit", true},
        NameCase{"2016", nt(10, 0, 14393, kSrv, kX64, 7, "Update"),
                 "Windows Server 2016 Update (build 14393) 64-bit", true},
        NameCase{"10.1", nt(10, 1, 1, kWs, kX64), " (build 1) 64-bit", true}));

TEST(WindowsOsName, OtherPlatformsHaveNoName)
{
    Facts facts = nt(6, 1, 7601, kWs, kX64, 1);
    facts.platformId = 0;
    EXPECT_EQ(WindowsOsName::Name(facts).name, QString());
    EXPECT_FALSE(WindowsOsName::Name(facts).wmiCapable);
    facts.platformId = 3;
    EXPECT_EQ(WindowsOsName::Name(facts).name, QString());
}

struct EditionCase {
    quint32 code;
    const char* text;
};

class Editions : public ::testing::TestWithParam<EditionCase> {};

TEST_P(Editions, TextByProductTypeCode)
{
    EXPECT_EQ(WindowsOsName::EditionText(GetParam().code), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Editions,
    ::testing::Values(
        EditionCase{1, "Ultimate Edition"}, EditionCase{2, "Home Basic Edition"},
        EditionCase{3, "Home Premium Edition"}, EditionCase{4, "Enterprise Edition"},
        EditionCase{6, "Business Edition"}, EditionCase{7, "Standard Edition"},
        EditionCase{8, "Server Datacenter (full installation)"},
        EditionCase{9, "Small Business Server"}, EditionCase{10, "Enterprise Edition"},
        EditionCase{11, "Starter Edition"},
        EditionCase{12, "Datacenter Edition (core installation)"},
        EditionCase{13, "Standard Edition (core installation)"},
        EditionCase{14, "Enterprise Edition (core installation)"},
        EditionCase{15, "Enterprise Edition for Itanium-based Systems"},
        EditionCase{17, "Web Server Edition"}, EditionCase{18, "Cluster Server Edition"},
        EditionCase{19, "Windows Storage Server 2008 R2 Essentials"},
        EditionCase{20, "Storage Server Express"}, EditionCase{21, "Storage Server Standard"},
        EditionCase{22, "Storage Server Workgroup"}, EditionCase{23, "Storage Server Enterprise"},
        EditionCase{24, "Windows Server 2008 for Windows Essential Server Solutions"},
        EditionCase{25, "Small Business Server Premium Edition"},
        EditionCase{26, "Home Premium N"}, EditionCase{28, "Ultimate N"},
        EditionCase{29, "Web Server (core installation)"},
        EditionCase{30, "Windows Essential Business Server Management Server"},
        EditionCase{31, "Windows Essential Business Server Security Server"},
        EditionCase{32, "Windows Essential Business Server Messaging Server"},
        EditionCase{33, "Server Foundation"}, EditionCase{34, "Windows Home Server 2011"},
        EditionCase{35,
                    "Windows Server 2008 without Hyper-V for Windows Essential Server Solutions"},
        EditionCase{36, "Server Standard without Hyper-V"},
        EditionCase{37, "Server Datacenter without Hyper-V (full installation)"},
        EditionCase{38, "Server Enterprise without Hyper-V (full installation)"},
        EditionCase{39, "Server Datacenter without Hyper-V (core installation)"},
        EditionCase{40, "Server Standard without Hyper-V (core installation)"},
        EditionCase{41, "Server Enterprise without Hyper-V (core installation)"},
        EditionCase{42, "Microsoft Hyper-V Server"},
        EditionCase{43, "Storage Server Express (core installation)"},
        EditionCase{44, "Storage Server Standard (core installation)"},
        EditionCase{45, "Storage Server Workgroup (core installation)"},
        EditionCase{46, "Storage Server Enterprise (core installation)"},
        EditionCase{47, "Starter N"}, EditionCase{48, "Professional"},
        EditionCase{50, "Windows Small Business Server 2011 Essentials"},
        EditionCase{51, "Server For SB Solutions"}, EditionCase{52, "Server Solutions Premium"},
        EditionCase{53, "Server Solutions Premium (core installation)"},
        EditionCase{55, "Server For SB Solutions EM"}, EditionCase{56, "Windows MultiPoint Server"},
        EditionCase{59, "Windows Essential Server Solution Management"},
        EditionCase{60, "Windows Essential Server Solution Additional"},
        EditionCase{61, "Windows Essential Server Solution Management SVC"},
        EditionCase{62, "Windows Essential Server Solution Additional SVC"},
        EditionCase{63, "Small Business Server Premium (core installation)"},
        EditionCase{64, "Server Hyper Core V"}));

INSTANTIATE_TEST_SUITE_P(Unknown, Editions,
                         ::testing::Values(EditionCase{0, ""}, EditionCase{5, ""},
                                           EditionCase{16, ""}, EditionCase{27, ""},
                                           EditionCase{49, ""}, EditionCase{54, ""},
                                           EditionCase{57, ""}, EditionCase{58, ""},
                                           EditionCase{65, ""}, EditionCase{0xABCDEF, ""}));

} // namespace
