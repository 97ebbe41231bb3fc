#include "ResolverNames.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <memory>

namespace {

constexpr int kHostBuffer = 1025; // NI_MAXHOST
// Names longer than a DNS name can be are not looked up.
constexpr qsizetype kMaxName = 253;

struct AddrInfoDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddrInfo = std::unique_ptr<addrinfo, AddrInfoDeleter>;

AddrInfo Resolve(const QString& name, int flags, int socketType, int protocol)
{
    if (name.isEmpty() || name.size() > kMaxName)
        return {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_flags = flags;
    hints.ai_socktype = socketType;
    hints.ai_protocol = protocol;
    addrinfo* list = nullptr;
    if (getaddrinfo(name.toUtf8().constData(), nullptr, &hints, &list) != 0)
        return {};
    return AddrInfo(list);
}

QString DottedText(const addrinfo* entry)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr, text, sizeof text);
    return QString::fromLatin1(text);
}

} // namespace

QString ResolverNames::ReverseLookup(const QString& address) const
{
    if (address.isEmpty())
        return {};
    sockaddr_storage storage{};
    socklen_t length = 0;
    const QByteArray text = address.section(QLatin1Char('%'), 0, 0).toLatin1();
    if (address.contains(QLatin1Char(':'))) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
        v6->sin6_family = AF_INET6;
        length = sizeof *v6;
        if (inet_pton(AF_INET6, text.constData(), &v6->sin6_addr) != 1)
            return address;
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
        v4->sin_family = AF_INET;
        length = sizeof *v4;
        if (inet_pton(AF_INET, text.constData(), &v4->sin_addr) != 1)
            return address;
    }
    char host[kHostBuffer] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&storage), length, host, sizeof host, nullptr, 0,
                    NI_NUMERICSERV)
        != 0)
        return address;
    return QString::fromUtf8(host);
}

std::optional<NameResolutionProbe::HostEntry> ResolverNames::LookupHost(const QString& name) const
{
    const AddrInfo list = Resolve(name, AI_CANONNAME, SOCK_STREAM, IPPROTO_TCP);
    if (!list)
        return std::nullopt;
    HostEntry entry;
    entry.officialName = list->ai_canonname ? QString::fromUtf8(list->ai_canonname) : name;
    entry.address = DottedText(list.get());
    return entry;
}

QString ResolverNames::ForwardLookup(const QString& name) const
{
    const AddrInfo list = Resolve(name, 0, SOCK_STREAM, IPPROTO_TCP);
    QString last;
    for (const addrinfo* entry = list.get(); entry; entry = entry->ai_next)
        last = DottedText(entry);
    return last;
}
