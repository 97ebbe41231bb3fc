#include "support/RecordingFrontEnd.h"
#include "support/SimulatedLan.h"

#include "document/CNetDoc.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/MapObjectTesting.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"

#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>

#include <gtest/gtest.h>

#include <typeinfo>
#include <vector>

using Ending = NetworkSurvey::Ending;
using MapObjectTesting::ip;

namespace {

const QString kNoHostsMessage = QStringLiteral(
    "ネットワークのマスタブラウザ上に有効なクライアント情報が検出されません。\n"
    " NetBIOS上で記憶されているＰＣを確認してください。(nbtstat -c)　\n"
    "　VarnexクライアントＰＣ／共有リソース調査は終了します。");

// A domain with three members and a printer, the surveying machine among them.
SimulatedLan SmallOffice()
{
    SimulatedLan lan;
    lan.Computer("DC1", "10.77.0.10", "Domain:CORP")
        .Computer("PC1", "10.77.0.21", "Workgroup:HOME")
        .Computer("ADMIN", "10.77.0.5", "Domain:CORP")
        .Printer("lp1.corp.example", "10.77.0.50");
    return lan;
}

} // namespace

class SurveyEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        document.OnNewDocument();
        document.m_adwSurveySettings = {0, 0, 0, 0, 0};
        settings.CommunityList = {QStringLiteral("public")};
    }

    // Starts a survey and waits until it has ended the given number of times.
    std::vector<Ending> Run(NetworkSurvey& survey, size_t endings = 1)
    {
        std::vector<Ending> seen;
        QEventLoop loop;
        QObject::connect(&survey, &NetworkSurvey::ended, &loop, [&](Ending ending) {
            seen.push_back(ending);
            if (seen.size() == endings)
                loop.quit();
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, [&] {
            ADD_FAILURE() << "the survey did not end";
            loop.quit();
        });
        guard.start(30000);
        survey.PickUp();
        if (!survey.IsIdle())
            loop.exec();
        return seen;
    }

    QList<CDrawSys*> Systems() const
    {
        QList<CDrawSys*> systems;
        for (CDrawObj* object : document.m_objects)
            if (typeid(*object) == typeid(CDrawSys))
                systems.append(static_cast<CDrawSys*>(object));
        return systems;
    }

    CDrawSys* SystemNamed(const QString& unc) const
    {
        for (CDrawSys* system : Systems())
            if (system->m_strUncName == unc)
                return system;
        return nullptr;
    }

    CNetDoc document;
    SurveySettings settings;
    RecordingFrontEnd frontEnd;
};

TEST_F(SurveyEngine, FinishedSurveyLeavesOneFilledSystemPerHostInHostOrder)
{
    const auto network = SmallOffice().Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);
    int mapsBuilt = 0;
    QObject::connect(&survey, &NetworkSurvey::mapBuilt, [&] {
        ++mapsBuilt;
        EXPECT_FALSE(survey.IsIdle()) << "the map is built before the survey returns to idle";
    });

    EXPECT_EQ(Run(survey), std::vector{Ending::Finished});

    EXPECT_EQ(mapsBuilt, 1);
    EXPECT_TRUE(survey.IsIdle());
    EXPECT_EQ(survey.LiveThreads(), 0);
    const QList<CDrawSys*> systems = Systems();
    ASSERT_EQ(systems.size(), 4);
    EXPECT_EQ(systems.at(0)->m_strUncName, "\\\\DC1");
    EXPECT_EQ(systems.at(0)->m_strFqdn, "dc1.corp.example");
    EXPECT_EQ(systems.at(1)->m_strUncName, "\\\\PC1");
    EXPECT_EQ(systems.at(3)->m_strUncName, "lp1.corp.example");
    EXPECT_EQ(systems.at(3)->m_nTypeCode, CDrawSys::kPrinter);
    EXPECT_EQ(systems.at(3)->m_strOs, "Laser lp1.corp.example");
    EXPECT_EQ(document.m_astrSurveyHosts,
              QStringList({"\\\\DC1", "\\\\PC1", "\\\\ADMIN", "lp1.corp.example"}));
    // The map is built: every host joined a domain, named by DNS now.
    EXPECT_EQ(document.m_survey.DomainOfHost.value("lp1.corp.example"), "corp.example");
    for (CDrawSys* system : systems)
        EXPECT_NE(system->m_pOwnerDomain, nullptr) << system->m_strUncName.toStdString();
    EXPECT_NE(document.FindDomain(QString()), nullptr) << "the forest";
    EXPECT_EQ(document.m_astrWsdNames.first(), "\\\\DC1/Domain:CORP");
    EXPECT_EQ(frontEnd.Matching("beep:"), QStringList{"500/100"});
    EXPECT_EQ(frontEnd.calls.last(), "surveying:0");
    EXPECT_TRUE(frontEnd.calls.contains("close"));
}

