#include "LiveDeviceDiscovery.h"

#include "objects/AsciiText.h"
#include "survey/platform/linux/LinkInterfaces.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/NetlinkLocalNetwork.h"
#include "survey/platform/linux/ResolverNames.h"
#include "survey/platform/linux/WsdMetadata.h"

#include <QSet>
#include <QUuid>

#include <arpa/inet.h>

#include <algorithm>

namespace {

// The computer publishes this name from an IPv4 address, the kind logons go to.
bool IsIPv4Claim(const LiveDeviceDiscovery::Computer& computer, const QString& name)
{
    return computer.name.compare(name, Qt::CaseInsensitive) == 0 && !computer.address.contains(QLatin1Char(':'));
}

QString DottedText(in_addr address)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return QString::fromLatin1(text);
}

} // namespace

LiveDeviceDiscovery::LiveDeviceDiscovery(const LocalMachineProbe& machine,
                                         const WsDiscoveryClient::Options& options)
    : m_machine(machine)
    , m_client(options)
{
}

DeviceDiscoveryProbe::Result LiveDeviceDiscovery::Discover() const
{
    {
        const std::lock_guard guard(m_lock);
        ++m_generation;
        m_computers.clear();
    }
    Result result = m_client.Discover();
    if (result.error)
        return result;
    const QString name = m_machine.ComputerName();
    const QString address = PrimaryAddress();
    // A machine that runs its own WS-Discovery responder has answered already.
    QList<Computer> computers = ComputersOf(result);
    const bool listed = std::any_of(computers.cbegin(), computers.cend(),
                                    [&name](const Computer& c) { return AsciiText::equalsIgnoringCase(c.name, name); });
    if (!name.isEmpty() && !address.isEmpty() && !listed) {
        result.devices.append(LocalPublication(name, LinuxLocalMachine::Workgroup(), address));
        computers.append({name, address});
    }
    Remember(std::move(computers));
    return result;
}

void LiveDeviceDiscovery::Remember(QList<Computer> computers) const
{
    const std::lock_guard guard(m_lock);
    m_computers = std::move(computers);
}

int LiveDeviceDiscovery::Claims(const QString& name) const
{
    QSet<QString> addresses;
    for (const Computer& computer : Computers())
        if (IsIPv4Claim(computer, name))
            addresses.insert(computer.address);
    return int(addresses.size());
}

quint64 LiveDeviceDiscovery::Generation() const
{
    const std::lock_guard guard(m_lock);
    return m_generation;
}

QList<LiveDeviceDiscovery::Computer> LiveDeviceDiscovery::Computers() const
{
    const std::lock_guard guard(m_lock);
    return m_computers;
}

QString LiveDeviceDiscovery::AddressOf(const QString& name) const
{
    for (const Computer& computer : Computers())
        if (IsIPv4Claim(computer, name))
            return computer.address;
    const std::optional<NameResolutionProbe::HostEntry> entry = ResolverNames().LookupHost(name);
    return entry ? entry->address : QString();
}

QList<LiveDeviceDiscovery::Computer> LiveDeviceDiscovery::ComputersOf(const Result& result)
{
    QList<Computer> computers;
    for (const Device& device : result.devices) {
        auto [name, address] = WsDiscoveryClient::ComputerOf(device);
        if (!name.isEmpty())
            computers.append({name, address});
    }
    return computers;
}

DeviceDiscoveryProbe::Device LiveDeviceDiscovery::LocalPublication(const QString& computerName,
                                                                   const QString& workgroup,
                                                                   const QString& address)
{
    // A stable identity: the same machine publishes the same endpoint.
    const QUuid identity = QUuid::createUuidV5(QUuid(QStringLiteral("{b2a4e9d0-6c1f-4f7e-9d3a-2f1e0c5b7a11}")),
                                               computerName.toUpper());
    WsdMetadata metadata;
    metadata.deviceCategories = {QStringLiteral("Computers")};
    metadata.friendlyName = computerName;
    metadata.computer = computerName + QStringLiteral("/Workgroup:") + workgroup;
    return WsDiscoveryClient::DeviceOf(
        QStringLiteral("urn:uuid:") + identity.toString(QUuid::WithoutBraces), address, metadata);
}

QString LiveDeviceDiscovery::PrimaryAddress()
{
    const QList<LinkInterfaces::Interface> interfaces = LinkInterfaces::Usable();
    if (interfaces.isEmpty())
        return {};
    for (const LocalNetworkProbe::Adapter& adapter : NetlinkLocalNetwork().Adapters()) {
        if (adapter.gateway.address.isEmpty())
            continue;
        for (const LinkInterfaces::Interface& interface : interfaces)
            if (interface.name == adapter.name)
                return DottedText(interface.address);
    }
    return DottedText(interfaces.first().address);
}
