#include "UnsupportedProbes.h"

ServerInfoProbe::Result UnsupportedProbes::ServerInfo101(const QString&) const
{
    return {kNotSupported, {}};
}

SharedPrinterProbe::Result UnsupportedProbes::Enumerate() const
{
    return {kNotSupported, {}};
}

SnmpProbe::Result UnsupportedProbes::Get(const QString&, const QString&, const QString&, int) const
{
    return {};
}

std::optional<UpnpGatewayProbe::Gateway> UnsupportedProbes::FindGateway() const
{
    return std::nullopt;
}

WmiProbe::Connection UnsupportedProbes::Connect(const QString&, const std::optional<Credentials>&) const
{
    return {kNotImplemented, nullptr};
}
