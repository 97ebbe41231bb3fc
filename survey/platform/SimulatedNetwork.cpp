#include "SimulatedNetwork.h"

#include "survey/WindowsOsName.h"
#include "survey/platform/SimulatedNetworkReader.h"
#include "survey/platform/SimulatedWmiSession.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <utility>

SimulatedNetwork::SimulatedNetwork(SimulatedNetworkData data)
    : m_data(std::move(data))
{
    // The first host that has a name or address answers to it.
    for (qsizetype n = 0; n < m_data.hosts.size(); ++n) {
        const SimulatedNetworkData::Host& host = m_data.hosts.at(n);
        if (!m_hostByAddress.contains(host.address.toLower()))
            m_hostByAddress.insert(host.address.toLower(), n);
        QStringList names = host.aliases;
        names << host.address << host.computerName << host.dnsName;
        for (const QString& name : std::as_const(names))
            if (!name.isEmpty() && !m_hostByName.contains(name.toLower()))
                m_hostByName.insert(name.toLower(), n);
    }
}

SimulatedNetwork::LoadResult SimulatedNetwork::load(const QString& path)
{
    QFile file(path);
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
        return {nullptr, QStringLiteral("%1: cannot be read: not a regular file").arg(path)};
    if (!file.open(QIODevice::ReadOnly))
        return {nullptr, QStringLiteral("%1: cannot be read: %2").arg(path, file.errorString())};
    // Far beyond the largest network worth simulating, and refused before
    // it is read whole into memory.
    constexpr qint64 kMaxNetworkBytes = qint64(1) << 30;
    if (file.size() > kMaxNetworkBytes)
        return {nullptr, QStringLiteral("%1: too large for a simulated network (over 1 GiB)").arg(path)};
    LoadResult result = loadFromBytes(file.readAll());
    if (!result.network)
        result.error = path + QStringLiteral(": ") + result.error;
    return result;
}

SimulatedNetwork::LoadResult SimulatedNetwork::loadFromBytes(const QByteArray& json)
{
    auto read = SimulatedNetworkReader::Read(json);
    if (auto* error = std::get_if<QString>(&read))
        return {nullptr, *error};
    return {std::unique_ptr<SimulatedNetwork>(
                new SimulatedNetwork(std::move(std::get<SimulatedNetworkData>(read)))),
            QString()};
}

const SimulatedNetworkData& SimulatedNetwork::Data() const { return m_data; }

const DeviceDiscoveryProbe& SimulatedNetwork::Discovery() const { return *this; }
const NameResolutionProbe& SimulatedNetwork::Names() const { return *this; }
const PingProbe& SimulatedNetwork::Ping() const { return *this; }
const ServerInfoProbe& SimulatedNetwork::ServerInfo() const { return *this; }
const SharedPrinterProbe& SimulatedNetwork::SharedPrinters() const { return *this; }
const LocalNetworkProbe& SimulatedNetwork::LocalNetwork() const { return *this; }
const SnmpProbe& SimulatedNetwork::Snmp() const { return *this; }
const UpnpGatewayProbe& SimulatedNetwork::UpnpGateway() const { return *this; }
const WmiProbe& SimulatedNetwork::Wmi() const { return *this; }
const LocalMachineProbe& SimulatedNetwork::LocalMachine() const { return *this; }

DeviceDiscoveryProbe::Result SimulatedNetwork::Discover() const
{
    if (const quint32 failure = Enter(QStringLiteral("discovery")))
        return {failure, {}};
    DeviceDiscoveryProbe::Result result;
    for (const SimulatedNetworkData::Host& host : m_data.hosts)
        if (host.discoverable)
            result.devices.append({host.providerInstanceId, host.discovery});
    return result;
}

QString SimulatedNetwork::ReverseLookup(const QString& address) const
{
    const SimulatedNetworkData::Host* host = HostByAddress(address);
    if (Enter(QStringLiteral("reverseLookup")) || !host)
        return address;
    return OfficialName(*host);
}

