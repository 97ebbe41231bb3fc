#pragma once

#include "survey/platform/DeviceDiscoveryProbe.h"
#include "survey/platform/linux/Ipv4Interfaces.h"
#include "survey/platform/linux/WsdMetadata.h"

#include <QString>
#include <QStringList>

#include <optional>

// Finds WS-Discovery devices on the local links: a multicast Probe on every
// usable interface, a Resolve for endpoints that came without transport
// addresses, then a WS-Transfer Get of each device's metadata. Each call
// opens its own sockets, so calls may run on any thread.
class WsDiscoveryClient final : public DeviceDiscoveryProbe {
public:
    struct Options {
        int windowMs = 1500; // how long Probe answers are collected
        int resolveMs = 1000; // how long a Resolve answer is awaited
        int getTimeoutMs = 3000;
        quint16 port = 3702;
        QString group = QStringLiteral("239.255.255.250");
        // The interfaces to search on; empty means every usable one.
        QList<Ipv4Interfaces::Interface> interfaces;
    };

    // A device endpoint as the search left it.
    struct Endpoint {
        QString endpoint;
        QStringList types;
        QStringList xaddrs;
        in_addr source{}; // where the last answer for it came from
        Ipv4Interfaces::Interface interface;
    };

    WsDiscoveryClient() = default;
    explicit WsDiscoveryClient(const Options& options);

    Result Discover() const override;

    // The endpoints that answered, de-duplicated; empty on no interface.
    QList<Endpoint> Search(const QList<Ipv4Interfaces::Interface>& interfaces) const;
    // The transport address to fetch metadata from: the device's own
    // address on the link where it answered, plain HTTP only.
    static std::optional<QString> MetadataAddress(const Endpoint& endpoint);
    // The typed properties the discovery dump lists for one device.
    static Device DeviceOf(const QString& endpoint, const QString& address,
                           const WsdMetadata& metadata);

private:
    std::optional<Device> Describe(const Endpoint& endpoint) const;

    Options m_options;
};
