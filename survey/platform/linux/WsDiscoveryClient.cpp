#include "WsDiscoveryClient.h"

#include "survey/platform/linux/BoundedHttpClient.h"
#include "survey/platform/linux/ParallelWork.h"
#include "survey/platform/linux/UniqueFd.h"
#include "survey/platform/linux/WsdMessage.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLoggingCategory>
#include <QUrl>
#include <QUuid>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <optional>
#include <atomic>
#include <thread>
#include <vector>

Q_LOGGING_CATEGORY(lcWsd, "varnex.wsd", QtInfoMsg)

namespace {

constexpr auto kPnpx = "{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}";
constexpr auto kDisplayCategory = "{78c34fc8-104a-4aca-9ea4-524d52996e57}";
constexpr auto kComputerInfo = "{63c6d5b8-f73a-4aca-967e-0cc787e0b559}";
constexpr quint32 kIdentity = 0x1005;
constexpr quint32 kTypes = 0x1001;
constexpr quint32 kXAddrs = 0x1003;
constexpr quint32 kManufacturer = 0x2000;
constexpr quint32 kManufacturerUrl = 0x2001;
constexpr quint32 kModelName = 0x2002;
constexpr quint32 kModelNumber = 0x2003;
constexpr quint32 kModelUrl = 0x2004;
constexpr quint32 kPresentationUrl = 0x2006;
constexpr quint32 kFriendlyName = 0x3000;
constexpr quint32 kFirmwareVersion = 0x3001;
constexpr quint32 kSerialNumber = 0x3002;
constexpr quint32 kDeviceCategory = 0x3004;
constexpr quint32 kIpAddress = 0x3009;
constexpr quint32 kDisplayCategoryId = 90;
constexpr quint32 kComputerInfoId = 0x5003;
constexpr quint32 kErrorNoNetwork = 1222; // ERROR_NO_NETWORK
// More devices than this on one link is a flood, not a network.
constexpr qsizetype kMaxEndpoints = 256;
// A computer or printer has an endpoint or two; one address claiming many
// must not crowd the other devices out of the search.
constexpr int kMaxEndpointsPerAddress = 8;
// Datagrams taken from one socket before the clock is looked at again.
constexpr int kDatagramsPerRound = 32;
// All metadata requests of one search together.
constexpr int kDescribeBudgetMs = 15000;
constexpr int kProbeRepeatMs = 100;
constexpr int kMaxParallelGets = 16;
constexpr auto kProviderPrefix = "Provider\\Microsoft.Networking.WSD\\";

struct Channel {
    UniqueFd socket;
    LinkInterfaces::Interface interface;
    sockaddr_storage to{}; // the multicast group of the channel's family
    socklen_t toLength = 0;
};

UniqueFd OpenIpv4(const LinkInterfaces::Interface& interface)
{
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return {};
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr = interface.address;
    ip_mreqn outgoing{};
    outgoing.imr_address = interface.address;
    outgoing.imr_ifindex = int(interface.index);
    const unsigned char ttl = 1;
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0
        || setsockopt(fd.get(), IPPROTO_IP, IP_MULTICAST_IF, &outgoing, sizeof outgoing) != 0
        || setsockopt(fd.get(), IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0)
        return {};
    return fd;
}

UniqueFd OpenIpv6(const LinkInterfaces::Interface& interface)
{
    UniqueFd fd(::socket(AF_INET6, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return {};
    sockaddr_in6 local{};
    local.sin6_family = AF_INET6;
    local.sin6_addr = interface.address6;
    local.sin6_scope_id = interface.index;
    const unsigned index = interface.index;
    const int hops = 1;
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0
        || setsockopt(fd.get(), IPPROTO_IPV6, IPV6_MULTICAST_IF, &index, sizeof index) != 0
        || setsockopt(fd.get(), IPPROTO_IPV6, IPV6_MULTICAST_HOPS, &hops, sizeof hops) != 0)
        return {};
    return fd;
}

// Room for the answers of a busy link between two reads, so a peer that
// floods does not make the kernel drop the other devices' answers. Best
// effort: the system caps it.
void WidenReceiveBuffer(int fd)
{
    const int bytes = 4 * 1024 * 1024;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

std::optional<Channel> OpenChannel(const LinkInterfaces::Interface& interface, const WsDiscoveryClient::Options& options)
{
    Channel channel;
    channel.interface = interface;
    if (interface.family == AF_INET6) {
        channel.socket = OpenIpv6(interface);
        auto* to = reinterpret_cast<sockaddr_in6*>(&channel.to);
        to->sin6_family = AF_INET6;
        to->sin6_port = htons(options.port);
        to->sin6_scope_id = interface.index;
        inet_pton(AF_INET6, options.group6.toLatin1().constData(), &to->sin6_addr);
        channel.toLength = sizeof *to;
    } else {
        channel.socket = OpenIpv4(interface);
        auto* to = reinterpret_cast<sockaddr_in*>(&channel.to);
        to->sin_family = AF_INET;
        to->sin_port = htons(options.port);
        inet_pton(AF_INET, options.group.toLatin1().constData(), &to->sin_addr);
        channel.toLength = sizeof *to;
    }
    if (!channel.socket.valid())
        return std::nullopt;
    WidenReceiveBuffer(channel.socket.get());
    return channel;
}

void Send(const Channel& channel, const QByteArray& message)
{
    ::sendto(channel.socket.get(), message.constData(), size_t(message.size()), 0,
             reinterpret_cast<const sockaddr*>(&channel.to), channel.toLength);
}

QString SourceText(const sockaddr_storage& from)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (from.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(from).sin6_addr, text, sizeof text);
    else
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(from).sin_addr, text, sizeof text);
    return QString::fromLatin1(text);
}

WsdDumpLines::Property Text(const char* fmtid, quint32 id, const QString& value)
{
    return {QUuid::fromString(QLatin1String(fmtid)), id, value};
}

void AddIfPresent(QList<WsdDumpLines::Property>& properties, quint32 id, const QString& value)
{
    if (!value.isEmpty())
        properties.append(Text(kPnpx, id, value));
}

// The receiving side of one search: the answers of every channel, sorted
// into endpoints, with the Resolves still outstanding.
class SearchState {
public:
    SearchState(const QString& probeId, int windowMs, int resolveMs)
        : m_probeId(probeId)
        , m_windowMs(windowMs)
        , m_resolveMs(resolveMs)
    {
    }

