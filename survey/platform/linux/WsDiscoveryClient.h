#pragma once

#include "survey/platform/DeviceDiscoveryProbe.h"
#include "survey/platform/linux/LinkInterfaces.h"
#include "survey/platform/linux/WsdMetadata.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Finds WS-Discovery devices on the local links: a multicast Probe on every
// usable interface (239.255.255.250, and ff02::c where the interface has an
// IPv6 link-local address), a Resolve for endpoints that came without transport
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
        QString group6 = QStringLiteral("ff02::c");
        // The interfaces to search on, of either family; empty means every
        // usable one.
        QList<LinkInterfaces::Interface> interfaces;
    };

    // A device endpoint as the search left it.
    struct Endpoint {
        QString endpoint;
        QStringList types;
        QStringList xaddrs;
        QString source; // numeric address the last answer came from, without zone
        LinkInterfaces::Interface interface; // where it answered
    };

    WsDiscoveryClient() = default;
    explicit WsDiscoveryClient(const Options& options);

    Result Discover() const override;

    // The endpoints that answered, de-duplicated; empty on no interface.
    QList<Endpoint> Search(const QList<LinkInterfaces::Interface>& interfaces) const;
    // The transport address to fetch metadata from: the device's own
    // address on the link where it answered, plain HTTP only. IPv6
    // link-local addresses get the interface as their zone.
    static std::optional<QString> MetadataAddress(const Endpoint& endpoint);
    // The typed properties the discovery dump lists for one device.
    static Device DeviceOf(const QString& endpoint, const QString& address,
                           const WsdMetadata& metadata);
    // Back from the properties: the computer name a device announced (before
    // the "/"; empty for other devices) and its address (without zone).
    static std::pair<QString, QString> ComputerOf(const Device& device);

private:
    std::optional<Device> Describe(const Endpoint& endpoint) const;

    Options m_options;
};
