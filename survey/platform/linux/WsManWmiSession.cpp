#include "WsManWmiSession.h"

#include "survey/platform/linux/WsManReply.h"
#include "survey/platform/linux/WsManRequest.h"

WsManWmiSession::WsManWmiSession(std::unique_ptr<WsManConnection> connection, const Limits& limits)
    : m_connection(std::move(connection))
    , m_limits(limits)
{
}

WmiSession::Enumeration WsManWmiSession::Instances(const QString& className) const
{
    const QString to = m_connection->Endpoint();
    WsManConnection::Reply sent = m_connection->Send(WsManRequest::Enumerate(to, className));
    Enumeration enumeration;
    QString context;
    for (int pulls = 0;; ++pulls) {
        if (sent.hresult)
            return {sent.hresult, {}};
        WsManReply reply = WsManReply::Parse(sent.body);
        const bool waiting = reply.kind == WsManReply::Kind::Fault && reply.timedOut && !context.isEmpty();
        if (reply.kind == WsManReply::Kind::Fault && !waiting)
            return {reply.faultCode, {}};
        if (!waiting && reply.kind != WsManReply::Kind::Enumerated && reply.kind != WsManReply::Kind::Pulled)
            return {WsManConnection::kUnreadable, {}};
        // A time-out fault leaves the enumeration where it was.
        if (!waiting) {
            enumeration.instances.append(std::move(reply.instances));
            context = reply.context;
        }
        if (context.isEmpty())
            return enumeration;
        if (enumeration.instances.size() > m_limits.maxInstances || pulls >= m_limits.maxPulls) {
            Release(className, context);
            return {WsManConnection::kTooLarge, {}};
        }
        sent = m_connection->Send(WsManRequest::Pull(to, className, context));
    }
}

void WsManWmiSession::Release(const QString& className, const QString& context) const
{
    if (!context.isEmpty())
        m_connection->Send(WsManRequest::Release(m_connection->Endpoint(), className, context));
}
