#pragma once

#include "survey/platform/PingProbe.h"

#include <QByteArray>
#include <QString>

// ICMP echo for the ping-only option and for waking IPv6 neighbours. As root
// (or with CAP_NET_RAW) it uses a raw socket; otherwise a datagram ICMP
// socket, whose sends the kernel refuses in bursts, so at most a few dozen
// echoes are in flight at once across all threads.
class IcmpEchoProbe final : public PingProbe {
public:
    static constexpr int kMaxInFlight = 64;

    enum class Mode { Raw, Datagram, Unavailable };

    // The echo payload of the survey's ping: "This is Ping Test" and a zero.
    static QByteArray Payload();
    static Mode SocketMode();

    bool Echo(const QString& address, int timeoutMs) const override;
    // One ICMPv6 echo without payload and without waiting for the answer:
    // it only makes the neighbour table learn the address.
    static void Ipv6Nudge(const QString& address);

    // The echo request (type 8) with its checksum; id and sequence in
    // network order.
    static QByteArray Request(quint16 id, quint16 sequence, const QByteArray& payload);
    // Whether an ICMP message (without IP header) is the reply to that
    // request. The kernel rewrites the id of datagram sockets, so the
    // sequence number and the payload decide.
    static bool IsReply(const QByteArray& icmp, quint16 sequence, const QByteArray& payload);
    static quint16 Checksum(const QByteArray& bytes);
};