TEST_F(SurveyEngine, ProgressCountsHostsPlusTheGatewayThread)
{
    SimulatedLan lan;
    lan.Computer("PC1", "10.77.0.21", "Workgroup:WG")
        .Computer("PC2", "10.77.0.22", "Workgroup:WG")
        .Computer("PC3", "10.77.0.23", "Workgroup:WG");
    const auto network = lan.Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    Run(survey);

    EXPECT_EQ(frontEnd.Matching("bar:"), QStringList{"5"});
    const QStringList counts = frontEnd.Matching("count:");
    ASSERT_GE(counts.size(), 2);
    EXPECT_EQ(counts.at(0), "検索中です。");
    EXPECT_EQ(counts.at(1), "4 台中、残り 4 台です。");
    // One step per count change, never more than the range.
    EXPECT_EQ(frontEnd.Matching("step").size(), counts.size() - 1);
    EXPECT_LE(frontEnd.Matching("step").size(), 5);
    const QStringList messages = frontEnd.Matching("message:");
    EXPECT_EQ(messages.first(), "ホストピックアップの調査を開始しました。");
    EXPECT_TRUE(messages.contains("ドメインマップ作成を開始しました。"));
    EXPECT_TRUE(messages.contains("デフォルトゲート設定を調査中です。"));
    EXPECT_TRUE(messages.contains("\\\\PC2の機能情報を取得しました。"));
    EXPECT_TRUE(messages.contains("\\\\PC3の調査を終了します。"));
    EXPECT_TRUE(messages.contains("デフォルトゲートの調査を終了します。"));
    EXPECT_TRUE(messages.contains("調査スレッドが正常終了しました。"));
}

TEST_F(SurveyEngine, NoDevicesEndsWithTheMessageAndNoMap)
{
    const auto network = SimulatedLan().Build();
    auto* old = new CDrawSys(Rect{0, 0, 100, 100});
    document.AddObject(old);
    NetworkSurvey survey(document, *network, settings, frontEnd);

    EXPECT_EQ(Run(survey), std::vector{Ending::NoHosts});

    EXPECT_TRUE(document.m_objects.isEmpty()) << "a survey replaces the map from its start";
    EXPECT_EQ(frontEnd.Matching("show:"), QStringList{kNoHostsMessage});
    EXPECT_TRUE(frontEnd.Matching("beep:").isEmpty());
    EXPECT_EQ(survey.LiveThreads(), 0);
}

TEST_F(SurveyEngine, FailedDiscoveryEndsLikeAnEmptySearch)
{
    const auto network = SmallOffice().Probe("discovery", 0, 0x80004005).Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    EXPECT_EQ(Run(survey), std::vector{Ending::NoHosts});
    EXPECT_EQ(document.m_survey.DeviceDumpLines, QStringList{"****** ERROR: 0x80004005\n"});
}

TEST_F(SurveyEngine, ManualDiscoveryServiceKeepsTheMapAndOpensTheHelpPage)
{
    const auto network = SmallOffice()
                             .Local([](QJsonObject& local) {
                                 local["discoveryServices"] =
                                     QJsonObject{{"fdPHost", SimulatedLan::Service(false)},
                                                 {"FDResPub", SimulatedLan::Service(true)}};
                             })
                             .Build();
    auto* old = new CDrawSys(Rect{0, 0, 100, 100});
    document.AddObject(old);
    NetworkSurvey survey(document, *network, settings, frontEnd);

    EXPECT_TRUE(Run(survey).empty());

    EXPECT_TRUE(survey.IsIdle());
    EXPECT_EQ(document.m_objects, QList<CDrawObj*>{old});
    EXPECT_EQ(frontEnd.calls,
              QStringList({"show:fdPHostサービスは自動起動になってません。", "help:vx_set_infra.aspx"}));
}

