#include "LoopbackPeer.h"
#include "WsdFixtures.h"

#include "survey/CFDNotificationCallback.h"
#include "survey/CWsd_Collection.h"
#include "survey/platform/linux/WsDiscoveryClient.h"
#include "survey/platform/linux/WsdMessage.h"
#include "survey/platform/linux/WsdMetadata.h"

#include <QElapsedTimer>
#include <QThread>

#include <arpa/inet.h>
#include <net/if.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

using WsdFixtures::Matches;
using WsdFixtures::Metadata;

const QString kEndpoint = QStringLiteral("urn:uuid:5a1e0000-0000-4000-8000-0000000000aa");

LinkInterfaces::Interface Loopback()
{
    LinkInterfaces::Interface lo;
    lo.name = QStringLiteral("lo");
    lo.index = if_nametoindex("lo");
    inet_pton(AF_INET, "127.0.0.1", &lo.address);
    inet_pton(AF_INET, "255.0.0.0", &lo.netmask);
    return lo;
}

// A client that "multicasts" to the peer's port on the loopback interface.
WsDiscoveryClient ClientFor(const LoopbackPeer& peer, int getTimeoutMs = 2000)
{
    WsDiscoveryClient::Options options;
    options.windowMs = 400;
    options.resolveMs = 400;
    options.getTimeoutMs = getTimeoutMs;
    options.group = QStringLiteral("127.0.0.1");
    options.port = peer.UdpPort();
    options.interfaces = {Loopback()};
    return WsDiscoveryClient(options);
}

QString XAddr(const LoopbackPeer& peer, const char* path = "dev")
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(peer.HttpPort()).arg(QLatin1String(path));
}

QList<CWsd_Collection> Records(const DeviceDiscoveryProbe::Result& result)
{
    CFDNotificationCallback sink;
    sink.Replay(result);
    QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(sink.Lines());
    for (CWsd_Collection& record : records)
        record.Parse([](const QString& address) { return address; });
    return records;
}

} // namespace

TEST(WsdMessage, ReadsMatchesByNamespaceWhateverThePrefix)
{
    for (const char* prefix : {"wsd", "d", "un0"}) {
        SCOPED_TRACE(prefix);
        const auto parsed = WsdMessage::Parse(
            Matches("ProbeMatches", "urn:uuid:probe", kEndpoint, "http://10.77.0.20:3702/x http://[fe80::1]/y",
                    QString::fromLatin1(prefix)));
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->kind, WsdMessage::Kind::ProbeMatch);
        EXPECT_EQ(parsed->relatesTo, "urn:uuid:probe");
        ASSERT_EQ(parsed->matches.size(), 1);
        EXPECT_EQ(parsed->matches[0].endpoint, kEndpoint);
        EXPECT_EQ(parsed->matches[0].xaddrs,
                  QStringList({"http://10.77.0.20:3702/x", "http://[fe80::1]/y"}));
        EXPECT_EQ(parsed->matches[0].types, QStringList({"wsdp:Device", "pub:Computer"}));
    }
}

