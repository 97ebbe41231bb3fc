#include "Ipv4Interfaces.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <memory>

QList<Ipv4Interfaces::Interface> Ipv4Interfaces::Usable()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, &freeifaddrs);
    QList<Interface> interfaces;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const unsigned flags = entry->ifa_flags;
        if (!(flags & IFF_UP) || !(flags & IFF_MULTICAST) || (flags & IFF_LOOPBACK))
            continue;
        Interface interface;
        interface.name = QString::fromLocal8Bit(entry->ifa_name);
        interface.index = if_nametoindex(entry->ifa_name);
        interface.address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        if (entry->ifa_netmask)
            interface.netmask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr;
        interfaces.append(interface);
    }
    return interfaces;
}

bool Ipv4Interfaces::SameSubnet(const Interface& interface, in_addr address)
{
    const in_addr_t mask = interface.netmask.s_addr;
    return (interface.address.s_addr & mask) == (address.s_addr & mask);
}
