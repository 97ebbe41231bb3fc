#include "WsManWmiProbe.h"

#include "survey/platform/linux/WsManReply.h"
#include "survey/platform/linux/WsManRequest.h"

WsManWmiProbe::WsManWmiProbe(const LiveDeviceDiscovery& discovery, const Options& options)
    : m_discovery(discovery)
    , m_options(options)
{
}

WmiProbe::Connection WsManWmiProbe::Connect(const QString& host, const std::optional<Credentials>& credentials) const
{
    const QString name = host.startsWith(QLatin1String("\\\\")) ? host.mid(2) : host;
    // A logon, even with the caller's own default credentials, goes only to
    // a host no other device claims to be.
    if (m_discovery.Claims(name) > 1)
        return {WsManConnection::kAccessDenied, nullptr};
    const QString address = m_discovery.AddressOf(name);
    if (address.isEmpty())
        return {WsManConnection::kServerUnavailable, nullptr};
    auto connection = std::make_unique<WsManConnection>(address, credentials, m_options.connection,
                                                        QDeadlineTimer(m_options.hostBudgetMs));
    if (const quint32 failure = connection->LogOn())
        return {failure, nullptr};
    // The security step: messages must be sealed (or carried by TLS), and
    // the server must read them so.
    if (!connection->Secured())
        return {WsManConnection::kAccessDenied, nullptr, true};
    const WsManConnection::Reply identified = connection->Send(WsManRequest::Identify());
    if (identified.hresult || WsManReply::Parse(identified.body).kind != WsManReply::Kind::Identified)
        return {identified.hresult ? identified.hresult : WsManConnection::kUnreadable, nullptr, true};
    return {0, std::make_unique<WsManWmiSession>(std::move(connection), m_options.limits)};
}