std::optional<NameResolutionProbe::HostEntry> SimulatedNetwork::LookupHost(const QString& name) const
{
    const SimulatedNetworkData::Host* host = HostByName(name);
    if (Enter(QStringLiteral("lookupHost")) || !host)
        return std::nullopt;
    return HostEntry{OfficialName(*host), host->address};
}

QString SimulatedNetwork::ForwardLookup(const QString& name) const
{
    const SimulatedNetworkData::Host* host = HostByName(name);
    if (Enter(QStringLiteral("forwardLookup")) || !host || host->address.contains(QLatin1Char(':')))
        return QString();
    return host->address;
}

bool SimulatedNetwork::Echo(const QString& address, int timeoutMs) const
{
    const SimulatedNetworkData::Host* host = HostByAddress(address);
    if (Enter(QStringLiteral("ping")) == 0 && host && host->answersPing)
        return true;
    QThread::msleep(qMax(timeoutMs, 0));
    return false;
}

ServerInfoProbe::Result SimulatedNetwork::ServerInfo101(const QString& serverName) const
{
    QString name = serverName;
    while (name.startsWith(QLatin1Char('\\')))
        name.remove(0, 1);
    const SimulatedNetworkData::Host* host = HostByName(name);
    if (const quint32 failure = Enter(QStringLiteral("serverInfo")))
        return {failure, {}};
    if (!host || (!host->serverInfo && host->serverInfoError == 0))
        return {kBadNetPath, {}};
    if (!host->serverInfo)
        return {host->serverInfoError, {}};
    return {0, *host->serverInfo};
}

SharedPrinterProbe::Result SimulatedNetwork::Enumerate() const
{
    if (const quint32 failure = Enter(QStringLiteral("sharedPrinters")))
        return {failure, {}};
    return {0, m_data.sharedPrinters};
}

QList<LocalNetworkProbe::Adapter> SimulatedNetwork::Adapters() const
{
    if (Enter(QStringLiteral("adapters")))
        return {};
    return m_data.adapters;
}

QList<LocalNetworkProbe::Neighbour> SimulatedNetwork::Neighbours() const
{
    if (Enter(QStringLiteral("neighbours")))
        return {};
    return m_data.neighbours;
}

std::optional<QByteArray> SimulatedNetwork::ArpLookup(const QString& address) const
{
    if (Enter(QStringLiteral("arpLookup")))
        return std::nullopt;
    for (const Neighbour& neighbour : m_data.neighbours)
        if (neighbour.address == address)
            return neighbour.mac;
    return std::nullopt;
}

std::optional<QByteArray> SimulatedNetwork::ResolveIpv6Neighbour(const QString& address) const
{
    if (Enter(QStringLiteral("ipv6Neighbour")))
        return std::nullopt;
    for (const Neighbour& neighbour : m_data.neighbours)
        if (neighbour.address.compare(address, Qt::CaseInsensitive) == 0)
            return neighbour.mac;
    return std::nullopt;
}

SnmpProbe::Result SimulatedNetwork::Get(const QString& agent, const QString& community,
                                        const QString& oid, int timeoutMs) const
{
    const SimulatedNetworkData::Host* host = HostByAddress(agent);
    const bool known = host && host->snmp.contains(community);
    if (Enter(QStringLiteral("snmp")) || !known) {
        // An agent ignores a community it does not know: the request times out.
        QThread::msleep(qMax(timeoutMs, 0));
        return {};
    }
    const SimulatedNetworkData::SnmpTable& table = host->snmp[community];
    const QString key = oid.startsWith(QLatin1Char('.')) ? oid.mid(1) : oid;
    if (!table.contains(key))
        return {true, kNoSuchName, Null{}};
    return {true, 0, table[key]};
}

std::optional<UpnpGatewayProbe::Gateway> SimulatedNetwork::FindGateway() const
{
    if (Enter(QStringLiteral("upnp")))
        return std::nullopt;
    return m_data.upnpGateway;
}

