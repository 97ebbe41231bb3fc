#pragma once

#include "survey/platform/NetworkProbes.h"
#include "survey/WindowsOsName.h"
#include "survey/platform/SimulatedNetworkData.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

// A network that exists only in a description file: every probe answers from
// the file, after the file's delay for that probe, or fails with the file's
// failure code for it. The data never changes after loading, so every probe
// is safe to call from any number of threads at once.
class SimulatedNetwork final : public NetworkProbes,
                               DeviceDiscoveryProbe,
                               NameResolutionProbe,
                               PingProbe,
                               ServerInfoProbe,
                               SharedPrinterProbe,
                               LocalNetworkProbe,
                               SnmpProbe,
                               UpnpGatewayProbe,
                               WmiProbe,
                               LocalMachineProbe {
public:
    static constexpr quint32 kAccessDenied = 0x80070005; // E_ACCESSDENIED
    static constexpr quint32 kServerUnavailable = 0x800706BA; // RPC_S_SERVER_UNAVAILABLE
    static constexpr quint32 kBadNetPath = 53; // ERROR_BAD_NETPATH
    static constexpr quint32 kNoSuchName = 2; // SNMP error status noSuchName

    struct LoadResult {
        std::unique_ptr<SimulatedNetwork> network; // null on failure
        QString error; // "<file>: <JSON path>: <what is wrong>"
    };

    static LoadResult load(const QString& path);
    static LoadResult loadFromBytes(const QByteArray& json);

    const SimulatedNetworkData& Data() const;

    const DeviceDiscoveryProbe& Discovery() const override;
    const NameResolutionProbe& Names() const override;
    const PingProbe& Ping() const override;
    const ServerInfoProbe& ServerInfo() const override;
    const SharedPrinterProbe& SharedPrinters() const override;
    const LocalNetworkProbe& LocalNetwork() const override;
    const SnmpProbe& Snmp() const override;
    const UpnpGatewayProbe& UpnpGateway() const override;
    const WmiProbe& Wmi() const override;
    const LocalMachineProbe& LocalMachine() const override;

    DeviceDiscoveryProbe::Result Discover() const override;
    QString ReverseLookup(const QString& address) const override;
    std::optional<HostEntry> LookupHost(const QString& name) const override;
    QString ForwardLookup(const QString& name) const override;
    bool Echo(const QString& address, int timeoutMs) const override;
    ServerInfoProbe::Result ServerInfo101(const QString& serverName) const override;
    SharedPrinterProbe::Result Enumerate() const override;
    QList<Adapter> Adapters() const override;
    QList<Neighbour> Neighbours() const override;
    std::optional<QByteArray> ArpLookup(const QString& address) const override;
    std::optional<QByteArray> ResolveIpv6Neighbour(const QString& address) const override;
    SnmpProbe::Result Get(const QString& agent, const QString& community, const QString& oid,
                          int timeoutMs) const override;
    std::optional<Gateway> FindGateway() const override;
    Connection Connect(const QString& host,
                       const std::optional<Credentials>& credentials) const override;
    QString ComputerName() const override;
    OsVersion Version() const override;
    QString OsName() const override;
    bool WmiCapable() const override;
    DiscoveryServiceCheck::Probe DiscoveryService(const QString& service) const override;

private:
    explicit SimulatedNetwork(SimulatedNetworkData data);

    // Sleeps for the probe's delay and gives its failure code (0 for none).
    quint32 Enter(const QString& probe) const;
    const SimulatedNetworkData::Host* HostByAddress(const QString& address) const;
    const SimulatedNetworkData::Host* HostByName(const QString& name) const;
    WindowsOsName::VersionFacts VersionFacts() const;
    static QString OfficialName(const SimulatedNetworkData::Host& host);
    static bool SameCredentials(const Credentials& a, const Credentials& b);

    SimulatedNetworkData m_data;
    QHash<QString, qsizetype> m_hostByAddress; // lower-case address to host index
    QHash<QString, qsizetype> m_hostByName; // lower-case name or address to host index
};
