#include "support/SimulatedLan.h"

#include "objects/MapObjectTesting.h"
#include "survey/AddressMacGrouping.h"
#include "survey/CFDNotificationCallback.h"
#include "survey/CPing.h"
#include "survey/CTh_Analysis.h"
#include "survey/CTh_SNMP.h"
#include "survey/CWsd_Collection.h"
#include "survey/LocalNetworkFacts.h"

#include <gtest/gtest.h>

#include <atomic>

using MapObjectTesting::ip;

namespace {

// Names resolve to fixed addresses; echoes answer from a given attempt on.
class FakeNet final : public NameResolutionProbe, public PingProbe, public SnmpProbe {
public:
    int answerFromAttempt = 1;
    mutable std::atomic<int> echoes = 0;
    mutable QStringList echoTargets;
    mutable QStringList communitiesAsked;
    bool snmpAnswers = true;
    QString answeringCommunity;
    SnmpProbe::Value snmpValue = QByteArray("router");

    QString ReverseLookup(const QString& address) const override { return address; }
    std::optional<HostEntry> LookupHost(const QString& name) const override
    {
        if (name == QLatin1String("PC1"))
            return HostEntry{QStringLiteral("pc1.corp.example"), QStringLiteral("10.77.0.21")};
        return std::nullopt;
    }
    QString ForwardLookup(const QString&) const override { return {}; }
    bool Echo(const QString& address, int timeoutMs) const override
    {
        EXPECT_EQ(timeoutMs, CPing::kTimeoutMs);
        echoTargets.append(address);
        return ++echoes >= answerFromAttempt;
    }
    Result Get(const QString&, const QString& community, const QString&, int) const override
    {
        communitiesAsked.append(community);
        Result result;
        result.answered = snmpAnswers && (answeringCommunity.isEmpty() || community == answeringCommunity);
        result.value = snmpValue;
        return result;
    }
};

} // namespace

