#include "NetlinkLocalNetwork.h"

#include "survey/LocalNetworkFacts.h"
#include "survey/platform/linux/IcmpEchoProbe.h"

#include <QElapsedTimer>
#include <QtEndian>
#include <QHash>
#include <QThread>

#include <netlink/addr.h>
#include <netlink/cache.h>
#include <netlink/route/addr.h>
#include <netlink/route/link.h>
#include <netlink/route/neighbour.h>
#include <netlink/route/route.h>
#include <netlink/socket.h>

#include <arpa/inet.h>
#include <linux/if_addr.h>
#include <linux/neighbour.h>
#include <net/if.h>

#include <memory>

namespace {

constexpr int kResolvePollMs = 20;

struct SocketDeleter {
    void operator()(nl_sock* socket) const { nl_socket_free(socket); }
};
struct CacheDeleter {
    void operator()(nl_cache* cache) const { nl_cache_free(cache); }
};
using Socket = std::unique_ptr<nl_sock, SocketDeleter>;
using Cache = std::unique_ptr<nl_cache, CacheDeleter>;

Socket Connect()
{
    Socket socket(nl_socket_alloc());
    if (!socket || nl_connect(socket.get(), NETLINK_ROUTE) != 0)
        return {};
    return socket;
}

template<typename Allocate>
Cache Dump(Allocate allocate)
{
    nl_cache* cache = nullptr;
    if (allocate(&cache) != 0)
        return {};
    return Cache(cache);
}

QString AddressText(nl_addr* address)
{
    if (!address)
        return {};
    char text[INET6_ADDRSTRLEN] = {};
    const int family = nl_addr_get_family(address);
    if ((family != AF_INET && family != AF_INET6)
        || !inet_ntop(family, nl_addr_get_binary_addr(address), text, sizeof text))
        return {};
    return QString::fromLatin1(text);
}

QByteArray MacBytes(nl_addr* address)
{
    if (!address)
        return {};
    return QByteArray(static_cast<const char*>(nl_addr_get_binary_addr(address)),
                      qsizetype(nl_addr_get_len(address)));
}

template<typename Object, typename Visit>
void ForEach(nl_cache* cache, Visit visit)
{
    for (nl_object* object = nl_cache_get_first(cache); object; object = nl_cache_get_next(object))
        visit(reinterpret_cast<Object*>(object));
}

// The IPv4 gateway of every interface's default route.
QHash<int, QString> DefaultGateways(nl_sock* socket)
{
    QHash<int, QString> gateways;
    const Cache routes = Dump([socket](nl_cache** c) { return rtnl_route_alloc_cache(socket, AF_INET, 0, c); });
    if (!routes)
        return gateways;
    ForEach<rtnl_route>(routes.get(), [&gateways](rtnl_route* route) {
        nl_addr* destination = rtnl_route_get_dst(route);
        if (rtnl_route_get_table(route) != RT_TABLE_MAIN || (destination && nl_addr_get_prefixlen(destination) != 0))
            return;
        for (int i = 0; i < rtnl_route_get_nnexthops(route); ++i) {
            rtnl_nexthop* hop = rtnl_route_nexthop_n(route, i);
            const QString gateway = AddressText(rtnl_route_nh_get_gateway(hop));
            if (!gateway.isEmpty() && !gateways.contains(rtnl_route_nh_get_ifindex(hop)))
                gateways.insert(rtnl_route_nh_get_ifindex(hop), gateway);
        }
    });
    return gateways;
}

void AddAddresses(nl_sock* socket, QList<LocalNetworkProbe::Adapter>& adapters,
                  const QHash<int, qsizetype>& adapterOfIndex)
{
    const Cache addresses = Dump([socket](nl_cache** c) { return rtnl_addr_alloc_cache(socket, c); });
    if (!addresses)
        return;
    ForEach<rtnl_addr>(addresses.get(), [&](rtnl_addr* address) {
        const auto adapter = adapterOfIndex.constFind(rtnl_addr_get_ifindex(address));
        if (adapter == adapterOfIndex.cend() || rtnl_addr_get_family(address) != AF_INET)
            return;
        LocalNetworkProbe::Adapter& target = adapters[*adapter];
        target.addresses.append({AddressText(rtnl_addr_get_local(address)),
                                 NetlinkLocalNetwork::MaskText(rtnl_addr_get_prefixlen(address))});
        // An address without the permanent flag was handed out with a lease.
        if (!(rtnl_addr_get_flags(address) & IFA_F_PERMANENT))
            target.dhcpEnabled = true;
    });
}

std::optional<QByteArray> FindNeighbour(const QList<LocalNetworkProbe::Neighbour>& neighbours,
                                        const QString& address)
{
    for (const LocalNetworkProbe::Neighbour& neighbour : neighbours)
        if (neighbour.address == address)
            return neighbour.mac;
    return std::nullopt;
}

} // namespace

