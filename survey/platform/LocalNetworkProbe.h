#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The IP facts of the machine the survey runs on: its adapters, its
// neighbour table and single ARP lookups. Addresses are dotted texts and MAC
// addresses raw bytes; formatting them is the caller's business.
// Implementations must be safe to call from many threads at once.
class LocalNetworkProbe {
public:
    struct AddressMask {
        QString address;
        QString mask;
    };

    struct Adapter {
        QString name;
        QString description;
        QByteArray mac;
        QList<AddressMask> addresses;
        AddressMask gateway; // empty address when the adapter has none
        bool dhcpEnabled = false;
        AddressMask dhcpServer;
        AddressMask primaryWins;
        AddressMask secondaryWins;
    };

    struct Neighbour {
        QString address; // dotted IPv4 or IPv6 text
        QByteArray mac;
    };

    virtual ~LocalNetworkProbe() = default;
    // Empty when the adapter list cannot be read.
    virtual QList<Adapter> Adapters() const = 0;
    // The neighbour table of every address family; empty when unreadable.
    virtual QList<Neighbour> Neighbours() const = 0;
    // The MAC of the first IPv4 ARP row for the address, if any.
    virtual std::optional<QByteArray> ArpLookup(const QString& address) const = 0;
    // Makes the neighbour table learn an IPv6 address (one echo) and gives
    // the MAC it learned, if any.
    virtual std::optional<QByteArray> ResolveIpv6Neighbour(const QString& address) const = 0;
};
