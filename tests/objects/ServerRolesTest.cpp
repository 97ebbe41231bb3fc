#include "objects/ServerRoles.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "objects/CDrawSys.h"

#include <gtest/gtest.h>

namespace {

using Family = ServerRoles::Family;

// --- operating-system names -------------------------------------------------

struct OsCase {
    quint32 platform;
    quint32 major;
    quint32 minor;
    quint32 typeBits;
    const char* name;
    Family family;
    bool printer;

    friend void PrintTo(const OsCase& c, std::ostream* os)
    {
        *os << c.platform << " " << c.major << "." << c.minor << " bits " << std::hex << c.typeBits;
    }
};

class OsNames : public ::testing::TestWithParam<OsCase> {};

TEST_P(OsNames, NameAndFamilyByVersion)
{
    const OsCase& c = GetParam();
    const ServerRoles::OsName os = ServerRoles::NameFor(c.platform, c.major, c.minor, c.typeBits);
    EXPECT_EQ(os.name, QString::fromLatin1(c.name));
    EXPECT_EQ(os.family, c.family);
    EXPECT_EQ(os.isPrinter, c.printer);
}

constexpr quint32 kWs = 0x1003; // none of the server naming bits
constexpr quint32 kSrv = 0x8000; // one of them
INSTANTIATE_TEST_SUITE_P(
    Versions, OsNames,
    ::testing::Values(OsCase{500, 3, 51, kSrv, "WindowsNT 3.51", Family::Nt, false},
                      OsCase{400, 4, 0, 0, "Windows 95/98/Me", Family::Windows9x, false},
                      OsCase{300, 4, 10, kSrv, "Windows 98", Family::Windows9x, false},
                      OsCase{400, 4, 90, 0, "Windows Me", Family::Windows9x, false},
                      OsCase{400, 4, 5, 0, "", Family::Windows9xOther, false},
                      OsCase{500, 4, 0, kWs, "WindowsNT 4.0", Family::Nt, false},
                      OsCase{500, 4, 0, kSrv, "WindowsNT 4.0 Server", Family::Nt, false},
                      OsCase{500, 5, 0, kWs, "Windows 2000", Family::Nt, false},
                      OsCase{500, 5, 0, 0x8, "Windows 2000 Server", Family::Nt, false},
                      OsCase{500, 5, 1, kSrv, "Windows XP", Family::Nt, false},
                      OsCase{500, 5, 2, kWs, "Windows XP x64", Family::Nt, false},
                      OsCase{500, 5, 2, 0x10000000,
                             "Windows Server 2003 or Home Server or Server 2003 R2", Family::Nt,
                             false},
                      OsCase{500, 5, 3, kWs, "NewVersion", Family::Nt, false},
                      OsCase{500, 6, 0, kWs, "Windows Vista", Family::Nt, false},
                      OsCase{500, 6, 0, 0x80, "Windows Server 2008", Family::Nt, false},
                      OsCase{500, 6, 1, kWs, "Windows 7", Family::Nt, false},
                      OsCase{500, 6, 1, 0x800B, "Windows Server 2008 R2", Family::Nt, false},
                      OsCase{500, 6, 2, kWs, "Windows 8", Family::Nt, false},
                      OsCase{500, 6, 2, 0x800000, "Windows Server 2012", Family::Nt, false},
                      OsCase{500, 6, 3, kWs, "Windows 8.1", Family::Nt, false},
                      OsCase{500, 6, 3, 0x2000000, "Windows Server 2012 R2", Family::Nt, false},
                      OsCase{500, 6, 4, kWs, "NewVersion", Family::Nt, false},
                      OsCase{500, 10, 0, kWs, "Windows 10", Family::Nt, false},
                      OsCase{500, 10, 0, 0x10, "Windows Server 2016", Family::Nt, false},
                      OsCase{500, 10, 1, kWs, "NewVersion", Family::Nt, false},
                      OsCase{600, 7, 0, 0x100800, "SERVER_OSF XENIX_SERVER ", Family::Other, false},
                      OsCase{700, 8, 1, 0x10200000, "VMS DCE", Family::Other, false},
                      OsCase{500, 7, 0, 0x40, "", Family::Other, true},
                      OsCase{0, 0, 0, 0, "", Family::Other, true}));

TEST(ServerRoles, PlatformLines)
{
    const QList<QPair<quint32, QString>> lines{
        {300, "DOS"}, {400, "OS2"}, {500, "NT"}, {600, "OSF"}, {700, "VMS"}, {100, ""}, {0, ""},
    };
    for (const auto& [platform, line] : lines)
        EXPECT_EQ(ServerRoles::PlatformLine(platform), line) << platform;
}

TEST(ServerRoles, ServerLineTakesTheFirstMatchingBit)
{
    EXPECT_EQ(ServerRoles::ServerLine(0x8 | 0x10 | 0x8000), QStringLiteral("DOMAIN_CTRL"));
    EXPECT_EQ(ServerRoles::ServerLine(0x10 | 0x8000), QStringLiteral("BACK_DOMAIN_CTRL"));
    EXPECT_EQ(ServerRoles::ServerLine(0x8000), QStringLiteral("NT_SERVER"));
    EXPECT_EQ(ServerRoles::ServerLine(0x7FFF & ~0x18u), QString());
}

// --- role flags and names ---------------------------------------------------

struct FlagCase {
    quint32 bit;
    int flag; // -1: no flag