QList<LocalNetworkProbe::Adapter> NetlinkLocalNetwork::Adapters() const
{
    const Socket socket = Connect();
    if (!socket)
        return {};
    const Cache links = Dump([&socket](nl_cache** c) { return rtnl_link_alloc_cache(socket.get(), AF_UNSPEC, c); });
    if (!links)
        return {};
    const QHash<int, QString> gateways = DefaultGateways(socket.get());
    QList<Adapter> adapters;
    QHash<int, qsizetype> adapterOfIndex;
    ForEach<rtnl_link>(links.get(), [&](rtnl_link* link) {
        if (rtnl_link_get_flags(link) & IFF_LOOPBACK)
            return;
        Adapter adapter;
        adapter.name = QString::fromLocal8Bit(rtnl_link_get_name(link));
        const char* kind = rtnl_link_get_type(link);
        adapter.description = kind ? adapter.name + QStringLiteral(" (") + QString::fromLatin1(kind) + QLatin1Char(')')
                                   : adapter.name;
        adapter.mac = MacBytes(rtnl_link_get_addr(link));
        const int index = rtnl_link_get_ifindex(link);
        adapter.gateway = {gateways.value(index), gateways.contains(index) ? QStringLiteral("255.255.255.255") : QString()};
        adapterOfIndex.insert(index, adapters.size());
        adapters.append(adapter);
    });
    AddAddresses(socket.get(), adapters, adapterOfIndex);
    for (Adapter& adapter : adapters)
        if (adapter.addresses.isEmpty())
            adapter.addresses.append({QStringLiteral("0.0.0.0"), QStringLiteral("0.0.0.0")});
    return adapters;
}

QList<LocalNetworkProbe::Neighbour> NetlinkLocalNetwork::Neighbours() const
{
    const Socket socket = Connect();
    if (!socket)
        return {};
    const Cache table = Dump([&socket](nl_cache** c) { return rtnl_neigh_alloc_cache(socket.get(), c); });
    if (!table)
        return {};
    QList<Neighbour> neighbours;
    ForEach<rtnl_neigh>(table.get(), [&neighbours](rtnl_neigh* row) {
        const int family = rtnl_neigh_get_family(row);
        if (family != AF_INET && family != AF_INET6)
            return;
        if (rtnl_neigh_get_state(row) & (NUD_INCOMPLETE | NUD_FAILED | NUD_NOARP))
            return;
        const QString address = AddressText(rtnl_neigh_get_dst(row));
        const QByteArray mac = MacBytes(rtnl_neigh_get_lladdr(row));
        if (!address.isEmpty() && !mac.isEmpty())
            neighbours.append({address, mac});
    });
    return neighbours;
}

std::optional<QByteArray> NetlinkLocalNetwork::ArpLookup(const QString& address) const
{
    if (address.contains(QLatin1Char(':')))
        return std::nullopt;
    return FindNeighbour(Neighbours(), address);
}

std::optional<QByteArray> NetlinkLocalNetwork::ResolveIpv6Neighbour(const QString& address) const
{
    const QString bare = address.section(QLatin1Char('%'), 0, 0);
    in6_addr parsed{};
    if (inet_pton(AF_INET6, bare.toLatin1().constData(), &parsed) != 1)
        return std::nullopt;
    char canonical[INET6_ADDRSTRLEN] = {};
    inet_ntop(AF_INET6, &parsed, canonical, sizeof canonical);
    const QString key = QString::fromLatin1(canonical);
    IcmpEchoProbe::Ipv6Nudge(bare);
    QElapsedTimer clock;
    clock.start();
    // Linux resolves in the background; watch the table for a while.
    do {
        if (std::optional<QByteArray> mac = FindNeighbour(Neighbours(), key))
            return mac;
        QThread::msleep(kResolvePollMs);
    } while (clock.elapsed() < kIpv6ResolveMs);
    return std::nullopt;
}

QString NetlinkLocalNetwork::MaskText(int prefixLength)
{
    const int bits = qBound(0, prefixLength, 32);
    const quint32 mask = bits == 0 ? 0 : ~quint32(0) << (32 - bits);
    return LocalNetworkFacts::AddressText(qToBigEndian(mask));
}