WmiProbe::Connection SimulatedNetwork::Connect(const QString& host,
                                               const std::optional<Credentials>& credentials) const
{
    const SimulatedNetworkData::Host* target = HostByName(host.mid(host.startsWith("\\\\") ? 2 : 0));
    if (const quint32 failure = Enter(QStringLiteral("wmiConnect")))
        return {failure, nullptr};
    if (!target || !target->wmi)
        return {kServerUnavailable, nullptr};
    const SimulatedNetworkData::Wmi& wmi = *target->wmi;
    if (wmi.connectError)
        return {wmi.connectError, nullptr};
    if (wmi.account && !(credentials && SameCredentials(*credentials, *wmi.account)))
        return {kAccessDenied, nullptr};
    auto gate = [this] { return Enter(QStringLiteral("wmiEnumerate")); };
    return {0, std::make_unique<SimulatedWmiSession>(wmi, gate)};
}

QString SimulatedNetwork::ComputerName() const
{
    Enter(QStringLiteral("localMachine"));
    return m_data.computerName;
}

LocalMachineProbe::OsVersion SimulatedNetwork::Version() const
{
    Enter(QStringLiteral("localMachine"));
    return m_data.osVersion;
}

QString SimulatedNetwork::OsName() const
{
    return WindowsOsName::Name(VersionFacts()).name;
}

bool SimulatedNetwork::WmiCapable() const
{
    return WindowsOsName::Name(VersionFacts()).wmiCapable;
}

WindowsOsName::VersionFacts SimulatedNetwork::VersionFacts() const
{
    const OsVersion version = Version();
    WindowsOsName::VersionFacts facts;
    facts.major = version.major;
    facts.minor = version.minor;
    facts.build = version.build;
    facts.platformId = version.platformId;
    facts.servicePack = version.csdVersion;
    facts.suiteMask = version.suiteMask;
    facts.productType = quint8(version.productType);
    facts.productTypeCode = version.productInfo;
    // Simulated machines are all of today's kind.
    facts.processorArchitecture = WindowsOsName::kArchitectureX64;
    return facts;
}

DiscoveryServiceCheck::Probe SimulatedNetwork::DiscoveryService(const QString& service) const
{
    Enter(QStringLiteral("localMachine"));
    // A service the file does not name is not installed: ERROR_SERVICE_DOES_NOT_EXIST.
    return m_data.discoveryServices.value(service,
                                          {DiscoveryServiceCheck::kOpenService, 1060, false});
}

quint32 SimulatedNetwork::Enter(const QString& probe) const
{
    const SimulatedNetworkData::Behaviour behaviour = m_data.behaviours.value(probe);
    if (behaviour.delayMs > 0)
        QThread::msleep(behaviour.delayMs);
    return behaviour.failWith;
}

const SimulatedNetworkData::Host* SimulatedNetwork::HostByAddress(const QString& address) const
{
    const auto it = m_hostByAddress.constFind(address.toLower());
    return it == m_hostByAddress.cend() ? nullptr : &m_data.hosts.at(*it);
}

// A host is known by its address, computer name, DNS name or any alias.
const SimulatedNetworkData::Host* SimulatedNetwork::HostByName(const QString& name) const
{
    const auto it = m_hostByName.constFind(name.toLower());
    return it == m_hostByName.cend() ? nullptr : &m_data.hosts.at(*it);
}

QString SimulatedNetwork::OfficialName(const SimulatedNetworkData::Host& host)
{
    if (!host.dnsName.isEmpty())
        return host.dnsName;
    return host.computerName.isEmpty() ? host.address : host.computerName;
}

bool SimulatedNetwork::SameCredentials(const Credentials& a, const Credentials& b)
{
    return a.domain.compare(b.domain, Qt::CaseInsensitive) == 0
           && a.user.compare(b.user, Qt::CaseInsensitive) == 0 && a.password == b.password;
}