    friend void PrintTo(const FlagCase& c, std::ostream* os) { *os << "bit " << std::hex << c.bit; }
};

class RoleFlag : public ::testing::TestWithParam<FlagCase> {};

TEST_P(RoleFlag, OneFlagPerTypeBit)
{
    QList<quint32> expected(ServerRoles::kRoleFlagCount, 0);
    if (GetParam().flag >= 0)
        expected[GetParam().flag] = 1;
    EXPECT_EQ(ServerRoles::FlagsFor(GetParam().bit), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, RoleFlag,
    ::testing::Values(FlagCase{0x8, 0}, FlagCase{0x10, 1}, FlagCase{0x4, 21}, FlagCase{0x20, 18},
                      FlagCase{0x40, 3}, FlagCase{0x80, 4}, FlagCase{0x200, 5}, FlagCase{0x400, 6},
                      FlagCase{0x800, 7}, FlagCase{0x4000, 8}, FlagCase{0x2000, 9},
                      FlagCase{0x10000, 10}, FlagCase{0x20000, 11}, FlagCase{0x40000, 12},
                      FlagCase{0x80000, 13}, FlagCase{0x2000000, 15}, FlagCase{0x1000000, 16},
                      FlagCase{0x1, -1}, FlagCase{0x2, -1}, FlagCase{0x100, -1},
                      FlagCase{0x1000, -1}, FlagCase{0x8000, -1}, FlagCase{0x100000, -1},
                      FlagCase{0x800000, -1}, FlagCase{0x4000000, -1}, FlagCase{0x40000000, -1},
                      FlagCase{0x80000000, -1}));

TEST(ServerRoles, RoleNamesInLabelOrder)
{
    const QStringList all{
        "Root of a DFS tree",
        "SQL SERVER",
        "TIME_SOURCE",
        "PRINTQ_SERVER",
        "Workgroups Server",
        "MEMBER_SRV",
        "DIALIN_SERVER",
        "POTENTIAL_BROWSER",
        "BACKUP_BROWSER",
        "MASTER_BROWSER",
        "DOMAIN_MASTER",
        "TERMINALSERVER",
        "Server clusters available in the domain",
        "Apple File Protocol server",
        "Novell server",
        "LAN  Manager 2.x domain member",
        "Servers maintained by the browser",
        "XENIX_SERVER",
        "Microsoft File and Print for NetWare",
        "Cluster virtual servers available in the domain",
    };
    EXPECT_EQ(ServerRoles::RoleNames(0xFFFFFFFF), all);
    EXPECT_EQ(ServerRoles::RoleNames(0x800B), QStringList{"MEMBER_SRV"});
    EXPECT_EQ(ServerRoles::RoleNames(0x1 | 0x2 | 0x8 | 0x10), QStringList());
}

TEST(ServerRoles, FlagLinesInLabelOrder)
{
    const QStringList all{
        "PRIMARY_DOMAIN_CTRL",
        "BACK_DOMAIN_CTRL",
        "MS SQL SERVER",
        "TIME_SOURCE",
        "Apple File Protocol server",
        "Novell server",
        "PRINTQ_SERVER",
        "DIALIN_SERVER",
        "UNIX_SERVER",
        "Microsoft File and Print for NetWare",
        "Workgroups Server",
        "POTENTIAL_BROWSER",
        "BACKUP_BROWSER",
        "MASTER_BROWSER",
        "DOMAIN_MASTER",
        "TERMINALSERVER",
        "CLUSTER_NT",
        "CLUSTER",
        "FIREWALL",
        "PROXY",
        "WEB",
        "IIS",
        "APACHE",
        "AN HTTP",
        "SAMBA",
        "EXCHANGE",
        "POP3",
        "SMTP",
    };
    EXPECT_EQ(ServerRoles::FlagLines(QList<quint32>(30, 1)), all);
    QList<quint32> twoAndFourteen(30, 0);
    twoAndFourteen[2] = 1;
    twoAndFourteen[14] = 1;
    EXPECT_EQ(ServerRoles::FlagLines(twoAndFourteen), QStringList());
}

// --- chassis ----------------------------------------------------------------

struct ChassisCase {
    qint32 chassis;
    int typeCode; // 0: unknown code, nothing changes
    Rect size;

    friend void PrintTo(const ChassisCase& c, std::ostream* os) { *os << "chassis " << c.chassis; }
};

class Chassis : public ::testing::TestWithParam<ChassisCase> {};

TEST_P(Chassis, SetsTheKindAndItsDefaultSize)
{
    const ChassisCase& c = GetParam();
    CNetDoc doc;
    auto* system = new CDrawSys(Rect{500, 500, 640, 680});
    doc.AddObject(system);
    system->m_nChassisType = 99;
    system->SetChassisType(c.chassis);
    EXPECT_EQ(system->m_nChassisType, c.typeCode ? c.chassis : 0);
    EXPECT_EQ(system->m_nTypeCode, c.typeCode ? c.typeCode : CDrawSys::kTower);
    EXPECT_EQ(system->m_position, (c.typeCode ? c.size : Rect{500, 500, 640, 680}));
}

const Rect kTowerSize{0, 0, 140, 180};
const Rect kDesktopSize{0, 0, 130, 182};
const Rect kRackSize{0, 0, 195, 39};
const Rect kNotebookSize{0, 0, 100, 78};
INSTANTIATE_TEST_SUITE_P(
    Codes, Chassis,
    ::testing::Values(ChassisCase{1, CDrawSys::kTower, kTowerSize},
                      ChassisCase{2, CDrawSys::kTower, kTowerSize},
                      ChassisCase{3, CDrawSys::kDesktop, kDesktopSize},
                      ChassisCase{4, CDrawSys::kDesktop, kDesktopSize},
                      ChassisCase{5, CDrawSys::kRackMount, kRackSize},
                      ChassisCase{6, CDrawSys::kTower, kTowerSize},
                      ChassisCase{7, CDrawSys::kTower, kTowerSize},
                      ChassisCase{8, CDrawSys::kDesktop, kDesktopSize},
                      ChassisCase{9, CDrawSys::kNotebook, kNotebookSize},
                      ChassisCase{10, CDrawSys::kNotebook, kNotebookSize},
                      ChassisCase{11, CDrawSys::kPocketPc, Rect{0, 0, 75, 100}},
                      ChassisCase{12, CDrawSys::kNotebook, kNotebookSize},
                      ChassisCase{13, CDrawSys::kDesktop, kDesktopSize},
                      ChassisCase{14, CDrawSys::kNotebook, kNotebookSize},
                      ChassisCase{15, CDrawSys::kTower, kTowerSize},
                      ChassisCase{16, CDrawSys::kRackMount, kRackSize},
                      ChassisCase{17, CDrawSys::kTower, kTowerSize},
                      ChassisCase{18, CDrawSys::kRackMount, kRackSize},
                      ChassisCase{21, CDrawSys::kRackMount, kRackSize},
                      ChassisCase{24, CDrawSys::kRackMount, kRackSize}, ChassisCase{0, 0, Rect{}},
                      ChassisCase{25, 0, Rect{}}, ChassisCase{-3, 0, Rect{}}));

// --- a system's server information ------------------------------------------

struct ServerInfoCase {
    const char* name;
    ServerRecord101 info; // platform, name, major, minor, type bits, comment
    quint16 serverInfoOk;
    QStringList failureLines;
    const char* presetOs;
    QStringList roles;
    const char* os;
    qint32 ntFamily;
    int typeCode;
    QList<int> flags;

    friend void PrintTo(const ServerInfoCase& c, std::ostream* os) { *os << c.name; }
};

class ServerInfo : public ::testing::TestWithParam<ServerInfoCase> {};

TEST_P(ServerInfo, NameRoleLinesKindAndFlags)
{
    const ServerInfoCase& c = GetParam();
    CNetDoc doc;
    auto* system = new CDrawSys(Rect{0, 0, 140, 180});
    doc.AddObject(system);
    system->m_strOs = QString::fromUtf8(c.presetOs);
    system->m_astrFailureLines = c.failureLines;
    system->SetServerInfoOk(c.serverInfoOk);
    system->m_serverInfo101 = c.info;

    system->SetServerInfo(c.info);

    EXPECT_EQ(system->m_astrRoles, c.roles);
    EXPECT_EQ(system->m_strOs, QString::fromUtf8(c.os));
    EXPECT_EQ(system->m_bNtFamily, c.ntFamily);
    EXPECT_EQ(system->m_nTypeCode, c.typeCode);
    EXPECT_EQ(system->m_dwServerType, c.info[4]);
    EXPECT_EQ(system->m_nOsMajor, qint32(c.info[2]));
    EXPECT_EQ(system->m_nOsMinor, qint32(c.info[3]));
    QList<quint32> flags(30, 0);
    for (int flag : c.flags)
        flags[flag] = 1;
    EXPECT_EQ(system->RoleFlags(), flags);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, ServerInfo,
    ::testing::Values(ServerInfoCase{"DomainController",
                                     {500, 0, 6, 1, 0x800B, 0},
                                     1,
                                     {},
                                     "",
                                     {"Windows Server 2008 R2", "DOMAIN_CTRL"},
                                     "Windows Server 2008 R2",
                                     1,
                                     CDrawSys::kTower,
                                     {0}},
                      // None of the server or device bits: shown as a desktop.
                      ServerInfoCase{"NtServer",
                                     {500, 0, 6, 1, 0x8003, 0},
                                     1,
                                     {},
                                     "",
                                     {"Windows Server 2008 R2", "NT_SERVER"},
                                     "Windows Server 2008 R2",
                                     1,
                                     CDrawSys::kDesktop,
                                     {}},
                      ServerInfoCase{"Windows98",
                                     {400, 0, 4, 10, 0, 0},
                                     1,
                                     {},
                                     "",
                                     {"Windows 98"},
                                     "Windows 98",
                                     0,
                                     CDrawSys::kDesktop,
                                     {}},
                      // The platform line stays and the server line goes one further down.
                      ServerInfoCase{"Os2UnknownMinor",
                                     {400, 0, 4, 5, 0x8, 0},
                                     1,
                                     {},
                                     "",
                                     {"OS2", "", "DOMAIN_CTRL"},
                                     "",
                                     0,
                                     CDrawSys::kTower,
                                     {}},
                      ServerInfoCase{"CaptionFromTheInventoryWins",
                                     {500, 0, 10, 0, 0x1003, 0},
                                     1,
                                     {},
                                     "Windows 11 Pro",
                                     {"Windows 11 Pro"},
                                     "Windows 11 Pro",
                                     1,
                                     CDrawSys::kDesktop,
                                     {}},
                      ServerInfoCase{"UnknownMajorIsAPrinter",
                                     {500, 0, 7, 0, 0x40, 0},
                                     1,
                                     {},
                                     "",
                                     {""},
                                     "",
                                     1,
                                     CDrawSys::kPrinter,
                                     {3}},
                      // The desktop rule comes after the printer rule.
                      ServerInfoCase{"UnknownMajorWithoutTypeBits",
                                     {500, 0, 7, 0, 0, 0},
                                     1,
                                     {},
                                     "",
                                     {""},
                                     "",
                                     1,
                                     CDrawSys::kDesktop,
                                     {}},
                      ServerInfoCase{"OtherServerSystem",
                                     {600, 0, 8, 0, 0x100800, 0},
                                     1,
                                     {},
                                     "",
                                     {"SERVER_OSF XENIX_SERVER "},
                                     "SERVER_OSF XENIX_SERVER ",
                                     1,
                                     CDrawSys::kTower,
                                     {7}},
                      ServerInfoCase{"FailureLinesReplaceTheRoles",
                                     {500, 0, 6, 1, 0x8, 0},
                                     0,
                                     {"101_ACCESS_DENIED 5"},
                                     "",
                                     {"101_ACCESS_DENIED 5"},
                                     "Windows Server 2008 R2",
                                     1,
                                     CDrawSys::kDesktop,
                                     {}},
                      ServerInfoCase{"FailureWithoutLines",
                                     {500, 0, 6, 1, 0x8, 0},
                                     0,
                                     {},
                                     "",
                                     {"Windows Server 2008 R2"},
                                     "Windows Server 2008 R2",
                                     1,
                                     CDrawSys::kDesktop,
                                     {}},
                      ServerInfoCase{"DosWorkstation",
                                     {300, 0, 5, 1, 0x1003, 0},
                                     1,
                                     {},
                                     "",
                                     {"Windows XP"},
                                     "Windows XP",
                                     1,
                                     CDrawSys::kDesktop,
                                     {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ServerInfoOfASystem, ChassisKeepsTheKind)
{
    CNetDoc doc;
    auto* system = new CDrawSys(Rect{});
    doc.AddObject(system);
    system->SetChassisType(9);
    system->SetServerInfo({500, 0, 10, 0, 0, 0});
    EXPECT_EQ(system->m_nTypeCode, CDrawSys::kNotebook);
}

TEST(ServerInfoOfASystem, FlagsComeFromTheLevel101Record)
{
    CDrawSys system(Rect{});
    system.m_dwServerType = 0x8;
    system.m_serverInfo101[4] = 0x10 | 0x1000000;
    system.ComputeRoleFlags();
    QList<quint32> flags(30, 0);
    flags[1] = 1;
    flags[16] = 1;
    EXPECT_EQ(system.RoleFlags(), flags);
    system.m_bNtFamily = 0;
    system.ComputeRoleFlags();
    EXPECT_EQ(system.RoleFlags(), QList<quint32>(30, 0));
    system.m_bNtFamily = 1;
    system.m_wServerInfoOk = 2;
    system.ComputeRoleFlags();
    EXPECT_EQ(system.RoleFlags(), QList<quint32>(30, 0));
}

struct RoleNamesCase {
    const char* name;
    qint32 ntFamily;
    quint16 typeNames;
    quint16 serverInfoOk;
    QStringList failureLines;
    QStringList appended;

    friend void PrintTo(const RoleNamesCase& c, std::ostream* os) { *os << c.name; }
};

class RoleNames : public ::testing::TestWithParam<RoleNamesCase> {};

TEST_P(RoleNames, AppendedToTheRoleLines)
{
    const RoleNamesCase& c = GetParam();
    CDrawSys system(Rect{});
    system.m_astrRoles = {QStringLiteral("Windows Server 2016")};
    system.m_bNtFamily = c.ntFamily;
    system.SetServerTypeNames(c.typeNames);
    system.SetServerInfoOk(c.serverInfoOk);
    system.m_astrFailureLines = c.failureLines;
    ServerRecord102 info{};
    info[4] = 0x800B | 0x20;
    system.SetServerRoleNames(info);
    EXPECT_EQ(system.m_astrRoles, QStringList{QStringLiteral("Windows Server 2016")} + c.appended);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoleNames,
    ::testing::Values(
        RoleNamesCase{"NtFamily", 1, 1, 1, {"ignored"}, {"TIME_SOURCE", "MEMBER_SRV"}},
        RoleNamesCase{"NotNtFamily", 0, 1, 1, {"ignored"}, {}},
        RoleNamesCase{"FailureLines", 1, 0, 1, {"101_ERR_1", "x"}, {"101_ERR_1", "x"}},
        RoleNamesCase{"FailureLinesOfNon9x", 0, 0, 1, {"101_ERR_1"}, {"101_ERR_1"}},
        RoleNamesCase{"NothingObtained", 1, 0, 0, {"101_ERR_1"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RoleLabel, RebuiltFromTheFlagsAndNotes)
{
    CDrawSys system(Rect{});
    system.m_strOs = QStringLiteral("Windows Server 2016");
    system.m_astrServerNotes = {QStringLiteral("月曜日に再起動"), QStringLiteral("UPS")};
    QList<quint32> flags(30, 0);
    flags[21] = 1;
    flags[0] = 1;
    flags[2] = 1;
    flags[14] = 1;
    flags[29] = 1;
    system.RoleFlags() = flags;
    system.RebuildRoleLabel();
    EXPECT_EQ(system.m_astrRoles,
              (QStringList{"Windows Server 2016", "PRIMARY_DOMAIN_CTRL", "MS SQL SERVER", "SMTP",
                           QStringLiteral("月曜日に再起動"), "UPS"}));
}

TEST(RoleLabel, NotForHubsAndPrinters)
{
    for (int typeCode : {CDrawSys::kHub, CDrawSys::kPrinter}) {
        CDrawSys system(Rect{});
        system.m_nTypeCode = typeCode;
        system.m_astrRoles = {QStringLiteral("kept")};
        system.RebuildRoleLabel();
        EXPECT_EQ(system.m_astrRoles, QStringList{QStringLiteral("kept")});
    }
}

TEST(RoleLabel, TooFewFlagsIsAnInvalidArgument)
{
    CDrawSys system(Rect{});
    system.m_astrRoles = {QStringLiteral("kept")};
    system.RoleFlags() = QList<quint32>(29, 1);
    try {
        system.RebuildRoleLabel();
        FAIL() << "no error";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.cause(), ArchiveException::Cause::InvalidArgument);
    }
    EXPECT_EQ(system.m_astrRoles, QStringList{QStringLiteral("kept")});
}

} // namespace
