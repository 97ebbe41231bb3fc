#pragma once

#include "survey/platform/ServerInfoProbe.h"
#include "survey/platform/SharedPrinterProbe.h"
#include "survey/platform/SnmpProbe.h"
#include "survey/platform/UpnpGatewayProbe.h"
#include "survey/platform/WmiProbe.h"

// The probes the live network does not have yet. Each answers at once the
// way the platform answers when the service is missing, so a survey goes on
// without those facts instead of waiting for them.
class UnsupportedProbes final : public ServerInfoProbe,
                                public SharedPrinterProbe,
                                public SnmpProbe,
                                public UpnpGatewayProbe,
                                public WmiProbe {
public:
    static constexpr quint32 kNotSupported = 50; // ERROR_NOT_SUPPORTED
    static constexpr quint32 kNotImplemented = 0x80004001; // E_NOTIMPL

    ServerInfoProbe::Result ServerInfo101(const QString& serverName) const override;
    SharedPrinterProbe::Result Enumerate() const override;
    SnmpProbe::Result Get(const QString& agent, const QString& community, const QString& oid,
                          int timeoutMs) const override;
    std::optional<Gateway> FindGateway() const override;
    Connection Connect(const QString& host, const std::optional<Credentials>& credentials) const override;
};
