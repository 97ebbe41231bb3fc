#pragma once

#include "survey/platform/WmiProbe.h"
#include "survey/platform/linux/GssNtlmContext.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <curl/curl.h>

#include <memory>
#include <optional>

// One HTTP connection to a host's WS-Management service, logged on with
// NTLM. Over plain HTTP every message is sealed with the logon's session
// key, as WinRM requires; over HTTPS the TLS channel protects it. Used by
// one thread at a time.
class WsManConnection {
public:
    struct Options {
        bool https = false;
        quint16 port = 0; // 0: 5985, or 5986 with HTTPS
        int connectTimeoutMs = 2000;
        int requestTimeoutMs = 30000;
        QString caFile; // HTTPS: the certificates to trust; empty: the system's
    };

    static constexpr quint32 kServerUnavailable = 0x800706BA; // RPC_S_SERVER_UNAVAILABLE
    static constexpr quint32 kAccessDenied = 0x80070005; // E_ACCESSDENIED
    static constexpr quint32 kTimeout = 0x800705B4; // ERROR_TIMEOUT
    static constexpr quint32 kTooLarge = 0x80070008; // ERROR_NOT_ENOUGH_MEMORY
    static constexpr quint32 kUnreadable = 0x80338000; // a reply that is no WS-Management message

    struct Reply {
        quint32 hresult = 0; // 0: body holds the server's SOAP answer
        QByteArray body;
    };

    // deadline: when this host's whole exchange must end.
    WsManConnection(const QString& address, const std::optional<WmiProbe::Credentials>& credentials,
                    const Options& options, QDeadlineTimer deadline);
    ~WsManConnection();
    WsManConnection(const WsManConnection&) = delete;
    WsManConnection& operator=(const WsManConnection&) = delete;

    // The NTLM logon on this connection; 0 or the error code.
    quint32 LogOn();
    // Whether the logon gave what messages need: a key to seal them with,
    // unless TLS carries them.
    bool Secured() const;
    Reply Send(const QByteArray& envelope);
    QString Endpoint() const { return m_endpoint; }

private:
    struct Response {
        CURLcode code = CURLE_OK;
        long status = 0;
        QByteArray body;
        QByteArray authenticate; // the server's Negotiate token
        bool overflow = false;
    };

    Response Post(const QByteArray& body, const QList<QByteArray>& headers);
    Reply SendOnce(const QByteArray& envelope);
    std::optional<QByteArray> Opened(const Response& response) const;
    quint32 TransferFailure(const Response& response) const;
    static size_t Collect(char* data, size_t size, size_t count, void* user);
    static size_t Header(char* data, size_t size, size_t count, void* user);

    QString m_address;
    std::optional<WmiProbe::Credentials> m_credentials;
    Options m_options;
    QDeadlineTimer m_deadline;
    QString m_endpoint;
    CURL* m_curl = nullptr;
    std::unique_ptr<GssNtlmContext> m_security;
    bool m_loggedOn = false;
};
