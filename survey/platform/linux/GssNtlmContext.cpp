#include "GssNtlmContext.h"

#include <gssapi/gssapi_ext.h>

#include <cstring>

namespace {

// 1.3.6.1.4.1.311.2.2.10, the NTLM security support provider.
gss_OID_desc kNtlmMechanism = {10, const_cast<char*>("\x2b\x06\x01\x04\x01\x82\x37\x02\x02\x0a")};

constexpr OM_uint32 kWantedFlags =
    GSS_C_CONF_FLAG | GSS_C_INTEG_FLAG | GSS_C_REPLAY_FLAG | GSS_C_SEQUENCE_FLAG;

class Buffer {
public:
    Buffer() = default;
    ~Buffer()
    {
        OM_uint32 minor = 0;
        gss_release_buffer(&minor, &m_buffer);
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    gss_buffer_t get() { return &m_buffer; }
    QByteArray Bytes() const { return QByteArray(static_cast<const char*>(m_buffer.value), qsizetype(m_buffer.length)); }
    qsizetype size() const { return qsizetype(m_buffer.length); }

private:
    gss_buffer_desc m_buffer = GSS_C_EMPTY_BUFFER;
};

gss_buffer_desc View(const QByteArray& bytes)
{
    return {size_t(bytes.size()), const_cast<char*>(bytes.constData())};
}

// The password leaves no copy behind in freed memory.
void Wipe(QByteArray& secret)
{
    volatile char* p = secret.data();
    for (qsizetype i = 0; i < secret.size(); ++i)
        p[i] = 0;
}

} // namespace

GssNtlmContext::GssNtlmContext(const QString& host, const std::optional<Identity>& identity)
{
    OM_uint32 minor = 0;
    QByteArray service = "HTTP@" + host.toUtf8();
    gss_buffer_desc name = View(service);
    const OM_uint32 major = gss_import_name(&minor, &name, GSS_C_NT_HOSTBASED_SERVICE, &m_target);
    if (GSS_ERROR(major)) {
        m_error = StatusText(major, minor);
        return;
    }
    if (identity)
        AcquireCredentials(*identity);
    else
        m_ready = true;
}

GssNtlmContext::~GssNtlmContext()
{
    OM_uint32 minor = 0;
    if (m_context != GSS_C_NO_CONTEXT)
        gss_delete_sec_context(&minor, &m_context, GSS_C_NO_BUFFER);
    if (m_credentials != GSS_C_NO_CREDENTIAL)
        gss_release_cred(&minor, &m_credentials);
    if (m_target != GSS_C_NO_NAME)
        gss_release_name(&minor, &m_target);
}

void GssNtlmContext::AcquireCredentials(const Identity& identity)
{
    // "DOMAIN\user" unless the user already names its domain.
    const bool qualified = identity.user.contains(QLatin1Char('\\')) || identity.user.contains(QLatin1Char('@'));
    QByteArray user = (qualified || identity.domain.isEmpty() ? identity.user
                                                              : identity.domain + QLatin1Char('\\') + identity.user)
                          .toUtf8();
    OM_uint32 minor = 0;
    gss_name_t name = GSS_C_NO_NAME;
    gss_buffer_desc userBuffer = View(user);
    OM_uint32 major = gss_import_name(&minor, &userBuffer, GSS_C_NT_USER_NAME, &name);
    if (GSS_ERROR(major)) {
        m_error = StatusText(major, minor);
        return;
    }
    QByteArray password = identity.password.toUtf8();
    gss_buffer_desc secret = View(password);
    gss_OID_set_desc mechanisms = {1, &kNtlmMechanism};
    major = gss_acquire_cred_with_password(&minor, name, &secret, GSS_C_INDEFINITE, &mechanisms, GSS_C_INITIATE,
                                           &m_credentials, nullptr, nullptr);
    Wipe(password);
    OM_uint32 ignored = 0;
    gss_release_name(&ignored, &name);
    if (GSS_ERROR(major)) {
        m_error = StatusText(major, minor);
        return;
    }
    m_ready = true;
}

GssNtlmContext::Step GssNtlmContext::Initiate(const QByteArray& serverToken)
{
    Step step;
    OM_uint32 minor = 0;
    gss_buffer_desc input = View(serverToken);
    Buffer output;
    const OM_uint32 major = gss_init_sec_context(
        &minor, m_credentials, &m_context, m_target, &kNtlmMechanism, kWantedFlags, GSS_C_INDEFINITE,
        GSS_C_NO_CHANNEL_BINDINGS, serverToken.isEmpty() ? GSS_C_NO_BUFFER : &input, nullptr, output.get(),
        &m_flags, nullptr);
    if (GSS_ERROR(major)) {
        step.error = StatusText(major, minor);
        return step;
    }
    step.ok = true;
    step.complete = !(major & GSS_S_CONTINUE_NEEDED);
    step.token = output.Bytes();
    return step;
}

bool GssNtlmContext::Confidential() const
{
    return (m_flags & GSS_C_CONF_FLAG) && (m_flags & GSS_C_INTEG_FLAG);
}

std::optional<GssNtlmContext::Sealed> GssNtlmContext::Seal(const QByteArray& plain) const
{
    constexpr qsizetype kSignature = 16;
    OM_uint32 minor = 0;
    gss_buffer_desc input = View(plain);
    int confidential = 0;
    Buffer output;
    const OM_uint32 major =
        gss_wrap(&minor, m_context, 1, GSS_C_QOP_DEFAULT, &input, &confidential, output.get());
    // NTLM's wrap token is the signature followed by the sealed message.
    if (GSS_ERROR(major) || !confidential || output.size() != plain.size() + kSignature)
        return std::nullopt;
    const QByteArray token = output.Bytes();
    return Sealed{token.left(kSignature), token.mid(kSignature)};
}

std::optional<QByteArray> GssNtlmContext::Unseal(const QByteArray& signature, const QByteArray& data) const
{
    OM_uint32 minor = 0;
    const QByteArray token = signature + data;
    gss_buffer_desc input = View(token);
    int confidential = 0;
    Buffer output;
    const OM_uint32 major = gss_unwrap(&minor, m_context, &input, output.get(), &confidential, nullptr);
    if (GSS_ERROR(major) || !confidential)
        return std::nullopt;
    return output.Bytes();
}

QString GssNtlmContext::StatusText(OM_uint32 major, OM_uint32 minor)
{
    QStringList parts;
    for (const auto& [code, type] : {std::pair{major, GSS_C_GSS_CODE}, std::pair{minor, GSS_C_MECH_CODE}}) {
        OM_uint32 context = 0;
        do {
            OM_uint32 ignored = 0;
            Buffer text;
            gss_display_status(&ignored, code, type, &kNtlmMechanism, &context, text.get());
            if (text.size() > 0)
                parts.append(QString::fromUtf8(text.Bytes()));
        } while (context != 0);
    }
    return parts.join(QStringLiteral("; "));
}
