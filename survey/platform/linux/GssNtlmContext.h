#pragma once

#include "survey/platform/WmiProbe.h"

#include <QByteArray>
#include <QString>

#include <gssapi/gssapi.h>

#include <memory>
#include <optional>

// The client side of an NTLM logon through GSSAPI (the gss-ntlmssp
// mechanism), and the sealing of messages with the session key it yields.
// One context per connection: NTLM binds the logon to it.
class GssNtlmContext {
public:
    using Identity = WmiProbe::Credentials;

    struct Step {
        bool ok = false;
        bool complete = false;
        QByteArray token; // to send to the server; may be empty when complete
        QString error;
    };

    // identity empty: the mechanism's default credentials for this user.
    GssNtlmContext(const QString& host, const std::optional<Identity>& identity);
    ~GssNtlmContext();
    GssNtlmContext(const GssNtlmContext&) = delete;
    GssNtlmContext& operator=(const GssNtlmContext&) = delete;

    // Whether the credentials could be acquired; Error() says why not.
    bool Ready() const { return m_ready; }
    QString Error() const { return m_error; }

    // The next logon token, given the server's last one (empty at first).
    Step Initiate(const QByteArray& serverToken);
    // Whether the finished logon can seal messages.
    bool Confidential() const;

    struct Sealed {
        QByteArray signature;
        QByteArray data;
    };
    std::optional<Sealed> Seal(const QByteArray& plain) const;
    std::optional<QByteArray> Unseal(const QByteArray& signature, const QByteArray& data) const;

    static QString StatusText(OM_uint32 major, OM_uint32 minor);

private:
    void AcquireCredentials(const Identity& identity);

    gss_name_t m_target = GSS_C_NO_NAME;
    gss_cred_id_t m_credentials = GSS_C_NO_CREDENTIAL;
    gss_ctx_id_t m_context = GSS_C_NO_CONTEXT;
    OM_uint32 m_flags = 0;
    bool m_ready = false;
    QString m_error;
};