TEST_F(SurveyEngine, StopDuringTheSearchEndsBeforeAnyThreadStarts)
{
    const auto network = SmallOffice().Probe("discovery", 150).Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);
    QTimer::singleShot(20, &survey, &NetworkSurvey::Stop);

    EXPECT_EQ(Run(survey), std::vector{Ending::Aborted});

    EXPECT_TRUE(document.m_objects.isEmpty());
    EXPECT_FALSE(frontEnd.Matching("message:").contains("ドメインマップ作成を開始しました。"));
    EXPECT_EQ(frontEnd.Matching("beep:"), QStringList{"1000/200"});
}

// Stops a survey of slow hosts at random moments: it must always end, once,
// with no thread left, nothing shown after the stop and, when stopped, an
// empty map.
TEST_F(SurveyEngine, StopAtRandomMomentsEndsCleanly)
{
    SimulatedLan lan;
    // Two-digit names: an identity containing another one is the same device.
    for (int n = 1; n <= 24; ++n)
        lan.Computer(QStringLiteral("PC%1").arg(n, 2, 10, QLatin1Char('0')),
                     QStringLiteral("10.77.1.%1").arg(n), "Domain:CORP");
    lan.Printer("lp1.corp.example", "10.77.0.50");
    const auto network =
        lan.Probe("serverInfo", 3).Probe("reverseLookup", 1).Probe("discovery", 5).Build();
    QRandomGenerator random(20261210);
    for (int round = 0; round < 25; ++round) {
        document.m_adwSurveySettings[4] = round % 3; // also stop during a paced launch
        RecordingFrontEnd front;
        NetworkSurvey survey(document, *network, settings, front);
        const int stopAfterMs = int(random.bounded(60));
        QTimer::singleShot(stopAfterMs, &survey, &NetworkSurvey::Stop);

        std::vector<Ending> endings;
        QObject::connect(&survey, &NetworkSurvey::ended, [&](Ending e) { endings.push_back(e); });
        QEventLoop loop;
        QObject::connect(&survey, &NetworkSurvey::ended, &loop, &QEventLoop::quit,
                         Qt::QueuedConnection);
        survey.PickUp();
        loop.exec();
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();

        SCOPED_TRACE(QStringLiteral("round %1, stop after %2 ms").arg(round).arg(stopAfterMs).toStdString());
        ASSERT_EQ(endings.size(), 1u);
        EXPECT_EQ(survey.LiveThreads(), 0);
        EXPECT_EQ(survey.RemainingThreads(), 0);
        EXPECT_TRUE(survey.IsIdle());
        if (endings.front() == Ending::Aborted) {
            EXPECT_TRUE(document.m_objects.isEmpty());
            const qsizetype stopAt = front.calls.indexOf("header:ただいま、終了準備中");
            ASSERT_GE(stopAt, 0);
            for (qsizetype i = stopAt + 3; i < front.calls.size(); ++i) {
                EXPECT_FALSE(front.calls.at(i).startsWith("message:")) << front.calls.at(i).toStdString();
                EXPECT_FALSE(front.calls.at(i).startsWith("count:")) << front.calls.at(i).toStdString();
            }
        } else {
            EXPECT_EQ(Systems().size(), 25);
        }
    }
}

TEST_F(SurveyEngine, PickUpWhileSurveyingStopsTheRunningSurveyFirst)
{
    const auto network = SmallOffice().Probe("serverInfo", 30).Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);
    bool restarted = false;
    frontEnd.onMessage = [&](const QString& text) {
        if (!restarted && text.endsWith(QStringLiteral("の機能情報を取得しました。"))) {
            restarted = true;
            QTimer::singleShot(0, &survey, &NetworkSurvey::PickUp);
        }
    };

    EXPECT_EQ(Run(survey, 2), (std::vector{Ending::Aborted, Ending::Finished}));

    EXPECT_EQ(Systems().size(), 4);
    EXPECT_EQ(frontEnd.Matching("open").size(), 2);
}

