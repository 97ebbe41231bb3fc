#include "LiveNetwork.h"

#include "survey/platform/linux/SoapHttpClient.h"

LiveNetwork::LiveNetwork(const WsDiscoveryClient::Options& discovery)
    : m_discovery(m_machine, discovery)
{
    // libcurl's global set-up is not thread-safe: do it before any survey thread.
    SoapHttpClient::InitialiseOnce();
}
