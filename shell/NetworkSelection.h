#pragma once

#include "survey/platform/NetworkChoice.h"
#include "survey/platform/NetworkProbes.h"

#include <QString>

#include <atomic>
#include <memory>
#include <vector>

// The network the desktop's surveys ask, chosen by the user: the live
// network, or a simulated one that every window then names plainly. Surveys
// hold on to this object; the choice changes only while none runs.
class NetworkSelection final : public NetworkProbes {
public:
    explicit NetworkSelection(NetworkChoice::Opened initial);

    void Select(NetworkChoice::Opened network);
    // Empty while the live network is selected.
    QString SimulatedName() const { return m_simulatedName; }

    const DeviceDiscoveryProbe& Discovery() const override { return Current().Discovery(); }
    const NameResolutionProbe& Names() const override { return Current().Names(); }
    const PingProbe& Ping() const override { return Current().Ping(); }
    const ServerInfoProbe& ServerInfo() const override { return Current().ServerInfo(); }
    const SharedPrinterProbe& SharedPrinters() const override { return Current().SharedPrinters(); }
    const LocalNetworkProbe& LocalNetwork() const override { return Current().LocalNetwork(); }
    const SnmpProbe& Snmp() const override { return Current().Snmp(); }
    const UpnpGatewayProbe& UpnpGateway() const override { return Current().UpnpGateway(); }
    const WmiProbe& Wmi() const override { return Current().Wmi(); }
    const LocalMachineProbe& LocalMachine() const override { return Current().LocalMachine(); }

private:
    const NetworkProbes& Current() const { return *m_current.load(); }

    // Every network ever selected stays alive with the selection, so no
    // reference handed out earlier can dangle.
    std::vector<std::unique_ptr<NetworkProbes>> m_networks;
    std::atomic<const NetworkProbes*> m_current;
    QString m_simulatedName;
};
