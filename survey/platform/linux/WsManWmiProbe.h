#pragma once

#include "survey/platform/WmiProbe.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/WsManConnection.h"
#include "survey/platform/linux/WsManWmiSession.h"

// WMI of the network's Windows computers over WS-Management (WinRM), the
// way Windows' own remote management reaches it: HTTP on port 5985 with
// an NTLM logon and sealed messages, or HTTPS on 5986. Every host gets a
// time budget of its own, so a slow or silent one holds only its thread.
class WsManWmiProbe final : public WmiProbe {
public:
    struct Options {
        WsManConnection::Options connection;
        WsManWmiSession::Limits limits;
        int hostBudgetMs = 90000;
    };

    WsManWmiProbe(const LiveDeviceDiscovery& discovery, const Options& options);

    Connection Connect(const QString& host, const std::optional<Credentials>& credentials) const override;

private:
    const LiveDeviceDiscovery& m_discovery;
    Options m_options;
};