TEST(WsdMessage, RefusesWhatIsNotADiscoveryMessage)
{
    QByteArray wrongNamespace = Matches("ProbeMatches", "r", kEndpoint, "http://a/");
    wrongNamespace.replace("http://schemas.xmlsoap.org/ws/2005/04/discovery\"", "urn:other\"");
    const QByteArray entityBomb =
        "<?xml version=\"1.0\"?><!DOCTYPE s [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;\">]>"
        "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>&c;&c;"
        "</soap:Body></soap:Envelope>";
    const struct {
        const char* name;
        QByteArray datagram;
        bool parses;
    } cases[] = {
        {"empty", QByteArray(), false},
        {"not XML", QByteArray("\x01\x02garbage<<"), false},
        {"truncated", Matches("ProbeMatches", "r", kEndpoint, "http://a/").left(300), false},
        {"no envelope", "<Envelope><Body/></Envelope>", false},
        {"oversized", QByteArray(WsdMessage::kMaxDatagram + 1, ' '), false},
        {"other namespace", wrongNamespace, true},
        {"entities", entityBomb, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = WsdMessage::Parse(c.datagram);
        EXPECT_EQ(bool(parsed), c.parses);
        if (parsed) {
            EXPECT_EQ(parsed->kind, WsdMessage::Kind::Other);
            EXPECT_TRUE(parsed->matches.isEmpty());
        }
    }
}

TEST(WsdMetadata, ReadsTheSectionsOfAComputer)
{
    const auto metadata = WsdMetadata::Parse(Metadata("LABSMB/Workgroup:LABWG", "Computers"));
    ASSERT_TRUE(metadata);
    EXPECT_EQ(metadata->computer, "LABSMB/Workgroup:LABWG");
    EXPECT_EQ(metadata->deviceCategories, QStringList{"Computers"});
    EXPECT_EQ(metadata->manufacturer, "VarnexLab");
    EXPECT_EQ(metadata->modelName, "LabNAS");
    EXPECT_EQ(metadata->serialNumber, "SN-0001");
    EXPECT_EQ(metadata->firmwareVersion, "1.0");

    EXPECT_FALSE(WsdMetadata::Parse("<html>nope</html>"));
    EXPECT_FALSE(WsdMetadata::Parse(QByteArray(WsdMetadata::kMaxBody + 1, ' ')));
}

TEST(WsDiscoveryClient, DevicePropertiesMakeTheHostRecordOfAComputer)
{
    WsdMetadata metadata;
    metadata.computer = QStringLiteral("LABWSD/Domain:LABDOM");
    metadata.deviceCategories = {QStringLiteral("Computers")};
    metadata.friendlyName = QStringLiteral("WSD Device LABWSD");
    metadata.manufacturer = QStringLiteral("wsdd");
    DeviceDiscoveryProbe::Result result;
    result.devices.append(WsDiscoveryClient::DeviceOf(kEndpoint, QStringLiteral("10.77.0.30"), metadata));
    metadata = WsdMetadata();
    metadata.deviceCategories = {QStringLiteral("Printers"), QStringLiteral("Scanners")};
    metadata.friendlyName = QStringLiteral("Lab MFP");
    metadata.serialNumber = QStringLiteral("X1");
    result.devices.append(WsDiscoveryClient::DeviceOf(QStringLiteral("urn:uuid:2"), QStringLiteral("10.77.0.40"),
                                                      metadata));

    const QList<CWsd_Collection> records = Records(result);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].m_strName, "\\\\LABWSD");
    EXPECT_EQ(records[0].m_strComputerInfo, "\\\\LABWSD/Domain:LABDOM");
    EXPECT_EQ(records[0].m_strAddress, "10.77.0.30");
    EXPECT_EQ(records[0].m_strDeviceCategory, "Computers");
    EXPECT_EQ(records[0].m_strFriendlyName, "WSD Device LABWSD");
    EXPECT_EQ(records[0].m_strManufacturer, "wsdd");
    EXPECT_EQ(records[1].m_astrCategories, QStringList({"Printers", "Scanners"}));
    EXPECT_EQ(records[1].m_strSerialNumber, "X1");
    EXPECT_EQ(records[1].m_strName, "10.77.0.40");
}

namespace {

// chosen: the address the metadata is asked at, or null for none.
void ExpectMetadataAddress(WsDiscoveryClient::Endpoint endpoint, const QStringList& xaddrs, const char* chosen)
{
    SCOPED_TRACE(xaddrs.join(' ').toStdString());
    endpoint.xaddrs = xaddrs;
    const std::optional<QString> address = WsDiscoveryClient::MetadataAddress(endpoint);
    if (chosen)
        EXPECT_EQ(address.value_or(QString()), QString::fromLatin1(chosen));
    else
        EXPECT_FALSE(address);
}

} // namespace