    void Take(const Channel& channel, const QByteArray& datagram, const QString& source, qint64 now)
    {
        const std::optional<WsdMessage::Parsed> parsed = WsdMessage::Parse(datagram);
        if (!parsed)
            return;
        // Matches after the window are late; they could otherwise stretch
        // the search with Resolves for ever new endpoints.
        if (parsed->kind == WsdMessage::Kind::ProbeMatch && parsed->relatesTo == m_probeId && now < m_windowMs) {
            for (const WsdMessage::Match& match : parsed->matches)
                TakeProbeMatch(channel, match, source, now);
        } else if (parsed->kind == WsdMessage::Kind::ResolveMatch) {
            TakeResolveMatch(*parsed, source);
        }
    }

    bool ResolvesPending(qint64 now) const
    {
        return std::any_of(m_pending.cbegin(), m_pending.cend(),
                           [now](const Pending& p) { return now < p.deadline; });
    }
    qint64 LastResolveDeadline() const
    {
        qint64 last = 0;
        for (const Pending& p : m_pending)
            last = std::max(last, p.deadline);
        return last;
    }
    QList<WsDiscoveryClient::Endpoint> Endpoints() const { return m_endpoints; }

private:
    struct Pending {
        qsizetype endpointIndex = 0;
        qint64 deadline = 0;
    };

    void TakeProbeMatch(const Channel& channel, const WsdMessage::Match& match, const QString& source,
                        qint64 now)
    {
        if (match.endpoint.isEmpty() || m_index.contains(match.endpoint)
            || m_endpoints.size() >= kMaxEndpoints || m_perAddress.value(source) >= kMaxEndpointsPerAddress)
            return; // the first answer of an endpoint counts; devices repeat themselves
        ++m_perAddress[source];
        m_index.insert(match.endpoint, m_endpoints.size());
        m_endpoints.append({match.endpoint, match.types, match.xaddrs, source, channel.interface});
        if (!match.xaddrs.isEmpty())
            return;
        const QString resolveId = WsdMessage::NewMessageId();
        m_pending.insert(resolveId, {m_endpoints.size() - 1, now + m_resolveMs});
        Send(channel, WsdMessage::Resolve(resolveId, match.endpoint));
    }

    void TakeResolveMatch(const WsdMessage::Parsed& parsed, const QString& source)
    {
        const auto pending = m_pending.constFind(parsed.relatesTo);
        if (pending == m_pending.cend())
            return;
        WsDiscoveryClient::Endpoint& endpoint = m_endpoints[pending->endpointIndex];
        for (const WsdMessage::Match& match : parsed.matches) {
            // Some responders answer every Resolve; only the endpoint asked
            // for may tell where it listens.
            if (match.endpoint != endpoint.endpoint || match.xaddrs.isEmpty())
                continue;
            endpoint.xaddrs = match.xaddrs;
            endpoint.source = source;
            m_pending.erase(pending);
            return;
        }
    }

