#pragma once

#include <QList>
#include <QString>

#include <netinet/in.h>

// The interfaces a survey may speak on: up, able to multicast, not
// loopback, with an IPv4 address, or for IPv6 with a link-local one.
class LinkInterfaces {
public:
    struct Interface {
        QString name;
        unsigned index = 0;
        int family = AF_INET;
        in_addr address{}; // IPv4
        in_addr netmask{}; // IPv4
        in6_addr address6{}; // IPv6 link-local
    };

    static QList<Interface> Usable();
    // The same interfaces' IPv6 link-local addresses, where they have one.
    static QList<Interface> UsableIpv6();
    static bool SameSubnet(const Interface& interface, in_addr address);
};
