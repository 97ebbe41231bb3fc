#include "ServerRoles.h"

#include <array>
#include <utility>

namespace {

// A host with none of these type bits counts as a workstation when naming
// its operating system.
constexpr quint32 kServerNamingBits = 0x17B888D8;
// Without any of these bits a host is drawn as a desktop computer.
constexpr quint32 kServerOrDeviceBits = 0x83006EFC;
// Type bits that name a non-Windows server system.
constexpr quint32 kOtherSystemBits = 0x10300800;

struct BitText {
    quint32 bit;
    const char* text;
};

struct BitFlag {
    quint32 bit;
    int flag;
};

struct FlagText {
    int flag;
    const char* text;
};

constexpr std::array<std::pair<quint32, const char*>, 5> kPlatformLines{{
    {300, "DOS"},
    {400, "OS2"},
    {500, "NT"},
    {600, "OSF"},
    {700, "VMS"},
}};

constexpr std::array<BitText, 4> kOtherSystemNames{{
    {0x100000, "SERVER_OSF "},
    {0x200000, "VMS "},
    {0x800, "XENIX_SERVER "},
    {0x10000000, "DCE"},
}};

constexpr std::array<BitText, 20> kRoleNames{{
    {0x800000, "Root of a DFS tree"},
    {0x4, "SQL SERVER"},
    {0x20, "TIME_SOURCE"},
    {0x200, "PRINTQ_SERVER"},
    {0x2000, "Workgroups Server"},
    {0x8000, "MEMBER_SRV"},
    {0x400, "DIALIN_SERVER"},
    {0x10000, "POTENTIAL_BROWSER"},
    {0x20000, "BACKUP_BROWSER"},
    {0x40000, "MASTER_BROWSER"},
    {0x80000, "DOMAIN_MASTER"},
    {0x2000000, "TERMINALSERVER"},
    {0x1000000, "Server clusters available in the domain"},
    {0x40, "Apple File Protocol server"},
    {0x80, "Novell server"},
    {0x100, "LAN  Manager 2.x domain member"},
    {0x40000000, "Servers maintained by the browser"},
    {0x800, "XENIX_SERVER"},
    {0x4000, "Microsoft File and Print for NetWare"},
    {0x4000000, "Cluster virtual servers available in the domain"},
}};

constexpr std::array<BitFlag, 17> kTypeBitFlags{{
    {0x8, 0},
    {0x10, 1},
    {0x4, 21},
    {0x20, 18},
    {0x40, 3},
    {0x80, 4},
    {0x200, 5},
    {0x400, 6},
    {0x800, 7},
    {0x4000, 8},
    {0x2000, 9},
    {0x10000, 10},
    {0x20000, 11},
    {0x40000, 12},
    {0x80000, 13},
    {0x2000000, 15},
    {0x1000000, 16},
}};

// Flags 2 and 14 have no line.
constexpr std::array<FlagText, 28> kFlagLines{{
    {0, "PRIMARY_DOMAIN_CTRL"},
    {1, "BACK_DOMAIN_CTRL"},
    {21, "MS SQL SERVER"},
    {18, "TIME_SOURCE"},
    {3, "Apple File Protocol server"},
    {4, "Novell server"},
    {5, "PRINTQ_SERVER"},
    {6, "DIALIN_SERVER"},
    {7, "UNIX_SERVER"},
    {8, "Microsoft File and Print for NetWare"},
    {9, "Workgroups Server"},
    {10, "POTENTIAL_BROWSER"},
    {11, "BACKUP_BROWSER"},
    {12, "MASTER_BROWSER"},
    {13, "DOMAIN_MASTER"},
    {15, "TERMINALSERVER"},
    {16, "CLUSTER_NT"},
    {17, "CLUSTER"},
    {19, "FIREWALL"},
    {20, "PROXY"},
    {22, "WEB"},
    {23, "IIS"},
    {24, "APACHE"},
    {25, "AN HTTP"},
    {26, "SAMBA"},
    {27, "EXCHANGE"},
    {28, "POP3"},
    {29, "SMTP"},
}};

// Shape kinds (type code plus one) of the chassis codes 1 to 24.
constexpr int kTower = 6;
constexpr int kDesktop = 7;
constexpr int kNotebook = 16;
constexpr int kRackMount = 17;
constexpr int kPocketPc = 18;
constexpr std::array<int, 24> kChassisKinds{
    kTower,     kTower,     kDesktop,   kDesktop,   kRackMount, kTower, // 1-6
    kTower,     kDesktop,   kNotebook,  kNotebook,  kPocketPc,  kNotebook, // 7-12
    kDesktop,   kNotebook,  kTower,     kRackMount, kTower,     kRackMount, // 13-18
    kRackMount, kRackMount, kRackMount, kRackMount, kRackMount, kRackMount, // 19-24
};

QString pick(bool workstation, const char* workstationName, const char* serverName)
{
    return QString::fromLatin1(workstation ? workstationName : serverName);
}

ServerRoles::OsName nt(const QString& name)
{
    return ServerRoles::OsName{name, ServerRoles::Family::Nt, false};
}

ServerRoles::OsName windows9x(quint32 minor)
{
    switch (minor) {
    case 0:
        return {QStringLiteral("Windows 95/98/Me"), ServerRoles::Family::Windows9x, false};
    case 10:
        return {QStringLiteral("Windows 98"), ServerRoles::Family::Windows9x, false};
    case 90:
        return {QStringLiteral("Windows Me"), ServerRoles::Family::Windows9x, false};
    default:
        return {QString(), ServerRoles::Family::Windows9xOther, false};
    }
}

QString major5(quint32 minor, bool workstation)
{
    switch (minor) {
    case 0:
        return pick(workstation, "Windows 2000", "Windows 2000 Server");
    case 1:
        return QStringLiteral("Windows XP");
    case 2:
        return pick(workstation, "Windows XP x64",
                    "Windows Server 2003 or Home Server or Server 2003 R2");
    default:
        return QStringLiteral("NewVersion");
    }
}

QString major6(quint32 minor, bool workstation)
{
    switch (minor) {
    case 0:
        return pick(workstation, "Windows Vista", "Windows Server 2008");
    case 1:
        return pick(workstation, "Windows 7", "Windows Server 2008 R2");
    case 2:
        return pick(workstation, "Windows 8", "Windows Server 2012");
    case 3:
        return pick(workstation, "Windows 8.1", "Windows Server 2012 R2");
    default:
        return QStringLiteral("NewVersion");
    }
}

QString major10(quint32 minor, bool workstation)
{
    return minor == 0 ? pick(workstation, "Windows 10", "Windows Server 2016")
                      : QStringLiteral("NewVersion");
}

} // namespace

