#include "LiveDeviceDiscovery.h"

#include "survey/platform/linux/LinkInterfaces.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/NetlinkLocalNetwork.h"
#include "survey/platform/linux/WsdMetadata.h"

#include <QUuid>

#include <arpa/inet.h>

namespace {

constexpr auto kComputerInfo = "{63c6d5b8-f73a-4aca-967e-0cc787e0b559}";
constexpr quint32 kComputerInfoId = 0x5003;
constexpr auto kPnpx = "{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}";
constexpr quint32 kIpAddressId = 0x3009;

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
    if (!name.isEmpty() && !address.isEmpty() && !Lists(result, name))
        result.devices.append(LocalPublication(name, LinuxLocalMachine::Workgroup(), address));
    const std::lock_guard guard(m_lock);
    m_computers = ComputersOf(result);
    return result;
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

QList<LiveDeviceDiscovery::Computer> LiveDeviceDiscovery::ComputersOf(const Result& result)
{
    const QUuid computerInfo = QUuid::fromString(QLatin1String(kComputerInfo));
    const QUuid pnpx = QUuid::fromString(QLatin1String(kPnpx));
    QList<Computer> computers;
    for (const Device& device : result.devices) {
        Computer computer;
        for (const WsdDumpLines::Property& property : device.properties) {
            const QString* text = std::get_if<QString>(&property.value);
            if (!text)
                continue;
            if (property.formatId == computerInfo && property.propertyId == kComputerInfoId)
                computer.name = text->section(QLatin1Char('/'), 0, 0);
            else if (property.formatId == pnpx && property.propertyId == kIpAddressId)
                computer.address = text->section(QLatin1Char('%'), 0, 0);
        }
        if (!computer.name.isEmpty())
            computers.append(computer);
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

bool LiveDeviceDiscovery::Lists(const Result& result, const QString& computerName)
{
    const QString prefix = computerName + QLatin1Char('/');
    for (const Device& device : result.devices)
        for (const WsdDumpLines::Property& property : device.properties)
            if (property.propertyId == kComputerInfoId
                && property.formatId == QUuid::fromString(QLatin1String(kComputerInfo))
                && std::get_if<QString>(&property.value)
                && std::get<QString>(property.value).startsWith(prefix, Qt::CaseInsensitive))
                return true;
    return false;
}