TEST(Ping, LeadingZerosOfEveryComponentAreDropped)
{
    const std::pair<const char*, const char*> cases[] = {
        {"192.168.001.010", "192.168.1.10"},
        {"010.001.002.003", "10.1.2.3"},
        {"0.0.0.0", "0.0.0.0"},
        {"10.0.0.100", "10.0.0.100"},
        {"007", "7"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(CPing::WithoutLeadingZeros(in), out) << in;
}

TEST(Ping, NamesAreResolvedAndNumbersConverted)
{
    FakeNet net;
    const CPing ping(net, net);
    EXPECT_EQ(ping.HostAddress("PC1"), ip("10.77.0.21"));
    EXPECT_EQ(ping.HostAddress("192.168.001.010"), ip("192.168.1.10"));
    EXPECT_EQ(ping.HostAddress("NOSUCH"), 0u);
    EXPECT_EQ(ping.HostAddress(QString(64, QLatin1Char('1'))), 0u);
}

TEST(Ping, AnswerOnTheSecondAttemptCounts)
{
    FakeNet net;
    net.answerFromAttempt = 2;
    EXPECT_TRUE(CPing(net, net).Ping("PC1"));
    EXPECT_EQ(net.echoTargets, QStringList({"10.77.0.21", "10.77.0.21"}));
    net.echoes = 0;
    net.answerFromAttempt = 3;
    EXPECT_FALSE(CPing(net, net).Ping("PC1"));
}

TEST(Ping, UnresolvableHostSendsNothing)
{
    FakeNet net;
    EXPECT_FALSE(CPing(net, net).Ping("NOSUCH"));
    EXPECT_EQ(net.echoes, 0);
}

TEST(Snmp, ValueTexts)
{
    EXPECT_EQ(CTh_SNMP::ValueText(qint64(1234567)), "1234567");
    EXPECT_EQ(CTh_SNMP::ValueText(QByteArray("RTX830")), "RTX830");
    EXPECT_EQ(CTh_SNMP::ValueText(QByteArray("gw\x07")), "<0x67><0x77><0x07>");
    EXPECT_EQ(CTh_SNMP::ValueText(SnmpProbe::Null{}), "");
}

TEST(Snmp, FirstCommunityIsUsedAndAnEmptyListFails)
{
    FakeNet net;
    CTh_SNMP query(net, "10.77.0.1");
    EXPECT_EQ(query.Query({}, CTh_SNMP::kSysName, 6000, 3), CTh_SNMP::kRequestFailed);
    EXPECT_TRUE(net.communitiesAsked.isEmpty());
    EXPECT_EQ(query.Query({"private", "public"}, CTh_SNMP::kSysName, 6000, 3), CTh_SNMP::kSuccess);
    EXPECT_EQ(net.communitiesAsked, QStringList{"private"});
    EXPECT_EQ(query.m_strSysName, "router");
    EXPECT_TRUE(query.m_strSysDescr.isEmpty());
    EXPECT_EQ(query.Query({"public"}, "1.3.x", 6000, 3), CTh_SNMP::kBadIdentifier);
}

TEST(Snmp, CommunitiesAreTriedInOrderUntilTheAgentAnswers)
{
    FakeNet net;
    net.answeringCommunity = QStringLiteral("public");
    CTh_SNMP query(net, "10.77.0.1");
    EXPECT_EQ(query.Query({"private", "public", "other"}, CTh_SNMP::kSysName, 500, 1), CTh_SNMP::kSuccess);
    EXPECT_EQ(net.communitiesAsked, QStringList({"private", "private", "public"}));
    EXPECT_EQ(query.m_strSysName, "router");
}

TEST(Snmp, SilentAgentIsAskedOncePlusTheRetries)
{
    FakeNet net;
    net.snmpAnswers = false;
    CTh_SNMP query(net, "10.77.0.1");
    EXPECT_EQ(query.Query({"public"}, CTh_SNMP::kSysDescr, 6000, 3), CTh_SNMP::kRequestFailed);
    EXPECT_EQ(net.communitiesAsked.size(), 4);
}

TEST(GatewayLines, DescriptionIsCutIntoFortyCharacterLines)
{
    const QString description(95, QLatin1Char('d'));
    const QStringList lines = CTh_Analysis::DescriptionLines("gw", description);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(0), "gw");
    EXPECT_EQ(lines.at(1).size(), 40);
    EXPECT_EQ(lines.at(3).size(), 15);
    EXPECT_EQ(CTh_Analysis::DescriptionLines("", "").size(), 0);
}

TEST(ServerInfoFailure, CodeTexts)
{
    const std::pair<quint32, const char*> cases[] = {
        {5, "101_ACCESS_DENIED 5"},
        {8, "101_NOT_ENOUGH_MEMORY 8"},
        {53, "「ネットワーク共有サービス」が有効かご確認ください。"},
        {87, "101_INVALID_PARAMETER 87"},
        {123, "101_INVALID_NAME 123"},
        {124, "101_INVALID_LEVEL 124"},
        {2114, "101_ERR_2114"},
    };
    for (const auto& [error, code] : cases)
        EXPECT_EQ(CTh_Analysis::ServerInfoFailureLines(error).last(), QString::fromUtf8(code));
    EXPECT_EQ(CTh_Analysis::ServerInfoFailureLines(5).first(), "アクセスが拒否されました。");
    EXPECT_EQ(CTh_Analysis::ServerInfoFailureLines(2114).size(), 1);
}

TEST(AddressMacGrouping, PlaceholderLooksLikeAMac)
{
    EXPECT_EQ(AddressMacGrouping::Placeholder(0x1A2B3C4D), "No-Ad-1A-2B-3C-4D");
    EXPECT_EQ(AddressMacGrouping::Placeholder(7), "No-Ad-00-00-00-07");
}

TEST(AddressMacGrouping, ShortOrMissingMacsTakeThePlaceholder)
{
    const QString placeholder = AddressMacGrouping::Placeholder(1);
    const QMap<quint32, QString> adapters = AddressMacGrouping::MapAdapters(
        {{ip("10.77.0.5")}, {ip("10.77.0.6")}}, {"00-15-5d-00-00-05", ""}, placeholder);
    EXPECT_EQ(adapters.value(ip("10.77.0.5")), "00-15-5d-00-00-05");
    EXPECT_EQ(adapters.value(ip("10.77.0.6")), placeholder);

    const QMap<quint32, QString> arp = AddressMacGrouping::MapAddresses(
        {ip("10.77.0.7"), ip("10.77.0.8")},
        [](quint32 address) -> std::optional<QString> {
            if (address == ip("10.77.0.7"))
                return QStringLiteral("00-15-5d-00-00-07");
            return std::nullopt;
        },
        placeholder);
    EXPECT_EQ(arp.value(ip("10.77.0.7")), "00-15-5d-00-00-07");
    EXPECT_EQ(arp.value(ip("10.77.0.8")), placeholder);
}

TEST(AddressMacGrouping, ListsSharingAMacIgnoringCaseMergeInPlace)
{
    const QList<QList<quint32>> lists{{ip("10.0.0.1")}, {ip("10.0.0.2")}, {ip("10.0.0.3")}, {}};
    const QMap<quint32, QString> macs{{ip("10.0.0.1"), "aa-bb-cc-dd-ee-01"},
                                      {ip("10.0.0.2"), "AA-BB-CC-DD-EE-02"},
                                      {ip("10.0.0.3"), "aa-bb-cc-dd-ee-02"}};
    const AddressMacGrouping::Merged merged = AddressMacGrouping::MergeByMac(lists, macs);
    EXPECT_EQ(merged.adapterIndexes, QList<int>({0, 1}));
    EXPECT_EQ(merged.addresses,
              (QList<QList<quint32>>{{ip("10.0.0.1")}, {ip("10.0.0.2"), ip("10.0.0.3")}}));
}

TEST(LocalNetworkFacts, MacTextForms)
{
    const QByteArray mac = QByteArray::fromHex("0015 5dab 00cd");
    EXPECT_EQ(LocalNetworkFacts::MacTextUpper(mac), "00-15-5D-AB-00-CD");
    EXPECT_EQ(LocalNetworkFacts::MacTextLower(mac), "00-15-5d-ab-00-cd");
}

TEST(LocalNetworkFacts, LastAdapterGatewayWins)
{
    LocalNetworkProbe::Adapter first;
    first.gateway.address = "192.168.1.1";
    LocalNetworkProbe::Adapter none;
    LocalNetworkProbe::Adapter second;
    second.gateway.address = "10.0.0.1";
    EXPECT_EQ(LocalNetworkFacts::LocalGateway({first, second, none}), ip("10.0.0.1"));
    EXPECT_EQ(LocalNetworkFacts::LocalGateway({none}), 0u);
}

TEST(LocalNetworkFacts, IncompleteAndBroadcastNeighboursAreSkipped)
{
    const QMap<QString, QString> table = LocalNetworkFacts::NeighbourSnapshot({
        {"10.77.0.1", QByteArray::fromHex("ac44f2102030")},
        {"10.77.0.2", QByteArray::fromHex("000000000000")},
        {"10.77.255.255", QByteArray::fromHex("ffffffffffff")},
        {"10.77.0.3", QByteArray()},
    });
    EXPECT_EQ(table, (QMap<QString, QString>{{"10.77.0.1", "AC-44-F2-10-20-30"}}));
}

TEST(LocalNetworkFacts, GatewaySettingOverridesAndUnaddressedAdaptersDrop)
{
    LocalNetworkProbe::Adapter wired;
    wired.name = "eth0";
    wired.mac = QByteArray::fromHex("00155d000005");
    wired.addresses = {{"10.77.0.5", "255.255.0.0"}};
    wired.gateway.address = "10.77.0.1";
    LocalNetworkProbe::Adapter waiting = wired;
    waiting.name = "wlan0";
    waiting.addresses = {{"0.0.0.0", "0.0.0.0"}};

    const LocalNetworkFacts::Adapters own = LocalNetworkFacts::CollectAdapters({wired, waiting}, {});
    EXPECT_EQ(own.macs, QStringList{"00-15-5d-00-00-05"});
    EXPECT_EQ(own.gateways, QList<quint32>{ip("10.77.0.1")});
    EXPECT_EQ(own.masks, QList<quint32>{ip("255.255.0.0")});
    EXPECT_EQ(own.listing, QStringList{"00-15-5d-00-00-05//eth0"});

    const LocalNetworkFacts::Adapters set =
        LocalNetworkFacts::CollectAdapters({wired}, "10.77.0.254");
    EXPECT_EQ(set.gateways, QList<quint32>{ip("10.77.0.254")});
}

TEST(NotificationSink, DeviceAnnouncedTwiceIsOneRecord)
{
    const QJsonObject discovery = SimulatedLan::Discovery(
        "urn:uuid:lp1", "10.77.0.50", "Printers", QJsonArray{});
    const auto network = SimulatedLan().Printer("lp1.corp.example", "10.77.0.50").Build();
    CFDNotificationCallback sink;
    sink.Replay(network->Discover());
    const QStringList& lines = sink.Lines();
    EXPECT_EQ(lines.count("Found 1 instances on your system.\n\n"), 1);
    EXPECT_EQ(lines.last(), "Event: 1000\n");
    const QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(lines);
    EXPECT_EQ(records.size(), 1);
}