QString ServerRoles::PlatformLine(quint32 platform)
{
    for (const auto& [id, line] : kPlatformLines) {
        if (id == platform)
            return QString::fromLatin1(line);
    }
    return {};
}

ServerRoles::OsName ServerRoles::NameFor(quint32 platform, quint32 major, quint32 minor,
                                         quint32 typeBits)
{
    const bool workstation = (typeBits & kServerNamingBits) == 0;
    switch (major) {
    case 3:
        return nt(QStringLiteral("WindowsNT 3.51"));
    case 4:
        if (platform != kPlatformNt)
            return windows9x(minor);
        return nt(pick(workstation, "WindowsNT 4.0", "WindowsNT 4.0 Server"));
    case 5:
        return nt(major5(minor, workstation));
    case 6:
        return nt(major6(minor, workstation));
    case 10:
        return nt(major10(minor, workstation));
    default:
        if ((typeBits & kOtherSystemBits) == 0)
            return OsName{QString(), Family::Other, true};
        return OsName{NameForOtherMajor(typeBits), Family::Other, false};
    }
}

QString ServerRoles::NameForOtherMajor(quint32 typeBits)
{
    QString name;
    for (const BitText& entry : kOtherSystemNames) {
        if (typeBits & entry.bit)
            name += QString::fromLatin1(entry.text);
    }
    return name;
}

QString ServerRoles::ServerLine(quint32 typeBits)
{
    if (typeBits & 0x8)
        return QStringLiteral("DOMAIN_CTRL");
    if (typeBits & 0x10)
        return QStringLiteral("BACK_DOMAIN_CTRL");
    if (typeBits & 0x8000)
        return QStringLiteral("NT_SERVER");
    return {};
}

bool ServerRoles::IsServerOrDevice(quint32 typeBits)
{
    return (typeBits & kServerOrDeviceBits) != 0;
}

QStringList ServerRoles::RoleNames(quint32 typeBits)
{
    QStringList names;
    for (const BitText& entry : kRoleNames) {
        if (typeBits & entry.bit)
            names.append(QString::fromLatin1(entry.text));
    }
    return names;
}

QList<quint32> ServerRoles::FlagsFor(quint32 typeBits)
{
    QList<quint32> flags(kRoleFlagCount, 0);
    for (const BitFlag& entry : kTypeBitFlags) {
        if (typeBits & entry.bit)
            flags[entry.flag] = 1;
    }
    return flags;
}

QStringList ServerRoles::FlagLines(const QList<quint32>& flags)
{
    QStringList lines;
    for (const FlagText& entry : kFlagLines) {
        if (flags.at(entry.flag) != 0)
            lines.append(QString::fromLatin1(entry.text));
    }
    return lines;
}

int ServerRoles::ShapeKindForChassis(qint32 chassis)
{
    if (chassis < 1 || chassis > qint32(kChassisKinds.size()))
        return 0;
    return kChassisKinds[size_t(chassis - 1)];
}
