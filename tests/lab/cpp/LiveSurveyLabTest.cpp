#include "LabNetwork.h"

#include "document/CNetDoc.h"
#include "objects/CDrawDomain.h"
#include "survey/platform/linux/IcmpEchoProbe.h"
#include "survey/platform/linux/MiniUpnpGateway.h"
#include "survey/platform/linux/NetSnmpProbe.h"
#include "survey/platform/linux/NetlinkLocalNetwork.h"
#include "survey/platform/linux/WsDiscoveryClient.h"
#include "support/TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <fcntl.h>
#include <sched.h>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// One lab for all tests of this process.
LabNetwork* g_lab = nullptr;

class LabTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!g_lab)
            g_lab = new LabNetwork;
    }
    static void TearDownTestSuite()
    {
        delete g_lab;
        g_lab = nullptr;
    }
    void SetUp() override
    {
        if (g_lab->Unavailable())
            GTEST_SKIP() << "no network namespaces here: " << g_lab->Problem().toStdString();
        ASSERT_TRUE(g_lab->IsUp()) << g_lab->Problem().toStdString();
    }
};

// Runs work on threads that live in one of the lab's namespaces; sockets
// they open belong to it.
void InNamespace(const QString& path, int threads, const std::function<void(int)>& work)
{
    std::vector<std::thread> pool;
    for (int i = 0; i < threads; ++i)
        pool.emplace_back([&path, &work, i] {
            const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
            const bool entered = fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0;
            if (fd >= 0)
                ::close(fd);
            if (entered)
                work(i);
        });
    for (std::thread& thread : pool)
        thread.join();
}

QString Dump(const QString& map)
{
    QProcess dump;
    dump.start(QStringLiteral(VARNEX_BINARY), {QStringLiteral("dump"), map});
    dump.waitForFinished(60000);
    return QString::fromUtf8(dump.readAllStandardOutput());
}

QStringList CsvLines(const QString& path)
{
    const QByteArray bytes = TestFiles::readAll(path);
    if (bytes.size() < 2)
        return {};
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2)
        .split(QStringLiteral("\r\n"));
}

} // namespace

