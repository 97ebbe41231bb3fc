#include "LoopbackPeer.h"

#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int BoundSocket(int family, int type, quint16& port)
{
    const int fd = ::socket(family, type | SOCK_CLOEXEC, 0);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (family == AF_INET6) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = in6addr_loopback;
        length = sizeof *v6;
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof *v4;
    }
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                    : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    return fd;
}

bool Readable(int fd)
{
    pollfd pfd{fd, POLLIN, 0};
    return ::poll(&pfd, 1, 50) > 0;
}

QString Captured(const QByteArray& text, const char* pattern)
{
    return QRegularExpression(QString::fromLatin1(pattern)).match(QString::fromUtf8(text)).captured(1);
}

// The request head and as much body as Content-Length announces.
QByteArray ReadRequest(int fd)
{
    QByteArray request;
    char buffer[4096];
    for (int rounds = 0; rounds < 100; ++rounds) {
        const qsizetype end = request.indexOf("\r\n\r\n");
        if (end >= 0) {
            const int length = Captured(request, "(?i)content-length:\\s*(\\d+)").toInt();
            if (request.size() >= end + 4 + length)
                return request;
        }
        if (!Readable(fd))
            continue;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, n);
    }
    return request;
}

} // namespace

LoopbackPeer::LoopbackPeer(UdpScript udp, HttpScript http, int family)
    : m_udpScript(std::move(udp))
    , m_httpScript(std::move(http))
{
    m_udp = BoundSocket(family, SOCK_DGRAM, m_udpPort);
    m_http = BoundSocket(family, SOCK_STREAM, m_httpPort);
    ::listen(m_http, 16);
    m_udpThread = std::thread([this] { ServeUdp(); });
    m_httpThread = std::thread([this] { ServeHttp(); });
}

LoopbackPeer::~LoopbackPeer()
{
    m_stop = true;
    m_udpThread.join();
    m_httpThread.join();
    ::close(m_udp);
    ::close(m_http);
}

QByteArray LoopbackPeer::HttpOk(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml\r\nConnection: close\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

void LoopbackPeer::ServeUdp()
{
    QByteArray buffer(70000, '\0');
    while (!m_stop) {
        if (!Readable(m_udp))
            continue;
        sockaddr_storage from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(m_udp, buffer.data(), size_t(buffer.size()), 0,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n <= 0)
            continue;
        const QByteArray message = buffer.left(n);
        const QString kind = message.contains("Resolve") ? QStringLiteral("Resolve") : QStringLiteral("Probe");
        if (kind == QLatin1String("Resolve"))
            ++m_resolves;
        const QString id = Captured(message, "MessageID>([^<]+)<");
        for (const QByteArray& reply : m_udpScript(kind, id))
            ::sendto(m_udp, reply.constData(), size_t(reply.size()), 0,
                     reinterpret_cast<const sockaddr*>(&from), length);
    }
}

void LoopbackPeer::ServeHttp()
{
    while (!m_stop) {
        if (!Readable(m_http))
            continue;
        const int client = ::accept4(m_http, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        ++m_gets;
        // One thread per request, so a slow answer does not hold up the others.
        m_clients.emplace_back([this, client] { Answer(client); });
    }
    for (std::thread& thread : m_clients)
        thread.join();
}

void LoopbackPeer::Answer(int client)
{
    const QByteArray response = m_httpScript(ReadRequest(client));
    for (qsizetype sent = 0; sent < response.size() && !m_stop;) {
        const ssize_t n = ::send(client, response.constData() + sent, size_t(response.size() - sent),
                                 MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += n;
    }
    ::close(client);
}