TEST_F(SurveyEngine, ClosedProgressWindowGetsNothingMoreAndTheSurveyGoesOn)
{
    const auto network = SmallOffice().Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);
    qsizetype closedAt = -1;
    frontEnd.onMessage = [&](const QString& text) {
        if (closedAt < 0 && text == QStringLiteral("デフォルトゲート設定を調査中です。")) {
            closedAt = frontEnd.calls.size();
            survey.OnProgressWindowClosed();
        }
    };

    EXPECT_EQ(Run(survey), std::vector{Ending::Finished});

    ASSERT_GT(closedAt, 0);
    for (qsizetype i = closedAt + 2; i < frontEnd.calls.size(); ++i)
        EXPECT_FALSE(frontEnd.calls.at(i).startsWith("message:")) << frontEnd.calls.at(i).toStdString();
    EXPECT_FALSE(frontEnd.calls.contains("close")) << "no window is left to close";
    EXPECT_EQ(Systems().size(), 4);
}

TEST_F(SurveyEngine, DestroyingARunningSurveyWaitsForItsThreads)
{
    const auto network = SmallOffice().Probe("serverInfo", 20).Build();
    auto survey = std::make_unique<NetworkSurvey>(document, *network, settings, frontEnd);
    frontEnd.onMessage = [&](const QString& text) {
        if (text == QStringLiteral("デフォルトゲート設定を調査中です。"))
            QTimer::singleShot(5, [&] { survey.reset(); });
    };
    survey->PickUp();
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(survey, nullptr);
}

TEST_F(SurveyEngine, PingOnlyRecordsASilentComputerByItsName)
{
    document.m_adwSurveySettings[0] = 1;
    const auto network = SmallOffice()
                             .Computer("PC2", "10.77.0.22", "Workgroup:HOME",
                                       [](QJsonObject& host) { host["ping"] = false; })
                             .Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    Run(survey);

    CDrawSys* silent = SystemNamed("\\\\PC2");
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(silent->m_strFqdn, "\\\\PC2");
    EXPECT_EQ(silent->m_bBrush, 0);
    EXPECT_TRUE(silent->m_nics.isEmpty());
    EXPECT_FALSE(frontEnd.Matching("message:").contains("\\\\PC2の機能情報を取得しました。"));
    ASSERT_NE(SystemNamed("\\\\PC1"), nullptr);
    EXPECT_EQ(SystemNamed("\\\\PC1")->m_bBrush, 1);
}

TEST_F(SurveyEngine, ServerInformationFailureBecomesTheRoleLines)
{
    const auto network = SmallOffice()
                             .Computer("PC2", "10.77.0.22", "Workgroup:HOME",
                                       [](QJsonObject& host) {
                                           host.remove("serverInfo");
                                           host["serverInfoError"] = 53;
                                       })
                             .Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    Run(survey);

    CDrawSys* failed = SystemNamed("\\\\PC2");
    ASSERT_NE(failed, nullptr);
    const QStringList expected{"ネットワーク パスが見つかりません。",
                               "「ネットワーク共有サービス」が有効かご確認ください。"};
    EXPECT_EQ(failed->m_astrFailureLines, expected);
    EXPECT_EQ(failed->m_astrRoles, expected);
}