    QString m_probeId;
    int m_windowMs;
    int m_resolveMs;
    QList<WsDiscoveryClient::Endpoint> m_endpoints;
    QHash<QString, qsizetype> m_index;
    QHash<QString, int> m_perAddress;
    QHash<QString, Pending> m_pending;
};

void Receive(const Channel& channel, SearchState& state, qint64 now)
{
    QByteArray buffer(WsdMessage::kMaxDatagram + 1, Qt::Uninitialized);
    // A peer that sends without pause must not keep the search here.
    for (int taken = 0; taken < kDatagramsPerRound; ++taken) {
        sockaddr_storage from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(channel.socket.get(), buffer.data(), size_t(buffer.size()),
                                     MSG_TRUNC, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0)
            return;
        if (n > WsdMessage::kMaxDatagram)
            continue; // oversized: not a SOAP-over-UDP message
        state.Take(channel, buffer.left(qsizetype(n)), SourceText(from), now);
    }
}

} // namespace

WsDiscoveryClient::WsDiscoveryClient(const Options& options)
    : m_options(options)
{
}

DeviceDiscoveryProbe::Result WsDiscoveryClient::Discover() const
{
    const QList<LinkInterfaces::Interface> interfaces = m_options.interfaces.isEmpty()
        ? LinkInterfaces::Usable() + LinkInterfaces::UsableIpv6()
        : m_options.interfaces;
    if (interfaces.isEmpty())
        return {kErrorNoNetwork, {}};
    const QList<Endpoint> endpoints = Search(interfaces);
    std::vector<std::optional<Device>> described(size_t(endpoints.size()));
    std::atomic<qsizetype> next = 0;
    QElapsedTimer budget;
    budget.start();
    const auto worker = [&] {
        for (qsizetype i = next++; i < endpoints.size() && budget.elapsed() < kDescribeBudgetMs; i = next++)
            described[size_t(i)] = Describe(endpoints.at(i));
    };
    BoundedHttpClient::InitialiseOnce();
    ParallelWork::Run(int(std::min<qsizetype>(endpoints.size(), kMaxParallelGets)), worker);
    Result result;
    for (std::optional<Device>& device : described)
        if (device)
            result.devices.append(std::move(*device));
    return result;
}

QList<WsDiscoveryClient::Endpoint> WsDiscoveryClient::Search(
    const QList<LinkInterfaces::Interface>& interfaces) const
{
    std::vector<Channel> channels;
    for (const LinkInterfaces::Interface& interface : interfaces)
        if (std::optional<Channel> channel = OpenChannel(interface, m_options))
            channels.push_back(std::move(*channel));
    const QString probeId = WsdMessage::NewMessageId();
    const QByteArray probe = WsdMessage::Probe(probeId);
    SearchState state(probeId, m_options.windowMs, m_options.resolveMs);
    // Whatever peers send, the search ends by then.
    const qint64 hardEnd = qint64(m_options.windowMs) + m_options.resolveMs;
    QElapsedTimer clock;
    clock.start();
    bool repeated = false;
    for (const Channel& channel : channels)
        Send(channel, probe);
    std::vector<pollfd> fds;
    for (const Channel& channel : channels)
        fds.push_back({channel.socket.get(), POLLIN, 0});
    for (;;) {
        const qint64 now = clock.elapsed();
        if (!repeated && now >= kProbeRepeatMs) {
            // SOAP-over-UDP sends multicast twice: one datagram may be lost.
            for (const Channel& channel : channels)
                Send(channel, probe);
            repeated = true;
        }
        if ((now >= m_options.windowMs && !state.ResolvesPending(now)) || now >= hardEnd)
            break;
        qint64 until = std::min(hardEnd, std::max<qint64>(m_options.windowMs, state.LastResolveDeadline()));
        if (!repeated)
            until = kProbeRepeatMs;
        const int wait = int(std::clamp<qint64>(until - now, 1, 1000));
        if (::poll(fds.data(), nfds_t(fds.size()), wait) <= 0)
            continue;
        for (size_t i = 0; i < fds.size(); ++i)
            if (fds[i].revents & POLLIN)
                Receive(channels[i], state, clock.elapsed());
    }
    return state.Endpoints();
}

