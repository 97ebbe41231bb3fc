#pragma once

#include "survey/platform/LocalNetworkProbe.h"

// The machine's adapters, default gateways and neighbour table, read from
// the kernel over route netlink. Every call dumps afresh on a socket of its
// own (a dump takes well under a millisecond), so calls may run on any
// thread.
class NetlinkLocalNetwork final : public LocalNetworkProbe {
public:
    // How long an IPv6 neighbour is awaited after the echo that wakes it.
    static constexpr int kIpv6ResolveMs = 1000;

    QList<Adapter> Adapters() const override;
    QList<Neighbour> Neighbours() const override;
    std::optional<QByteArray> ArpLookup(const QString& address) const override;
    std::optional<QByteArray> ResolveIpv6Neighbour(const QString& address) const override;

    // "255.255.255.0" for 24.
    static QString MaskText(int prefixLength);
};
