#include "LinkInterfaces.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <memory>

namespace {

QList<LinkInterfaces::Interface> Scan(int family)
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, &freeifaddrs);
    QList<LinkInterfaces::Interface> interfaces;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != family)
            continue;
        const unsigned flags = entry->ifa_flags;
        if (!(flags & IFF_UP) || !(flags & IFF_MULTICAST) || (flags & IFF_LOOPBACK))
            continue;
        LinkInterfaces::Interface interface;
        interface.name = QString::fromLocal8Bit(entry->ifa_name);
        interface.index = if_nametoindex(entry->ifa_name);
        interface.family = family;
        if (family == AF_INET6) {
            interface.address6 = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr)->sin6_addr;
            if (!IN6_IS_ADDR_LINKLOCAL(&interface.address6))
                continue;
        } else {
            interface.address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
            if (entry->ifa_netmask)
                interface.netmask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr;
        }
        interfaces.append(interface);
    }
    return interfaces;
}

} // namespace

QList<LinkInterfaces::Interface> LinkInterfaces::Usable()
{
    return Scan(AF_INET);
}

QList<LinkInterfaces::Interface> LinkInterfaces::UsableIpv6()
{
    return Scan(AF_INET6);
}

bool LinkInterfaces::SameSubnet(const Interface& interface, in_addr address)
{
    const in_addr_t mask = interface.netmask.s_addr;
    return (interface.address.s_addr & mask) == (address.s_addr & mask);
}
