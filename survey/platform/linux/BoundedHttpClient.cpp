#include "BoundedHttpClient.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace {

struct Sink {
    QByteArray body;
    qsizetype limit = 0;
    bool overflow = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<Sink*>(user);
    const size_t bytes = size * count;
    if (sink->body.size() + qsizetype(bytes) > sink->limit) {
        sink->overflow = true;
        return 0; // makes curl stop with a write error
    }
    sink->body.append(data, qsizetype(bytes));
    return bytes;
}

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

} // namespace

void BoundedHttpClient::InitialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

BoundedHttpClient::Response BoundedHttpClient::Post(const QString& url, const QByteArray& envelope,
                                                    const Limits& limits)
{
    // Exactly this type: wsdd2 refuses the same type with a charset parameter.
    return Exchange(url, &envelope, {"Content-Type: application/soap+xml"}, limits);
}

BoundedHttpClient::Response BoundedHttpClient::Post(const QString& url, const QByteArray& body,
                                                    const QList<QByteArray>& headers, const Limits& limits)
{
    return Exchange(url, &body, headers, limits);
}

BoundedHttpClient::Response BoundedHttpClient::Get(const QString& url, const Limits& limits)
{
    return Exchange(url, nullptr, {}, limits);
}

BoundedHttpClient::Response BoundedHttpClient::Exchange(const QString& url, const QByteArray* body,
                                                        const QList<QByteArray>& headerLines, const Limits& limits)
{
    InitialiseOnce();
    Response response;
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        response.error = QStringLiteral("no HTTP handle");
        return response;
    }
    curl_slist* headerList = curl_slist_append(nullptr, "Expect:");
    for (const QByteArray& line : headerLines)
        headerList = curl_slist_append(headerList, line.constData());
    const std::unique_ptr<curl_slist, ListDeleter> headers(headerList);
    Sink sink;
    sink.limit = limits.maxBody;
    const QByteArray target = url.toUtf8();
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, target.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connectTimeoutMs));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(limits.totalTimeoutMs));
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBody));
    if (body) {
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, body->constData());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, long(body->size()));
    }
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    if (sink.overflow || code == CURLE_FILESIZE_EXCEEDED) {
        response.error = QStringLiteral("response longer than %1 bytes").arg(limits.maxBody);
        return response;
    }
    if (code != CURLE_OK) {
        response.error = QString::fromUtf8(curl_easy_strerror(code));
        return response;
    }
    if (response.status != 200) {
        response.error = QStringLiteral("HTTP status %1").arg(response.status);
        return response;
    }
    response.ok = true;
    response.body = std::move(sink.body);
    return response;
}