TEST_F(LabTest, LiveSurveyMapsTheLabsHostsTheirGroupsAndTheGateway)
{
    const QString map = g_lab->Directory() + QStringLiteral("/live.vxnj");
    const QString csv = g_lab->Directory() + QStringLiteral("/live.csv");
    const LabNetwork::Run run = g_lab->InSurveyor(
        QStringLiteral(VARNEX_BINARY),
        {"survey", "--out", map, "--csv", csv, "--pause", "0", "--community", "wrong", "--community", "public"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("3 devices surveyed")) << run.out.toStdString();
    EXPECT_FALSE(run.err.contains("simulated"));

    CNetDoc document;
    QString error;
    ASSERT_TRUE(document.OnOpenDocument(map, &error)) << error.toStdString();
    EXPECT_EQ(QSet<QString>(document.m_astrWsdNames.cbegin(), document.m_astrWsdNames.cend()),
              QSet<QString>({"\\\\LABSMB/Workgroup:LABWG", "\\\\LABWSD/Domain:LABDOM",
                             "\\\\LABSURV/Workgroup:" + document.m_astrWsdNames.value(2).section(':', 1)}));
    QSet<QString> domains;
    for (const CDrawObj* object : document.m_objects)
        if (const auto* domain = dynamic_cast<const CDrawDomain*>(object))
            domains.insert(domain->m_strName);
    EXPECT_TRUE(domains.contains("LABWG"));
    EXPECT_TRUE(domains.contains("LABDOM"));

    const QStringList lines = CsvLines(csv);
    for (const char* host : {"^labsmb\\.LABWG,", "^labwsd\\.LABDOM,", "^labsurv\\.LABWG,."})
        EXPECT_FALSE(lines.filter(QRegularExpression(QString::fromLatin1(host))).isEmpty()) << host;
    // Addresses with the MACs the neighbour table learned, the surveying
    // machine with its own adapter, and the gateway as a router.
    for (const char* row : {"02-00-0a-4d-00-14,10.77.0.20", "02-00-0a-4d-00-1e,10.77.0.30",
                            "02-00-0a-4d-00-0a,10.77.0.10"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(row), Qt::CaseInsensitive)) << row;
    EXPECT_TRUE(lines.contains(QStringLiteral("02-00-0A-4D-00-01,10.77.0.1"), Qt::CaseInsensitive));
    EXPECT_TRUE(lines.contains(QStringLiteral("labsurv.LABWG,02-00-0a-4d-00-0a,eth0"))
                || lines.filter(QStringLiteral("02-00-0a-4d-00-0a,eth0")).size() == 1);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^labgw,.*Rooter"))).size(), 1);

    // Samba's real server type makes LABSMB a print server; the hosts
    // without an SMB server get the failure text.
    EXPECT_TRUE(lines.contains(QStringLiteral("labsmb.LABWG,PRINTQ_SERVER"))) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("labwsd.LABDOM,「ネットワーク共有サービス」が有効かご確認ください。")));
    const QString dump = Dump(map);
    EXPECT_TRUE(dump.contains(QStringLiteral("\\\\\\\\LABSMB\\\\LabPrinter"))) << "the shared printer hangs beside its host";
    EXPECT_TRUE(dump.contains(QStringLiteral("Lab file server")));
    // The gateway: SNMP with the second community, UPnP with the address STUN taught it.
    EXPECT_TRUE(dump.contains(QStringLiteral("\"Varnex lab gateway\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("\"Varnex Lab Router\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("10.78.0.2")));
}

TEST_F(LabTest, AHostWithItsSmbPortsDroppedGetsTheFailureTextAndTheSurveyEnds)
{
    const QString firewall = QStringLiteral(
        "nft add table inet vxfw && nft add chain inet vxfw in '{ type filter hook input priority 0; }' && "
        "nft add rule inet vxfw in tcp dport '{ 139, 445 }' drop");
    ASSERT_EQ(g_lab->InNamespace("smb", "sh", {"-c", firewall}).exitCode, 0);
    const QString map = g_lab->Directory() + QStringLiteral("/firewalled.vxnj");
    const QString csv = g_lab->Directory() + QStringLiteral("/firewalled.csv");
    QElapsedTimer clock;
    clock.start();
    const LabNetwork::Run run =
        g_lab->InSurveyor(QStringLiteral(VARNEX_BINARY), {"survey", "--out", map, "--csv", csv, "--pause", "0"});
    const qint64 elapsed = clock.elapsed();
    g_lab->InNamespace("smb", "nft", {"delete", "table", "inet", "vxfw"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(CsvLines(csv).contains(QStringLiteral("labsmb.LABWG,「ネットワーク共有サービス」が有効かご確認ください。")));
    // The port check gives up long before Samba's own five seconds.
    EXPECT_LT(elapsed, 30000);
}

TEST_F(LabTest, SnmpAnswersTheRightCommunityOnly)
{
    SnmpProbe::Result right;
    SnmpProbe::Result wrong;
    InNamespace(g_lab->NamespacePath("surv"), 1, [&](int) {
        const NetSnmpProbe snmp;
        right = snmp.Get(QStringLiteral("10.77.0.1"), QStringLiteral("public"), QStringLiteral(".1.3.6.1.2.1.1.5.0"), 500);
        wrong = snmp.Get(QStringLiteral("10.77.0.1"), QStringLiteral("nope"), QStringLiteral(".1.3.6.1.2.1.1.5.0"), 500);
    });
    ASSERT_TRUE(right.answered);
    EXPECT_EQ(right.errorStatus, 0u);
    EXPECT_EQ(std::get<QByteArray>(right.value), "labgw");
    EXPECT_FALSE(wrong.answered);
}

TEST_F(LabTest, TheGatewayTellsItsExternalAddress)
{
    std::optional<UpnpGatewayProbe::Gateway> gateway;
    InNamespace(g_lab->NamespacePath("surv"), 1, [&](int) { gateway = MiniUpnpGateway().FindGateway(); });
    ASSERT_TRUE(gateway);
    EXPECT_EQ(gateway->externalAddress, "10.78.0.2");
    EXPECT_EQ(gateway->friendlyName, "Varnex Lab Router");
}

TEST_F(LabTest, DiscoveryFindsBothResponders)
{
    QList<WsDiscoveryClient::Endpoint> endpoints;
    DeviceDiscoveryProbe::Result result;
    InNamespace(g_lab->NamespacePath("surv"), 1, [&](int) {
        const WsDiscoveryClient client;
        endpoints = client.Search(LinkInterfaces::Usable());
        result = client.Discover();
    });
    QSet<QString> found;
    for (const WsDiscoveryClient::Endpoint& endpoint : endpoints)
        found.insert(endpoint.endpoint);
    EXPECT_TRUE(found.contains("urn:uuid:7a3c0001-77de-4c0d-9a1b-00000000001e")); // wsdd
    EXPECT_EQ(found.size(), 2);
    for (const WsDiscoveryClient::Endpoint& endpoint : endpoints)
        EXPECT_FALSE(endpoint.xaddrs.isEmpty()) << endpoint.endpoint.toStdString();
    EXPECT_EQ(result.devices.size(), 2);
}

TEST_F(LabTest, EchoSweepOfTheSubnetFindsExactlyTheLiveHosts)
{
    std::mutex lock;
    QSet<int> answered;
    constexpr int kThreads = 32;
    InNamespace(g_lab->NamespacePath("surv"), kThreads, [&](int slice) {
        const IcmpEchoProbe ping;
        for (int host = 1 + slice; host < 255; host += kThreads)
            if (ping.Echo(QStringLiteral("10.77.0.%1").arg(host), 500) || ping.Echo(QStringLiteral("10.77.0.%1").arg(host), 500)) {
                const std::lock_guard guard(lock);
                answered.insert(host);
            }
    });
    EXPECT_EQ(answered, QSet<int>({1, 10, 20, 30}));
}

TEST_F(LabTest, AdaptersGatewayAndNeighboursComeFromTheKernel)
{
    QList<LocalNetworkProbe::Adapter> adapters;
    std::optional<QByteArray> smbMac;
    InNamespace(g_lab->NamespacePath("surv"), 1, [&](int) {
        IcmpEchoProbe().Echo(QStringLiteral("10.77.0.20"), 500);
        const NetlinkLocalNetwork local;
        adapters = local.Adapters();
        smbMac = local.ArpLookup(QStringLiteral("10.77.0.20"));
    });
    ASSERT_EQ(adapters.size(), 1);
    EXPECT_EQ(adapters[0].name, "eth0");
    EXPECT_EQ(adapters[0].mac, QByteArray::fromHex("02000a4d000a"));
    ASSERT_EQ(adapters[0].addresses.size(), 1);
    EXPECT_EQ(adapters[0].addresses[0].address, "10.77.0.10");
    EXPECT_EQ(adapters[0].addresses[0].mask, "255.255.255.0");
    EXPECT_EQ(adapters[0].gateway.address, "10.77.0.1");
    ASSERT_TRUE(smbMac);
    EXPECT_EQ(*smbMac, QByteArray::fromHex("02000a4d0014"));
}

TEST_F(LabTest, AGatewayThatDoesNotKnowItsAddressAnswersEmpty)
{
    // The WAN address is private: without STUN the router cannot know the
    // address the world sees, and says so with an empty answer.
    const QString dir = g_lab->Directory() + QStringLiteral("/gw");
    const auto restart = [&](const QString& config) {
        const QString script = QStringLiteral(
            "for f in %1/*.self.pid; do [ -f $f ] && kill $(cat $f) 2>/dev/null && rm -f $f; done; "
            "for i in $(seq 50); do ss -ltn | grep -q ':5555 ' || break; sleep 0.1; done; "
            "(setsid miniupnpd -d -f %1/%2 -P %1/%2.self.pid </dev/null >%1/%2.log 2>&1 &); "
            "for i in $(seq 50); do ss -ltn | grep -q ':5555 ' && exit 0; sleep 0.1; done; exit 1")
                                   .arg(dir, config);
        return g_lab->InNamespace("gw", "sh", {"-c", script}).exitCode;
    };
    ASSERT_EQ(g_lab->InNamespace("gw", "sh",
                                 {"-c", QStringLiteral("sed 's/ext_perform_stun=yes/ext_perform_stun=no/' %1/miniupnpd.conf "
                                                       ">%1/nostun.conf")
                                            .arg(dir)})
                  .exitCode,
              0);
    ASSERT_EQ(restart(QStringLiteral("nostun.conf")), 0);
    std::optional<UpnpGatewayProbe::Gateway> gateway;
    InNamespace(g_lab->NamespacePath("surv"), 1, [&](int) { gateway = MiniUpnpGateway().FindGateway(); });
    EXPECT_EQ(restart(QStringLiteral("miniupnpd.conf")), 0);
    ASSERT_TRUE(gateway);
    EXPECT_EQ(gateway->friendlyName, "Varnex Lab Router");
    EXPECT_TRUE(gateway->externalAddress.isEmpty()) << gateway->externalAddress.toStdString();
}

TEST_F(LabTest, WmiInventoryArrivesOverWsManWithNtlmAndSealedMessages)
{
    const QString account = g_lab->Directory() + QStringLiteral("/wmi-account");
    QFile file(account);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("LABWG\nwmiuser\nLab-Pass-1\n");
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString map = g_lab->Directory() + QStringLiteral("/wmi.vxnj");
    const QString csv = g_lab->Directory() + QStringLiteral("/wmi.csv");
    QElapsedTimer clock;
    clock.start();
    const LabNetwork::Run run = g_lab->InSurveyor(
        QStringLiteral(VARNEX_BINARY),
        {"survey", "--out", map, "--csv", csv, "--pause", "0", "--wmi", "--wmi-account", account});
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("\\\\LABSMBのハードウェア情報を取得しました。"))) << run.err.toStdString();
    const QString dump = Dump(map);
    EXPECT_TRUE(dump.contains(QStringLiteral("ThinkCentre M720q"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("Microsoft Windows 10 Pro")));
    EXPECT_FALSE(dump.contains(QStringLiteral("Lab-Pass-1"))) << "the command line's password stays out of the map";
    const QStringList lines = CsvLines(csv);
    EXPECT_FALSE(lines.filter(QStringLiteral("7-Zip 23.01 (x64 edition)")).isEmpty()) << lines.join('\n').toStdString();
    EXPECT_FALSE(lines.filter(QStringLiteral("KB5034441")).isEmpty());
    // LABWSD runs no WS-Management service: refused at once, not waited for.
    EXPECT_LT(elapsed, 30000);
}

namespace {

// A peer started in one of the lab's namespaces for the length of a test.
class LabPeer {
public:
    LabPeer(const QString& ns, const QStringList& command)
    {
        m_process.start(QStringLiteral("ip"), QStringList{"netns", "exec", g_lab->Prefix() + '-' + ns} + command);
    }
    ~LabPeer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    bool Started() { return m_process.waitForStarted(5000); }
    // What it wrote on standard error so far.
    QString Output()
    {
        while (m_process.waitForReadyRead(200)) {
        }
        return QString::fromUtf8(m_process.readAllStandardError());
    }

private:
    QProcess m_process;
};

// Elapsed seconds and peak resident kilobytes as /usr/bin/time -f "%e %M"
// prints them on the last line.
std::pair<double, long> TimeAndPeak(const QString& err)
{
    const QStringList words = err.trimmed().split(QLatin1Char('\n')).last().split(QLatin1Char(' '));
    return {words.value(0).toDouble(), words.value(1).toLong()};
}

} // namespace

TEST_F(LabTest, AFloodOfFalseDevicesWithEndlessDescriptionsCannotHoldUpOrSwellTheSurvey)
{
    for (const char* mode : {"endless", "stall"}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(g_lab->InNamespace("gw", "ip", {"addr", "add", "10.77.0.40/24", "dev", "lan0"}).exitCode, 0);
        {
            LabPeer peer("gw", {"/usr/bin/python3", QStringLiteral(VARNEX_SOURCE_DIR "/tests/lab/hostile/hostile-wsd"),
                                "10.77.0.40", "--matches", "2000", "--metadata", mode});
            ASSERT_TRUE(peer.Started());
            QThread::msleep(500);
            const QString map = g_lab->Directory() + QStringLiteral("/hostile-%1.vxnj").arg(mode);
            const LabNetwork::Run run = g_lab->InSurveyor(
                "/usr/bin/time", {"-f", "%e %M", QStringLiteral(VARNEX_BINARY), "survey", "--out", map, "--pause", "0"});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << peer.Output().toStdString();
            const auto [seconds, peakKb] = TimeAndPeak(run.err);
            // The discovery's own bounds: endpoints, datagrams, a time budget
            // for descriptions and a cap on each.
            EXPECT_LT(seconds, 60.0);
            EXPECT_LT(peakKb, 400 * 1024);
            RecordProperty(QStringLiteral("seconds_%1").arg(mode).toStdString(), QString::number(seconds).toStdString());
            RecordProperty(QStringLiteral("peak_kb_%1").arg(mode).toStdString(), QString::number(peakKb).toStdString());
            std::cout << mode << ": " << seconds << " s, peak " << peakKb / 1024 << " MiB\n";
            CNetDoc document;
            ASSERT_TRUE(document.OnOpenDocument(map));
            // The real hosts are surveyed as ever.
            EXPECT_TRUE(document.m_astrWsdNames.contains("\\\\LABSMB/Workgroup:LABWG"))
                << document.m_astrWsdNames.join(' ').toStdString();
            EXPECT_TRUE(document.m_astrWsdNames.contains("\\\\LABWSD/Domain:LABDOM"));
        }
        g_lab->InNamespace("gw", "ip", {"addr", "del", "10.77.0.40/24", "dev", "lan0"});
    }
}

TEST_F(LabTest, AnSmbServerThatAcceptsAndNeverAnswersCannotHoldUpTheSurvey)
{
    // LABWSD has no SMB server of its own: this one takes its ports.
    LabPeer peer("wsd", {"/usr/bin/python3", QStringLiteral(VARNEX_SOURCE_DIR "/tests/lab/hostile/hostile-smb"),
                         "10.77.0.30"});
    ASSERT_TRUE(peer.Started());
    QThread::msleep(300);
    const QString map = g_lab->Directory() + QStringLiteral("/stalled-smb.vxnj");
    const QString csv = g_lab->Directory() + QStringLiteral("/stalled-smb.csv");
    const LabNetwork::Run run = g_lab->InSurveyor(
        "/usr/bin/time", {"-f", "%e %M", QStringLiteral(VARNEX_BINARY), "survey", "--out", map, "--csv", csv, "--pause", "0"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << peer.Output().toStdString();
    const auto [seconds, peakKb] = TimeAndPeak(run.err);
    std::cout << "stalled SMB: " << seconds << " s, peak " << peakKb / 1024 << " MiB\n";
    // The helper's deadline ends the silent server's information.
    EXPECT_LT(seconds, 60.0);
    EXPECT_LT(peakKb, 400 * 1024);
    const QStringList lines = CsvLines(csv);
    EXPECT_TRUE(lines.contains(QStringLiteral("labsmb.LABWG,PRINTQ_SERVER"))) << "the real server as ever";
    EXPECT_FALSE(lines.filter(QRegularExpression(QStringLiteral("^labwsd\\.LABDOM,"))).isEmpty())
        << lines.join('\n').toStdString();
}

TEST_F(LabTest, AGatewayAnsweringWith64KibValuesCannotSwellTheSurvey)
{
    // The gateway's SNMP port leads to an agent whose every value is 64 KiB.
    const QString redirect = QStringLiteral(
        "nft add table ip vxsnmp && nft add chain ip vxsnmp pre '{ type nat hook prerouting priority -100; }' && "
        "nft add rule ip vxsnmp pre ip daddr 10.77.0.1 udp dport 161 redirect to :1161");
    ASSERT_EQ(g_lab->InNamespace("gw", "sh", {"-c", redirect}).exitCode, 0);
    {
        LabPeer peer("gw", {"/usr/bin/python3", QStringLiteral(VARNEX_SOURCE_DIR "/tests/lab/hostile/hostile-snmp"),
                            "10.77.0.1", "1161"});
        ASSERT_TRUE(peer.Started());
        QThread::msleep(300);
        const QString map = g_lab->Directory() + QStringLiteral("/huge-snmp.vxnj");
        const QString png = g_lab->Directory() + QStringLiteral("/huge-snmp.png");
        const LabNetwork::Run run = g_lab->InSurveyor(
            "/usr/bin/time", {"-f", "%e %M", QStringLiteral(VARNEX_BINARY), "survey", "--out", map, "--png", png,
                              "--pause", "0", "--community", "public"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << peer.Output().toStdString();
        const auto [seconds, peakKb] = TimeAndPeak(run.err);
        std::cout << "64 KiB SNMP values: " << seconds << " s, peak " << peakKb / 1024 << " MiB\n";
        EXPECT_LT(seconds, 60.0);
        EXPECT_LT(peakKb, 400 * 1024);
        EXPECT_TRUE(run.out.contains("3 devices surveyed")) << run.out.toStdString();
        // The value reached the map, cut for its label: the picture stays the map's size.
        const QString dump = Dump(map);
        EXPECT_TRUE(dump.contains(QString(150, QLatin1Char('V'))));
        EXPECT_FALSE(dump.contains("Varnex lab gateway")) << "the lab's own agent did not answer";
        const QImage picture(png);
        ASSERT_FALSE(picture.isNull());
        EXPECT_LT(picture.width(), 4000);
    }
    g_lab->InNamespace("gw", "nft", {"delete", "table", "ip", "vxsnmp"});
}

TEST_F(LabTest, AGatewayDescriptionThatSendsTheSurveyElsewhereIsNotFollowed)
{
    // The description (miniupnpd's port 5555) comes from a hostile server;
    // the address it points to, beyond the gateway, tells every connection.
    const QString redirect = QStringLiteral(
        "nft add table ip vxupnp && nft add chain ip vxupnp pre '{ type nat hook prerouting priority -100; }' && "
        "nft add rule ip vxupnp pre ip daddr 10.77.0.1 tcp dport 5555 redirect to :5556");
    ASSERT_EQ(g_lab->InNamespace("gw", "sh", {"-c", redirect}).exitCode, 0);
    const QString hostile = QStringLiteral(VARNEX_SOURCE_DIR "/tests/lab/hostile/hostile-upnp");
    for (const char* mode : {"redirect", "elsewhere"}) {
        SCOPED_TRACE(mode);
        const QString target = QString::fromLatin1(mode) == "redirect" ? "http://10.78.0.1:8080/rootDesc.xml"
                                                                        : "http://10.78.0.1:8080/ctl/IPConn";
        LabPeer server("gw", {"/usr/bin/python3", hostile, "10.77.0.1", "5556", mode, target});
        LabPeer elsewhere("isp", {"/usr/bin/python3", hostile, "10.78.0.1", "8080", "listen"});
        ASSERT_TRUE(server.Started());
        ASSERT_TRUE(elsewhere.Started());
        QThread::msleep(500);
        const QString map = g_lab->Directory() + QStringLiteral("/upnp-%1.vxnj").arg(mode);
        const LabNetwork::Run run =
            g_lab->InSurveyor(QStringLiteral(VARNEX_BINARY), {"survey", "--out", map, "--pause", "0"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(server.Output().contains("connection GET")) << "the survey asked its gateway";
        EXPECT_FALSE(elsewhere.Output().contains("connection")) << "and nobody else";
        if (QString::fromLatin1(mode) == "elsewhere") {
            EXPECT_TRUE(Dump(map).contains("Varnex Lab Router")) << "the description itself is the gateway's";
        }
    }
    g_lab->InNamespace("gw", "nft", {"delete", "table", "ip", "vxupnp"});
}