TEST_F(SurveyEngine, LocalMachineAdaptersSharingAMacFormOneInterface)
{
    const auto network =
        SmallOffice()
            .Local([](QJsonObject& local) {
                const QJsonObject gateway{{"address", "10.77.0.1"}, {"mask", "255.255.255.255"}};
                local["adapters"] = QJsonArray{
                    QJsonObject{{"name", "eth0"}, {"mac", "00-15-5d-00-00-05"},
                                {"addresses", QJsonArray{QJsonObject{{"address", "10.77.0.5"},
                                                                     {"mask", "255.255.0.0"}}}},
                                {"gateway", gateway}},
                    QJsonObject{{"name", "eth0:1"}, {"mac", "00-15-5d-00-00-05"},
                                {"addresses", QJsonArray{QJsonObject{{"address", "10.78.0.5"},
                                                                     {"mask", "255.255.0.0"}}}},
                                {"gateway", gateway}},
                    QJsonObject{{"name", "wlan0"}, {"mac", "00-15-5d-00-00-06"},
                                {"addresses", QJsonArray{QJsonObject{{"address", "0.0.0.0"},
                                                                     {"mask", "0.0.0.0"}}}}},
                };
            })
            .Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    Run(survey);

    CDrawSys* local = SystemNamed("\\\\ADMIN");
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->m_strOs, "Windows 10 (build 19045) 64-bit");
    ASSERT_EQ(local->m_nics.size(), 1);
    const CDrawObj* nic = local->m_nics.first();
    ASSERT_EQ(nic->GetAddressCount(), 2);
    EXPECT_EQ(nic->GetAddressAt(0), ip("10.77.0.5"));
    EXPECT_EQ(nic->GetAddressAt(1), ip("10.78.0.5"));
    EXPECT_EQ(local->m_astrMacLines,
              QStringList({"00-15-5d-00-00-05//eth0", "00-15-5d-00-00-05//eth0:1"}));
    EXPECT_EQ(document.m_survey.LocalGatewayAddress, ip("10.77.0.1"));
}

TEST_F(SurveyEngine, HostsWithoutAKnownMacShareTheThreadsPlaceholder)
{
    const auto network = SmallOffice().Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    Run(survey);

    CDrawSys* pc = SystemNamed("\\\\PC1");
    ASSERT_NE(pc, nullptr);
    ASSERT_EQ(pc->m_nics.size(), 1);
    const QString mac = pc->m_nics.first()->GetMacAddress();
    EXPECT_TRUE(mac.startsWith("No-Ad-")) << mac.toStdString();
    EXPECT_EQ(mac.size(), 17);
    EXPECT_NE(mac, SystemNamed("\\\\DC1")->m_nics.first()->GetMacAddress());
}

TEST_F(SurveyEngine, Ipv6PrinterGetsOneIpv6InterfaceAndNoIpv4Address)
{
    const auto network =
        SmallOffice()
            .Printer("", "fe80::10",
                     [](QJsonObject& host) {
                         // The device announces its link-local address with the zone.
                         QJsonObject discovery = host["discovery"].toObject();
                         QJsonArray properties = discovery["properties"].toArray();
                         QJsonObject address = properties[1].toObject();
                         address["value"] = "fe80::10%12";
                         properties[1] = address;
                         discovery["properties"] = properties;
                         host["discovery"] = discovery;
                     })
            .Local([](QJsonObject& local) {
                local["neighbours"] = QJsonArray{
                    QJsonObject{{"address", "fe80::10"}, {"mac", "00-15-5D-00-00-10"}}};
            })
            .Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    Run(survey);

    CDrawSys* printer = SystemNamed("fe80::10");
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->m_nTypeCode, CDrawSys::kPrinter);
    ASSERT_EQ(printer->m_nics.size(), 1);
    const auto* nic = static_cast<const CDrawNic*>(printer->m_nics.first());
    EXPECT_EQ(nic->GetAddressCount(), 0);
    EXPECT_EQ(nic->GetFirstIpv6Address(), "fe80::10");
    EXPECT_EQ(document.m_survey.ArpTable.value("fe80::10"), "00-15-5D-00-00-10");
}