std::optional<QString> WsDiscoveryClient::MetadataAddress(const Endpoint& endpoint)
{
    std::optional<QString> onLink;
    for (const QString& xaddr : endpoint.xaddrs) {
        QUrl url(xaddr, QUrl::StrictMode);
        if (!url.isValid() || url.scheme() != QLatin1String("http"))
            continue;
        const QString host = url.host().section(QLatin1Char('%'), 0, 0);
        if (endpoint.interface.family == AF_INET6) {
            in6_addr address{};
            if (inet_pton(AF_INET6, host.toLatin1().constData(), &address) != 1)
                continue;
            const bool linkLocal = IN6_IS_ADDR_LINKLOCAL(&address);
            if (host != endpoint.source && !linkLocal)
                continue;
            // A link-local address means nothing without the link it is on.
            url.setHost(linkLocal ? host + QLatin1Char('%') + endpoint.interface.name : host);
            if (host == endpoint.source)
                return url.toString();
            if (!onLink)
                onLink = url.toString();
            continue;
        }
        in_addr address{};
        if (inet_pton(AF_INET, host.toLatin1().constData(), &address) != 1)
            continue;
        if (host == endpoint.source)
            return xaddr;
        if (!onLink && LinkInterfaces::SameSubnet(endpoint.interface, address))
            onLink = xaddr;
    }
    return onLink;
}

std::optional<DeviceDiscoveryProbe::Device> WsDiscoveryClient::Describe(const Endpoint& endpoint) const
{
    const std::optional<QString> address = MetadataAddress(endpoint);
    if (!address) {
        qCDebug(lcWsd) << "skipped" << endpoint.endpoint << ": no HTTP address on the link";
        return std::nullopt;
    }
    BoundedHttpClient::Limits limits;
    limits.totalTimeoutMs = m_options.getTimeoutMs;
    limits.maxBody = WsdMetadata::kMaxBody;
    const BoundedHttpClient::Response response = BoundedHttpClient::Post(
        *address, WsdMessage::TransferGet(WsdMessage::NewMessageId(), endpoint.endpoint), limits);
    if (!response.ok) {
        qCDebug(lcWsd) << "skipped" << endpoint.endpoint << ":" << response.error;
        return std::nullopt;
    }
    const std::optional<WsdMetadata> metadata = WsdMetadata::Parse(response.body);
    if (!metadata) {
        qCDebug(lcWsd) << "skipped" << endpoint.endpoint << ": the metadata is not readable";
        return std::nullopt;
    }
    Device device = DeviceOf(endpoint.endpoint, QUrl(*address).host().section(QLatin1Char('%'), 0, 0), *metadata);
    device.properties.append(Text(kPnpx, kTypes, endpoint.types.join(QLatin1Char(' '))));
    device.properties.append({QUuid::fromString(QLatin1String(kPnpx)), kXAddrs, endpoint.xaddrs});
    return device;
}

std::pair<QString, QString> WsDiscoveryClient::ComputerOf(const Device& device)
{
    const QUuid computerInfo = QUuid::fromString(QLatin1String(kComputerInfo));
    const QUuid pnpx = QUuid::fromString(QLatin1String(kPnpx));
    std::pair<QString, QString> found;
    for (const WsdDumpLines::Property& property : device.properties) {
        const QString* text = std::get_if<QString>(&property.value);
        if (!text)
            continue;
        if (property.formatId == computerInfo && property.propertyId == kComputerInfoId)
            found.first = text->section(QLatin1Char('/'), 0, 0);
        else if (property.formatId == pnpx && property.propertyId == kIpAddress)
            found.second = text->section(QLatin1Char('%'), 0, 0);
    }
    return found;
}

DeviceDiscoveryProbe::Device WsDiscoveryClient::DeviceOf(const QString& endpoint, const QString& address,
                                                         const WsdMetadata& metadata)
{
    Device device;
    device.providerInstanceId = QLatin1String(kProviderPrefix) + endpoint;
    QList<WsdDumpLines::Property>& properties = device.properties;
    properties.append(Text(kPnpx, kIdentity, endpoint));
    properties.append(Text(kPnpx, kIpAddress, address));
    QStringList categories = metadata.deviceCategories;
    if (categories.isEmpty() && !metadata.computer.isEmpty())
        categories.append(QStringLiteral("Computers"));
    if (!categories.isEmpty()) {
        properties.append({QUuid::fromString(QLatin1String(kDisplayCategory)), kDisplayCategoryId, categories});
        properties.append(Text(kPnpx, kDeviceCategory, categories.first()));
    }
    AddIfPresent(properties, kFriendlyName, metadata.friendlyName);
    AddIfPresent(properties, kManufacturer, metadata.manufacturer);
    AddIfPresent(properties, kManufacturerUrl, metadata.manufacturerUrl);
    AddIfPresent(properties, kModelName, metadata.modelName);
    AddIfPresent(properties, kModelNumber, metadata.modelNumber);
    AddIfPresent(properties, kModelUrl, metadata.modelUrl);
    AddIfPresent(properties, kPresentationUrl, metadata.presentationUrl);
    AddIfPresent(properties, kFirmwareVersion, metadata.firmwareVersion);
    AddIfPresent(properties, kSerialNumber, metadata.serialNumber);
    if (!metadata.computer.isEmpty())
        properties.append(Text(kComputerInfo, kComputerInfoId, metadata.computer));
    return device;
}
