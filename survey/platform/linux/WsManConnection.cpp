#include "WsManConnection.h"

#include "survey/platform/linux/BoundedHttpClient.h"
#include "survey/platform/linux/EncryptedBody.h"
#include "survey/platform/linux/WsManReply.h"

#include <QFile>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcWsMan, "varnex.wsman", QtInfoMsg)

constexpr int kMaxLogOnLegs = 3;
const QByteArray kScheme = QByteArrayLiteral("Negotiate");

struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

} // namespace

WsManConnection::WsManConnection(const QString& address, const std::optional<WmiProbe::Credentials>& credentials,
                                 const Options& options, QDeadlineTimer deadline)
    : m_address(address)
    , m_credentials(credentials)
    , m_options(options)
    , m_deadline(deadline)
{
    BoundedHttpClient::InitialiseOnce();
    const quint16 port = options.port ? options.port : (options.https ? 5986 : 5985);
    const QString host = address.contains(QLatin1Char(':')) ? QLatin1Char('[') + address + QLatin1Char(']') : address;
    m_endpoint = QStringLiteral("%1://%2:%3/wsman").arg(options.https ? "https" : "http", host).arg(port);
    m_curl = curl_easy_init();
}

WsManConnection::~WsManConnection()
{
    if (m_curl)
        curl_easy_cleanup(m_curl);
}

quint32 WsManConnection::LogOn()
{
    m_loggedOn = false;
    m_security = std::make_unique<GssNtlmContext>(m_address, m_credentials);
    if (!m_curl)
        return kServerUnavailable;
    if (!m_security->Ready()) {
        qCDebug(lcWsMan) << m_address << "credentials:" << m_security->Error();
        return kAccessDenied;
    }
    QByteArray serverToken;
    for (int leg = 0; leg < kMaxLogOnLegs; ++leg) {
        const GssNtlmContext::Step step = m_security->Initiate(serverToken);
        if (!step.ok) {
            qCDebug(lcWsMan) << m_address << "logon:" << step.error;
            return kAccessDenied;
        }
        // An empty authenticated request: the logon is done before any
        // message has to be sealed.
        const Response response = Post({}, {"Authorization: " + kScheme + ' ' + step.token.toBase64()});
        if (const quint32 failure = TransferFailure(response))
            return failure;
        if (response.status == 200 && step.complete) {
            m_loggedOn = true;
            return 0;
        }
        if (response.status != 401 || response.authenticate.isEmpty() || step.complete)
            break;
        serverToken = QByteArray::fromBase64(response.authenticate);
    }
    return kAccessDenied;
}

bool WsManConnection::Secured() const
{
    return m_loggedOn && (m_options.https || m_security->Confidential());
}

WsManConnection::Reply WsManConnection::Send(const QByteArray& envelope)
{
    Reply reply = SendOnce(envelope);
    // A server may close an idle connection; the next one needs its own logon.
    if (reply.hresult == kAccessDenied && m_loggedOn) {
        if (const quint32 failure = LogOn())
            return {failure, {}};
        reply = SendOnce(envelope);
    }
    return reply;
}

WsManConnection::Reply WsManConnection::SendOnce(const QByteArray& envelope)
{
    Response response;
    if (m_options.https) {
        response = Post(envelope, {"Content-Type: application/soap+xml;charset=UTF-8"});
    } else {
        const std::optional<GssNtlmContext::Sealed> sealed = m_security->Seal(envelope);
        if (!sealed)
            return {kAccessDenied, {}};
        response = Post(EncryptedBody::Frame(envelope.size(), sealed->signature, sealed->data),
                        {EncryptedBody::ContentType()});
    }
    if (const quint32 failure = TransferFailure(response))
        return {failure, {}};
    if (response.status == 401)
        return {kAccessDenied, {}};
    // Faults come with status 500 and are messages like any other.
    if (response.status != 200 && response.status != 500) {
        qCDebug(lcWsMan) << m_address << "HTTP status" << response.status;
        return {kUnreadable, {}};
    }
    const std::optional<QByteArray> plain = Opened(response);
    if (!plain)
        return {kUnreadable, {}};
    return {0, *plain};
}

std::optional<QByteArray> WsManConnection::Opened(const Response& response) const
{
    if (m_options.https)
        return response.body;
    const std::optional<EncryptedBody::Part> part = EncryptedBody::Unframe(response.body);
    if (!part)
        return std::nullopt;
    std::optional<QByteArray> plain = m_security->Unseal(part->signature, part->sealed);
    if (!plain || plain->size() != part->plainLength)
        return std::nullopt;
    return plain;
}

quint32 WsManConnection::TransferFailure(const Response& response) const
{
    if (response.overflow || response.code == CURLE_FILESIZE_EXCEEDED)
        return kTooLarge;
    switch (response.code) {
    case CURLE_OK:
        return 0;
    case CURLE_OPERATION_TIMEDOUT:
        // Nothing connected yet means no server; a slow answer is a time-out.
        return m_loggedOn ? kTimeout : kServerUnavailable;
    default:
        qCDebug(lcWsMan) << m_address << curl_easy_strerror(response.code);
        return kServerUnavailable;
    }
}

WsManConnection::Response WsManConnection::Post(const QByteArray& body, const QList<QByteArray>& headerLines)
{
    Response response;
    const qint64 remaining = m_deadline.remainingTime();
    if (remaining == 0) {
        response.code = CURLE_OPERATION_TIMEDOUT;
        return response;
    }
    const long timeout = remaining < 0 ? m_options.requestTimeoutMs : long(qMin<qint64>(remaining, m_options.requestTimeoutMs));
    curl_slist* list = curl_slist_append(nullptr, "Expect:");
    for (const QByteArray& line : headerLines)
        list = curl_slist_append(list, line.constData());
    const std::unique_ptr<curl_slist, ListDeleter> headers(list);
    const QByteArray url = m_endpoint.toUtf8();
    CURL* h = m_curl;
    curl_easy_reset(h);
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, m_options.https ? "https" : "http");
    curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(qMin<long>(m_options.connectTimeoutMs, timeout)));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, timeout);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(WsManReply::kMaxBody));
    const QByteArray caFile = QFile::encodeName(m_options.caFile);
    if (!caFile.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, long(body.size()));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &WsManConnection::Collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &WsManConnection::Header);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &response);
    response.code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

size_t WsManConnection::Collect(char* data, size_t size, size_t count, void* user)
{
    auto* response = static_cast<Response*>(user);
    const size_t bytes = size * count;
    if (response->body.size() + qsizetype(bytes) > WsManReply::kMaxBody) {
        response->overflow = true;
        return 0;
    }
    response->body.append(data, qsizetype(bytes));
    return bytes;
}

size_t WsManConnection::Header(char* data, size_t size, size_t count, void* user)
{
    auto* response = static_cast<Response*>(user);
    const size_t bytes = size * count;
    const QByteArray line = QByteArray(data, qsizetype(bytes)).trimmed();
    if (line.startsWith("HTTP/")) {
        response->authenticate.clear(); // a new response begins
        return bytes;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return bytes;
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "www-authenticate" && value.startsWith(kScheme + ' '))
        response->authenticate = value.mid(kScheme.size() + 1).trimmed();
    return bytes;
}