TEST_F(SurveyEngine, GatewayThreadCollectsSnmpAndUpnpFacts)
{
    const QString description = QStringLiteral("YAMAHA RTX830 Rev.15.02.29 (Mon Jul 10 11:12:38 2023)");
    const auto network =
        SmallOffice()
            .Host(QJsonObject{{"address", "10.77.0.1"},
                              {"dnsName", "gw.corp.example"},
                              {"snmp", QJsonObject{{"public",
                                                    QJsonObject{{"1.3.6.1.2.1.1.5.0", "corp-gw"},
                                                                {"1.3.6.1.2.1.1.1.0", description}}}}}})
            .Local([](QJsonObject& local) {
                local["adapters"] = QJsonArray{QJsonObject{
                    {"name", "eth0"},
                    {"mac", "00-15-5d-00-00-05"},
                    {"addresses", QJsonArray{QJsonObject{{"address", "10.77.0.5"},
                                                         {"mask", "255.255.0.0"}}}},
                    {"gateway", QJsonObject{{"address", "10.77.0.1"}, {"mask", "255.255.255.255"}}}}};
            })
            .Gateway(QJsonObject{{"friendlyName", "RTX830"}, {"manufacturer", "YAMAHA"},
                                 {"modelName", "RTX830"}, {"externalAddress", "10.78.250.2"}})
            .Build();
    NetworkSurvey survey(document, *network, settings, frontEnd);

    Run(survey);

    const SurveyResults& results = document.m_survey;
    EXPECT_EQ(results.GatewayHostName, "gw.corp.example");
    EXPECT_EQ(results.GatewayInfoLines,
              QStringList({"corp-gw", description.left(40), description.mid(40), "RTX830", "YAMAHA",
                           "RTX830"}));
    EXPECT_EQ(results.GatewayExternalAddressText, "10.78.250.2");
    EXPECT_EQ(results.GatewayExternalAddress, ip("10.78.250.2"));
    EXPECT_TRUE(frontEnd.Matching("message:").contains("のハードウェア情報を取得しました。"));
}

TEST_F(SurveyEngine, HostsOnTheSurveyorsSubnetAreWiredToItsGatewayUnlessTurnedOff)
{
    const auto network =
        SmallOffice()
            .Computer("FAR", "10.78.0.9", "Domain:CORP")
            .Local([](QJsonObject& local) {
                local["adapters"] = QJsonArray{QJsonObject{
                    {"name", "eth0"},
                    {"mac", "00-15-5d-00-00-05"},
                    {"addresses", QJsonArray{QJsonObject{{"address", "10.77.0.5"}, {"mask", "255.255.255.0"}}}},
                    {"gateway", QJsonObject{{"address", "10.77.0.1"}, {"mask", "255.255.255.255"}}}}};
            })
            .Build();
    const struct {
        quint32 wiring;
        quint32 pcGateway;
    } cases[] = {{1, ip("10.77.0.1")}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wiring);
        settings.SurveyorGatewayWiring = c.wiring;
        NetworkSurvey survey(document, *network, settings, frontEnd);
        Run(survey);
        const CDrawSys* pc = SystemNamed("\\\\PC1");
        ASSERT_NE(pc, nullptr);
        ASSERT_EQ(pc->m_nics.size(), 1);
        EXPECT_EQ(pc->m_nics.first()->GetGateway(), c.pcGateway);
        // A host on no subnet of the surveying machine stays as it was.
        const CDrawSys* far = SystemNamed("\\\\FAR");
        ASSERT_NE(far, nullptr);
        ASSERT_EQ(far->m_nics.size(), 1);
        EXPECT_EQ(far->m_nics.first()->GetGateway(), 0u);
    }
}

// With a limit on the threads running at once every host is still
// surveyed, in the same order, and no more threads run than allowed.
TEST_F(SurveyEngine, TheRunningThreadLimitHoldsAndEveryHostIsSurveyed)
{
    SimulatedLan lan;
    for (int n = 0; n < 60; ++n)
        lan.Computer(QStringLiteral("PC%1").arg(n, 3, 10, QLatin1Char('0')), QStringLiteral("10.77.3.%1").arg(n + 1),
                     QStringLiteral("Domain:CORP"));
    lan.Probe(QStringLiteral("serverInfo"), 20);
    const auto network = lan.Build();
    settings.RunningThreadLimit = 6;
    NetworkSurvey survey(document, *network, settings, frontEnd);
    EXPECT_EQ(Run(survey), std::vector{Ending::Finished});
    EXPECT_LE(survey.PeakRunning(), 6);
    EXPECT_GE(survey.PeakRunning(), 2) << "the threads still run side by side";
    EXPECT_EQ(survey.Unsurveyed(), 0);
    int computers = 0;
    for (const CDrawSys* system : Systems())
        computers += system->m_strUncName.startsWith(QStringLiteral("\\\\PC"));
    EXPECT_EQ(computers, 60);
    EXPECT_EQ(document.m_astrSurveyHosts.first(), QStringLiteral("\\\\PC000"));
}
