#pragma once

#include <QList>
#include <QString>

#include <netinet/in.h>

// The IPv4 interfaces a survey may speak on: up, able to multicast, not
// loopback, with an address.
class Ipv4Interfaces {
public:
    struct Interface {
        QString name;
        unsigned index = 0;
        in_addr address{};
        in_addr netmask{};
    };

    static QList<Interface> Usable();
    static bool SameSubnet(const Interface& interface, in_addr address);
};
