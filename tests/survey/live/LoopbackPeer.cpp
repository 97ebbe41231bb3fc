#include "LoopbackPeer.h"

#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int BoundSocket(int type, quint16& port)
{
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
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

LoopbackPeer::LoopbackPeer(UdpScript udp, HttpScript http)
    : m_udpScript(std::move(udp))
    , m_httpScript(std::move(http))
{
    m_udp = BoundSocket(SOCK_DGRAM, m_udpPort);
    m_http = BoundSocket(SOCK_STREAM, m_httpPort);
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
        sockaddr_in from{};
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
