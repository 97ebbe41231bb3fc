#include "IcmpEchoProbe.h"

#include "survey/platform/linux/UniqueFd.h"

#include <QElapsedTimer>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/icmp6.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <semaphore>

namespace {

constexpr quint8 kEchoRequest = 8;
constexpr quint8 kEchoReply = 0;
constexpr int kHeader = 8;
constexpr int kIpv6HopLimit = 255;
constexpr int kRetryPauseMs = 5;

std::atomic<quint16> g_sequence{quint16(::getpid())};
std::counting_semaphore<IcmpEchoProbe::kMaxInFlight> g_inFlight{IcmpEchoProbe::kMaxInFlight};

// Holds one of the in-flight places for the life of an echo.
class InFlight {
public:
    InFlight() { g_inFlight.acquire(); }
    ~InFlight() { g_inFlight.release(); }
    InFlight(const InFlight&) = delete;
    InFlight& operator=(const InFlight&) = delete;
};

UniqueFd OpenIcmp(IcmpEchoProbe::Mode mode)
{
    const int type = mode == IcmpEchoProbe::Mode::Raw ? SOCK_RAW : SOCK_DGRAM;
    return UniqueFd(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP));
}

// The ICMP message of a received packet: raw sockets deliver the IP header too.
QByteArray IcmpPart(const QByteArray& packet, IcmpEchoProbe::Mode mode)
{
    if (mode != IcmpEchoProbe::Mode::Raw)
        return packet;
    if (packet.isEmpty())
        return {};
    const int headerLength = (quint8(packet.at(0)) & 0x0f) * 4;
    return packet.size() > headerLength ? packet.mid(headerLength) : QByteArray();
}

bool SendRequest(int fd, const sockaddr_in& to, const QByteArray& request, const QElapsedTimer& clock,
                 int timeoutMs)
{
    for (;;) {
        const ssize_t sent = ::sendto(fd, request.constData(), size_t(request.size()), 0,
                                      reinterpret_cast<const sockaddr*>(&to), sizeof to);
        if (sent == request.size())
            return true;
        if (sent >= 0 || (errno != EAGAIN && errno != ENOBUFS) || clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(kRetryPauseMs); // the kernel refuses bursts: try again a little later
    }
}

bool AwaitReply(int fd, const sockaddr_in& to, quint16 sequence, const QByteArray& payload,
                IcmpEchoProbe::Mode mode, const QElapsedTimer& clock, int timeoutMs)
{
    QByteArray buffer(1500, Qt::Uninitialized);
    for (qint64 left = timeoutMs - clock.elapsed(); left > 0; left = timeoutMs - clock.elapsed()) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, int(left)) <= 0)
            continue;
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(fd, buffer.data(), size_t(buffer.size()), 0,
                                     reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n <= 0 || from.sin_addr.s_addr != to.sin_addr.s_addr)
            continue;
        if (IcmpEchoProbe::IsReply(IcmpPart(buffer.left(qsizetype(n)), mode), sequence, payload))
            return true;
    }
    return false;
}

} // namespace

QByteArray IcmpEchoProbe::Payload()
{
    return QByteArray("This is Ping Test", 18); // the text and its zero byte
}

IcmpEchoProbe::Mode IcmpEchoProbe::SocketMode()
{
    static const Mode mode = [] {
        if (UniqueFd(::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP)).valid())
            return Mode::Raw;
        if (UniqueFd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP)).valid())
            return Mode::Datagram;
        return Mode::Unavailable;
    }();
    return mode;
}

bool IcmpEchoProbe::Echo(const QString& address, int timeoutMs) const
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    if (inet_pton(AF_INET, address.toLatin1().constData(), &to.sin_addr) != 1)
        return false;
    const Mode mode = SocketMode();
    const InFlight place;
    QElapsedTimer clock;
    clock.start();
    const UniqueFd fd = OpenIcmp(mode);
    if (!fd.valid())
        return false;
    const quint16 sequence = g_sequence++;
    const quint16 id = quint16(::getpid());
    const QByteArray payload = Payload();
    return SendRequest(fd.get(), to, Request(id, sequence, payload), clock, timeoutMs)
        && AwaitReply(fd.get(), to, sequence, payload, mode, clock, timeoutMs);
}

void IcmpEchoProbe::Ipv6Nudge(const QString& address)
{
    sockaddr_in6 to{};
    to.sin6_family = AF_INET6;
    const QString withoutZone = address.section(QLatin1Char('%'), 0, 0);
    if (inet_pton(AF_INET6, withoutZone.toLatin1().constData(), &to.sin6_addr) != 1)
        return;
    UniqueFd fd(::socket(AF_INET6, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMPV6));
    if (!fd.valid())
        fd = UniqueFd(::socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMPV6));
    if (!fd.valid())
        return;
    const int hops = kIpv6HopLimit;
    setsockopt(fd.get(), IPPROTO_IPV6, IPV6_UNICAST_HOPS, &hops, sizeof hops);
    icmp6_hdr request{};
    request.icmp6_type = ICMP6_ECHO_REQUEST;
    request.icmp6_seq = htons(g_sequence++);
    // The kernel fills in the ICMPv6 checksum.
    ::sendto(fd.get(), &request, kHeader, MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

QByteArray IcmpEchoProbe::Request(quint16 id, quint16 sequence, const QByteArray& payload)
{
    QByteArray message(kHeader, '\0');
    message[0] = char(kEchoRequest);
    message[4] = char(id >> 8);
    message[5] = char(id & 0xff);
    message[6] = char(sequence >> 8);
    message[7] = char(sequence & 0xff);
    message += payload;
    const quint16 sum = Checksum(message);
    message[2] = char(sum >> 8);
    message[3] = char(sum & 0xff);
    return message;
}

bool IcmpEchoProbe::IsReply(const QByteArray& icmp, quint16 sequence, const QByteArray& payload)
{
    if (icmp.size() != kHeader + payload.size() || quint8(icmp.at(0)) != kEchoReply)
        return false;
    const quint16 got = quint16((quint8(icmp.at(6)) << 8) | quint8(icmp.at(7)));
    return got == sequence && icmp.mid(kHeader) == payload;
}

quint16 IcmpEchoProbe::Checksum(const QByteArray& bytes)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        sum += quint32((quint8(bytes.at(i)) << 8) | quint8(bytes.at(i + 1)));
    if (bytes.size() % 2)
        sum += quint32(quint8(bytes.back()) << 8);
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return quint16(~sum);
}
