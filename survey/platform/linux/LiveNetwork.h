#pragma once

#include "survey/platform/NetworkProbes.h"
#include "survey/platform/linux/IcmpEchoProbe.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/MiniUpnpGateway.h"
#include "survey/platform/linux/NetSnmpProbe.h"
#include "survey/platform/linux/NetlinkLocalNetwork.h"
#include "survey/platform/linux/ResolverNames.h"
#include "survey/platform/linux/SambaServerInfo.h"
#include "survey/platform/linux/WsManWmiProbe.h"

// The real network around this Linux machine, reached through the kernel
// and the system's own services.
class LiveNetwork final : public NetworkProbes {
public:
    explicit LiveNetwork(const WsDiscoveryClient::Options& discovery = {},
                         const SambaServerInfo::Options& smb = {},
                         const WsManWmiProbe::Options& wmi = {});

    const DeviceDiscoveryProbe& Discovery() const override { return m_discovery; }
    const NameResolutionProbe& Names() const override { return m_names; }
    const PingProbe& Ping() const override { return m_ping; }
    const ServerInfoProbe& ServerInfo() const override { return m_samba; }
    const SharedPrinterProbe& SharedPrinters() const override { return m_samba; }
    const LocalNetworkProbe& LocalNetwork() const override { return m_localNetwork; }
    const SnmpProbe& Snmp() const override { return m_snmp; }
    const UpnpGatewayProbe& UpnpGateway() const override { return m_upnp; }
    const WmiProbe& Wmi() const override { return m_wmi; }
    const LocalMachineProbe& LocalMachine() const override { return m_machine; }

private:
    LinuxLocalMachine m_machine;
    LiveDeviceDiscovery m_discovery;
    ResolverNames m_names;
    IcmpEchoProbe m_ping;
    NetlinkLocalNetwork m_localNetwork;
    NetSnmpProbe m_snmp;
    MiniUpnpGateway m_upnp;
    SambaServerInfo m_samba;
    WsManWmiProbe m_wmi;
};