TEST(WsDiscoveryClient, MetadataIsFetchedOnlyFromTheDeviceOnItsLink)
{
    WsDiscoveryClient::Endpoint endpoint;
    endpoint.interface.address.s_addr = inet_addr("10.77.0.10");
    endpoint.interface.netmask.s_addr = inet_addr("255.255.255.0");
    endpoint.source = QStringLiteral("10.77.0.20");
    const struct {
        QStringList xaddrs;
        const char* chosen;
    } cases[] = {
        {{"http://10.77.0.20:3702/a"}, "http://10.77.0.20:3702/a"},
        {{"http://10.77.0.21/b", "http://10.77.0.20/a"}, "http://10.77.0.20/a"},
        {{"http://10.77.0.21/b"}, "http://10.77.0.21/b"},
        {{"http://10.78.0.1/elsewhere"}, nullptr},
        {{"https://10.77.0.20/a", "ftp://10.77.0.20/a"}, nullptr},
        {{"http://printer.example/a"}, nullptr},
        {{"not a url at all"}, nullptr},
        {{"http://[fe80::20]:5357/a"}, nullptr}, // not the family it answered in
    };
    for (const auto& c : cases)
        ExpectMetadataAddress(endpoint, c.xaddrs, c.chosen);
}

TEST(WsDiscoveryClient, Ipv6AddressesAreUsedOnTheLinkTheDeviceAnsweredOn)
{
    WsDiscoveryClient::Endpoint endpoint;
    endpoint.interface.family = AF_INET6;
    endpoint.interface.name = QStringLiteral("eth0");
    endpoint.source = QStringLiteral("fe80::20");
    const struct {
        QStringList xaddrs;
        const char* chosen;
    } cases[] = {
        {{"http://[fe80::20]:5357/a"}, "http://[fe80::20%25eth0]:5357/a"},
        {{"http://[fe80::21]/b", "http://[fe80::20]/a"}, "http://[fe80::20%25eth0]/a"},
        {{"http://[fe80::21]/b"}, "http://[fe80::21%25eth0]/b"},
        {{"http://[2001:db8::1]/global"}, nullptr},
        {{"http://10.77.0.20/v4"}, nullptr},
    };
    for (const auto& c : cases)
        ExpectMetadataAddress(endpoint, c.xaddrs, c.chosen);
}

TEST(WsDiscoveryClient, DevicesAnswerOverIpv6Too)
{
    // Set once the peer runs; read by its threads.
    std::atomic<LoopbackPeer*> self{nullptr};
    LoopbackPeer peer(
        [&self](const QString&, const QString& id) {
            return QList<QByteArray>{Matches("ProbeMatches", id, kEndpoint,
                                             QStringLiteral("http://[::1]:%1/dev").arg(self.load()->HttpPort()))};
        },
        [](const QByteArray&) { return LoopbackPeer::HttpOk(Metadata("LABSMB/Workgroup:LABWG")); }, AF_INET6);
    self = &peer;
    LinkInterfaces::Interface lo;
    lo.name = QStringLiteral("lo");
    lo.index = if_nametoindex("lo");
    lo.family = AF_INET6;
    lo.address6 = in6addr_loopback;
    WsDiscoveryClient::Options options;
    options.windowMs = 400;
    options.group6 = QStringLiteral("::1");
    options.port = peer.UdpPort();
    options.interfaces = {lo};
    const QList<CWsd_Collection> records = Records(WsDiscoveryClient(options).Discover());
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].m_strAddress, "::1");
    EXPECT_EQ(records[0].m_strComputerInfo, "\\\\LABSMB/Workgroup:LABWG");
}

TEST(WsDiscoveryClient, RepeatedAnswersGiveOneDevice)
{
    // Set once the peer runs; read by its threads.
    std::atomic<LoopbackPeer*> self{nullptr};
    LoopbackPeer peer(
        [&self](const QString&, const QString& id) {
            const QByteArray match = Matches("ProbeMatches", id, kEndpoint, XAddr(*self.load()));
            return QList<QByteArray>{match, match, match};
        },
        [](const QByteArray&) { return LoopbackPeer::HttpOk(Metadata("LABSMB/Workgroup:LABWG")); });
    self = &peer;
    const DeviceDiscoveryProbe::Result result = ClientFor(peer).Discover();
    EXPECT_EQ(result.error, 0u);
    const QList<CWsd_Collection> records = Records(result);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].m_strComputerInfo, "\\\\LABSMB/Workgroup:LABWG");
    EXPECT_EQ(records[0].m_strAddress, "127.0.0.1");
    EXPECT_EQ(peer.GetsReceived(), 1);
}

