#include "LiveNetwork.h"

#include "survey/platform/linux/NetSnmpProbe.h"
#include "survey/platform/linux/BoundedHttpClient.h"

LiveNetwork::LiveNetwork(const WsDiscoveryClient::Options& discovery, const SambaServerInfo::Options& smb,
                         const WsManWmiProbe::Options& wmi)
    : m_discovery(m_machine, discovery)
    , m_samba(m_discovery, smb)
    , m_wmi(m_discovery, wmi)
{
    // The global set-up of libcurl and net-snmp is not thread-safe: do it
    // before any survey thread.
    BoundedHttpClient::InitialiseOnce();
    NetSnmpProbe::InitialiseOnce();
}
