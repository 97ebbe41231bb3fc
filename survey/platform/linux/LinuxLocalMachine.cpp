#include "LinuxLocalMachine.h"

#include "survey/LinuxOsName.h"
#include "survey/platform/linux/LinkInterfaces.h"
#include "survey/platform/linux/UniqueFd.h"

#include <QFile>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr auto kDiscoveryGroup = "239.255.255.250";
constexpr qsizetype kMaxConfigText = 1024 * 1024;

QString ReadText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(kMaxConfigText));
}

// Joining the group on the interface proves that multicast can be sent and
// heard there; the membership ends with the socket.
QString JoinFailure(const LinkInterfaces::Interface& interface)
{
    const UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return QStringLiteral("socket->%1 UDPソケットを作成できません。").arg(QString::fromLocal8Bit(strerror(errno)));
    ip_mreqn membership{};
    inet_pton(AF_INET, kDiscoveryGroup, &membership.imr_multiaddr);
    membership.imr_address = interface.address;
    membership.imr_ifindex = int(interface.index);
    if (setsockopt(fd.get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership) != 0)
        return QStringLiteral("IP_ADD_MEMBERSHIP->%1 %2 でWS-Discoveryのマルチキャストグループ(239.255.255.250)に参加できません。")
            .arg(QString::fromLocal8Bit(strerror(errno)), interface.name);
    return {};
}

} // namespace

QString LinuxLocalMachine::ComputerName() const
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    return QString::fromLocal8Bit(name).section(QLatin1Char('.'), 0, 0).toUpper();
}

LocalMachineProbe::OsVersion LinuxLocalMachine::Version() const
{
    return {};
}

QString LinuxLocalMachine::OsName() const
{
    QString osRelease = ReadText(QStringLiteral("/etc/os-release"));
    if (osRelease.isEmpty())
        osRelease = ReadText(QStringLiteral("/usr/lib/os-release"));
    utsname system{};
    const QString kernel = uname(&system) == 0 ? QString::fromLocal8Bit(system.release) : QString();
    return LinuxOsName::Name(osRelease, kernel);
}

DiscoveryServiceCheck::Probe LinuxLocalMachine::DiscoveryService(const QString&) const
{
    // The normal answer of a service that starts automatically.
    return {DiscoveryServiceCheck::kQueryConfig, 122, true};
}

DiscoveryServiceCheck::Verdict LinuxLocalMachine::SurveyPrecondition() const
{
    const QList<LinkInterfaces::Interface> interfaces = LinkInterfaces::Usable();
    if (interfaces.isEmpty())
        return {false,
                QStringLiteral("getifaddrs->NO_INTERFACE 起動中でIPv4アドレスを持ち、マルチキャスト"
                               "できるネットワークインターフェースがありません。"),
                false};
    QString failure;
    for (const LinkInterfaces::Interface& interface : interfaces) {
        failure = JoinFailure(interface);
        if (failure.isEmpty())
            return {true, QString(), false};
    }
    return {false, failure, false};
}

bool LinuxLocalMachine::WmiCapable() const
{
    // WMI is reached over WS-Management, which needs nothing of this machine.
    return true;
}

QString LinuxLocalMachine::Workgroup()
{
    return WorkgroupOf(ReadText(QStringLiteral("/etc/samba/smb.conf")));
}

QString LinuxLocalMachine::WorkgroupOf(const QString& smbConfText)
{
    static const QRegularExpression setting(
        QStringLiteral("^workgroup\\s*=\\s*([^\\s;#]+)"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QString section;
    for (const QString& line : smbConfText.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')))
            section = trimmed.toLower();
        else if (section == QLatin1String("[global]")) {
            const QRegularExpressionMatch match = setting.match(trimmed);
            if (match.hasMatch())
                return match.captured(1).toUpper();
        }
    }
    return QStringLiteral("WORKGROUP");
}
