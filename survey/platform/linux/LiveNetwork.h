#pragma once

#include "survey/platform/NetworkProbes.h"
#include "survey/platform/linux/IcmpEchoProbe.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/NetlinkLocalNetwork.h"
#include "survey/platform/linux/ResolverNames.h"
#include "survey/platform/linux/UnsupportedProbes.h"

// The real network around this Linux machine, reached through the kernel
// and the system's own services.
class LiveNetwork final : public NetworkProbes {
public:
    explicit LiveNetwork(const WsDiscoveryClient::Options& discovery = {});

    const DeviceDiscoveryProbe& Discovery() const override { return m_discovery; }
    const NameResolutionProbe& Names() const override { return m_names; }
    const PingProbe& Ping() const override { return m_ping; }
    const ServerInfoProbe& ServerInfo() const override { return m_unsupported; }
    const SharedPrinterProbe& SharedPrinters() const override { return m_unsupported; }
    const LocalNetworkProbe& LocalNetwork() const override { return m_localNetwork; }
    const SnmpProbe& Snmp() const override { return m_unsupported; }
    const UpnpGatewayProbe& UpnpGateway() const override { return m_unsupported; }
    const WmiProbe& Wmi() const override { return m_unsupported; }
    const LocalMachineProbe& LocalMachine() const override { return m_machine; }

private:
    LinuxLocalMachine m_machine;
    LiveDeviceDiscovery m_discovery;
    ResolverNames m_names;
    IcmpEchoProbe m_ping;
    NetlinkLocalNetwork m_localNetwork;
    UnsupportedProbes m_unsupported;
};