TEST(WsDiscoveryClient, AnEndpointWithoutAddressesIsResolvedByItsOwnAnswerOnly)
{
    // Set once the peer runs; read by its threads.
    std::atomic<LoopbackPeer*> self{nullptr};
    LoopbackPeer peer(
        [&self](const QString& kind, const QString& id) {
            if (kind == QLatin1String("Probe"))
                return QList<QByteArray>{Matches("ProbeMatches", id, kEndpoint, QString())};
            // A responder that answers for another endpoint first must not be believed.
            return QList<QByteArray>{
                Matches("ResolveMatches", id, QStringLiteral("urn:uuid:someone-else"), XAddr(*self.load(), "wrong")),
                Matches("ResolveMatches", id, kEndpoint, XAddr(*self.load(), "right"))};
        },
        [](const QByteArray& request) {
            if (!request.startsWith("POST /right"))
                return QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            return LoopbackPeer::HttpOk(Metadata("LABWSD/Domain:LABDOM"));
        });
    self = &peer;
    const QList<CWsd_Collection> records = Records(ClientFor(peer).Discover());
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].m_strComputerInfo, "\\\\LABWSD/Domain:LABDOM");
    EXPECT_GE(peer.ResolvesReceived(), 1);
}

TEST(WsDiscoveryClient, HostilePeersCostBoundedTimeAndAreSkipped)
{
    const QString otherEndpoint = QStringLiteral("urn:uuid:slow");
    const QString hugeEndpoint = QStringLiteral("urn:uuid:huge");
    const QString offLink = QStringLiteral("urn:uuid:offlink");
    // Set once the peer runs; read by its threads.
    std::atomic<LoopbackPeer*> self{nullptr};
    LoopbackPeer peer(
        [&](const QString& kind, const QString& id) {
            if (kind != QLatin1String("Probe"))
                return QList<QByteArray>{};
            return QList<QByteArray>{
                QByteArray(60000, '<'),
                QByteArray("\xff\xfe garbage"),
                Matches("ProbeMatches", QStringLiteral("urn:uuid:not-our-probe"), QStringLiteral("urn:uuid:x"),
                        XAddr(*self.load())),
                Matches("ProbeMatches", id, otherEndpoint, XAddr(*self.load(), "slow")),
                Matches("ProbeMatches", id, hugeEndpoint, XAddr(*self.load(), "huge")),
                Matches("ProbeMatches", id, offLink, QStringLiteral("http://10.78.0.99/elsewhere")),
                Matches("ProbeMatches", id, kEndpoint, XAddr(*self.load(), "good")),
            };
        },
        [](const QByteArray& request) {
            if (request.startsWith("POST /slow")) {
                QThread::msleep(1500);
                return LoopbackPeer::HttpOk(Metadata("SLOW/Workgroup:X"));
            }
            if (request.startsWith("POST /huge"))
                return LoopbackPeer::HttpOk(QByteArray(2 * WsdMetadata::kMaxBody, 'x'));
            return LoopbackPeer::HttpOk(Metadata("GOOD/Workgroup:X"));
        });
    self = &peer;
    QElapsedTimer clock;
    clock.start();
    const QList<CWsd_Collection> records = Records(ClientFor(peer, 500).Discover());
    // Window, Get time-out and slack: a hang would take far longer.
    EXPECT_LT(clock.elapsed(), 10000);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].m_strComputerInfo, "\\\\GOOD/Workgroup:X");
    // The off-link device was never contacted: three Gets (slow, huge, good).
    EXPECT_EQ(peer.GetsReceived(), 3);
}

TEST(WsdMetadata, CrowdsOfAttributesOrElementsAreRefusedBeforeTheyAreRead)
{
    QByteArray attributes = "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"";
    for (int i = 0; i < 1000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"x\"";
    attributes += "><soap:Body/></soap:Envelope>";
    EXPECT_FALSE(WsdMetadata::Parse(attributes));
    EXPECT_FALSE(WsdMessage::Parse(attributes));
    QByteArray elements = "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>";
    for (int i = 0; i < 30000; ++i)
        elements += "<h/>";
    elements += "</soap:Body></soap:Envelope>";
    EXPECT_FALSE(WsdMetadata::Parse(elements));
    // An ordinary answer is well within the bounds.
    EXPECT_TRUE(WsdMetadata::Parse(Metadata("LABSMB/Workgroup:LABWG")));
}
