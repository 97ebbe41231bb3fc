#include "survey/CWsd_Collection.h"
#include "survey/DiscoveryServiceCheck.h"
#include "survey/WsdDumpLines.h"
#include "survey/platform/SimulatedNetwork.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <atomic>
#include <functional>
#include <ostream>
#include <thread>
#include <vector>

namespace {

const QString kDemoPath = QStringLiteral(VARNEX_SOURCE_DIR "/data/demo-network.json");

std::unique_ptr<SimulatedNetwork> LoadDemo()
{
    SimulatedNetwork::LoadResult result = SimulatedNetwork::load(kDemoPath);
    EXPECT_TRUE(result.network) << result.error.toStdString();
    return std::move(result.network);
}

QString Text(const SnmpProbe::Value& value)
{
    const QByteArray* bytes = std::get_if<QByteArray>(&value);
    return bytes ? QString::fromUtf8(*bytes) : QString();
}

QString WmiText(const WmiSession::Instance& instance, const QString& name)
{
    for (const WmiSession::Property& property : instance.properties)
        if (property.name == name)
            if (const QString* text = std::get_if<QString>(&property.value))
                return *text;
    return QString();
}

// ---- the demo network answers as its file says ----

struct DemoCase {
    const char* label;
    std::function<void(const NetworkProbes&)> check;

    friend void PrintTo(const DemoCase& c, std::ostream* os) { *os << c.label; }
};

const std::vector<DemoCase> kDemoCases = {
    {"DiscoveryGivesOneRecordPerDevice",
     [](const NetworkProbes& net) {
         const DeviceDiscoveryProbe::Result found = net.Discovery().Discover();
         ASSERT_EQ(found.error, 0u);
         QStringList lines;
         for (const DeviceDiscoveryProbe::Device& device : found.devices)
             lines += WsdDumpLines::PropertyLines(device.properties);
         QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(lines);
         ASSERT_EQ(records.size(), found.devices.size());
         ASSERT_EQ(records.size(), 23);
         records[0].Parse([&](const QString& a) { return net.Names().ReverseLookup(a); });
         EXPECT_TRUE(records[0].IsComputer());
         EXPECT_EQ(records[0].m_strName, QStringLiteral("\\\\TVDC01"));
         EXPECT_EQ(records[0].m_strAddress, QStringLiteral("10.77.1.10"));
     }},
    {"PrinterRecordIsNamedByReverseLookup",
     [](const NetworkProbes& net) {
         QStringList lines;
         for (const auto& device : net.Discovery().Discover().devices)
             lines += WsdDumpLines::PropertyLines(device.properties);
         QList<CWsd_Collection> records = CWsd_Collection::GroupDumpLines(lines);
         records.removeIf([](const CWsd_Collection& r) {
             return !r.m_astrLines.join("").contains("10.77.2.50");
         });
         ASSERT_EQ(records.size(), 1);
         records[0].Parse([&](const QString& a) { return net.Names().ReverseLookup(a); });
         EXPECT_FALSE(records[0].IsComputer());
         EXPECT_EQ(records[0].m_strName, QStringLiteral("soumu-mfp.tavrin-demo.local"));
         EXPECT_EQ(records[0].m_astrCategories.size(), 3);
     }},
    {"NamesResolveBothWays",
     [](const NetworkProbes& net) {
         EXPECT_EQ(net.Names().ReverseLookup("10.77.1.10"), "tvdc01.tavrin-demo.local");
         EXPECT_EQ(net.Names().ReverseLookup("10.77.9.9"), "10.77.9.9");
         EXPECT_EQ(net.Names().ReverseLookup("10.77.3.21"), "HOME-PC1");
         const auto entry = net.Names().LookupHost("tvsql01");
         ASSERT_TRUE(entry);
         EXPECT_EQ(entry->officialName, "tvsql01.tavrin-demo.local");
         EXPECT_EQ(entry->address, "10.77.1.13");
         EXPECT_FALSE(net.Names().LookupHost("NOSUCH"));
         EXPECT_EQ(net.Names().ForwardLookup("HOME-PC1"), "10.77.3.21");
         EXPECT_EQ(net.Names().ForwardLookup("NOSUCH"), "");
     }},
    {"PingAnswersAsConfigured",
     [](const NetworkProbes& net) {
         EXPECT_TRUE(net.Ping().Echo("10.77.1.101", 0));
         EXPECT_FALSE(net.Ping().Echo("10.77.1.112", 0)); // NB-KAIHATSU2 is switched off
         EXPECT_FALSE(net.Ping().Echo("10.77.9.9", 0));
     }},
    {"ServerInformationAndErrors",
     [](const NetworkProbes& net) {
         const ServerInfoProbe::Result sql = net.ServerInfo().ServerInfo101("\\\\TVSQL01");
         ASSERT_EQ(sql.error, 0u);
         EXPECT_EQ(sql.info.platformId, 500u);
         EXPECT_EQ(sql.info.name, "TVSQL01");
         EXPECT_NE(sql.info.type & 0x4u, 0u); // SQL server bit
         EXPECT_EQ(sql.info.comment, "販売管理 DB");
         EXPECT_EQ(net.ServerInfo().ServerInfo101("\\\\NOSUCH").error, 53u);
         EXPECT_EQ(net.ServerInfo().ServerInfo101("soumu-mfp").error, 53u);
     }},
    {"SharedPrintersAndLocalNetwork",
     [](const NetworkProbes& net) {
         EXPECT_EQ(net.SharedPrinters().Enumerate().remoteNames.size(), 3);
         const auto adapters = net.LocalNetwork().Adapters();
         ASSERT_EQ(adapters.size(), 1);
         EXPECT_EQ(adapters[0].gateway.address, "10.77.0.1");
         EXPECT_EQ(adapters[0].mac, QByteArray::fromHex("00155d4d00c8"));
         EXPECT_EQ(adapters[0].addresses[0].mask, "255.255.0.0");
         EXPECT_GE(net.LocalNetwork().Neighbours().size(), 20);
         EXPECT_EQ(net.LocalNetwork().ArpLookup("10.77.0.1"), QByteArray::fromHex("ac44f2102030"));
         EXPECT_FALSE(net.LocalNetwork().ArpLookup("10.77.9.9"));
     }},
    {"GatewayAnswersSnmpAndUpnp",
     [](const NetworkProbes& net) {
         const SnmpProbe::Result name = net.Snmp().Get("10.77.0.1", "public", ".1.3.6.1.2.1.1.5.0", 0);
         ASSERT_TRUE(name.answered);
         EXPECT_EQ(Text(name.value), "tavrin-gw");
         const SnmpProbe::Result descr = net.Snmp().Get("10.77.0.1", "public", "1.3.6.1.2.1.1.1.0", 0);
         EXPECT_TRUE(Text(descr.value).startsWith("YAMAHA RTX830"));
         EXPECT_FALSE(net.Snmp().Get("10.77.0.1", "private", ".1.3.6.1.2.1.1.5.0", 0).answered);
         EXPECT_EQ(net.Snmp().Get("10.77.0.1", "public", ".1.3.6.1.2.1.1.6.0", 0).errorStatus, 2u);
         const auto gateway = net.UpnpGateway().FindGateway();
         ASSERT_TRUE(gateway);
         EXPECT_EQ(gateway->externalAddress, "10.77.250.2");
         EXPECT_EQ(gateway->manufacturer, "YAMAHA");
     }},
    {"WmiInventoryOfADomainServer",
     [](const NetworkProbes& net) {
         const WmiProbe::Connection c = net.Wmi().Connect("\\\\TVDC01", std::nullopt);
         ASSERT_EQ(c.hresult, 0u);
         const auto cs = c.session->Instances("Win32_ComputerSystem");
         ASSERT_EQ(cs.instances.size(), 1);
         EXPECT_EQ(WmiText(cs.instances[0], "Manufacturer"), "FUJITSU");
         const auto enclosure = c.session->Instances("Win32_SystemEnclosure").instances;
         ASSERT_EQ(enclosure.size(), 1);
         const auto& chassis = enclosure[0].properties[0];
         EXPECT_EQ(chassis.name, "ChassisTypes");
         EXPECT_EQ(std::get<QList<qint32>>(chassis.value), QList<qint32>{23});
         const auto names = c.session->Instances("Win32_OperatingSystem").instances[0].properties;
         for (qsizetype i = 1; i < names.size(); ++i)
             EXPECT_LT(names[i - 1].name, names[i].name);
         EXPECT_EQ(c.session->Instances("Win32_NoSuchClass").hresult, 0x80041010u);
     }},
    {"WmiOfAWorkgroupMachineNeedsItsAccount",
     [](const NetworkProbes& net) {
         EXPECT_EQ(net.Wmi().Connect("\\\\HOME-PC1", std::nullopt).hresult, 0x80070005u);
         const WmiProbe::Credentials account{"HOME-PC1", "Administrator", "demo-only"};
         const WmiProbe::Connection c = net.Wmi().Connect("\\\\HOME-PC1", account);
         ASSERT_EQ(c.hresult, 0u);
         EXPECT_EQ(c.session->Instances("Win32_Product").instances.size(), 1);
         EXPECT_EQ(net.Wmi().Connect("\\\\HOME-NAS", std::nullopt).hresult, 0x800706BAu);
     }},
    {"LocalMachineFacts",
     [](const NetworkProbes& net) {
         EXPECT_EQ(net.LocalMachine().ComputerName(), "TV-ADMIN01");
         EXPECT_EQ(net.LocalMachine().Version().build, 19045u);
         const auto verdict = DiscoveryServiceCheck::Decide(
             [&](const QString& s) { return net.LocalMachine().DiscoveryService(s); });
         EXPECT_TRUE(verdict.holds);
         EXPECT_EQ(net.LocalMachine().DiscoveryService("NoSuchService").failedStage,
                   DiscoveryServiceCheck::kOpenService);
     }},
};

class DemoNetwork : public ::testing::TestWithParam<DemoCase> {};

TEST_P(DemoNetwork, AnswersAsTheFileSays)
{
    const auto network = LoadDemo();
    ASSERT_TRUE(network);
    GetParam().check(*network);
}

INSTANTIATE_TEST_SUITE_P(Probes, DemoNetwork, ::testing::ValuesIn(kDemoCases),
                         [](const auto& info) { return std::string(info.param.label); });

// ---- malformed files name the offending place ----

const char* const kLocal =
    R"("localMachine":{"computerName":"PC","os":{"major":10,"minor":0},"discoveryServices":{},"adapters":[]})";

QByteArray Doc(const QString& hosts, const QString& extra = QString(), const QString& local = kLocal)
{
    return QStringLiteral(R"({"format":"varnex-simulated-network","version":1,%1,"hosts":[%2]%3})")
        .arg(local, hosts, extra)
        .toUtf8();
}

struct BadCase {
    const char* label;
    QByteArray json;
    const char* message;

    friend void PrintTo(const BadCase& c, std::ostream* os) { *os << c.label; }
};

const std::vector<BadCase> kBadCases = {
    {"NotJson", "{\"format\":", "$: not valid JSON"},
    {"RootIsArray", "[]", "$: expected an object"},
    {"WrongFormat", R"({"format":"other","version":1})", "$.format: expected \"varnex-simulated-network\""},
    {"WrongVersion", R"({"format":"varnex-simulated-network","version":2})", "$.version: expected an integer from 1 to 1"},
    {"MissingLocalMachine", R"({"format":"varnex-simulated-network","version":1,"hosts":[]})", "$.localMachine: missing member"},
    {"UnknownTopMember", Doc("", R"(,"extra":1)"), "$.extra: unknown member"},
    {"HostsNotArray", Doc("").replace(R"("hosts":[])", R"("hosts":{})"), "$.hosts: expected an array"},
    {"BadHostAddress", Doc(R"({"address":"10.77.300.1"})"), "$.hosts[0].address: expected a dotted IPv4 address"},
    {"DuplicateAddress", Doc(R"({"address":"10.77.0.5"},{"address":"10.77.0.5"})"), "$.hosts[1].address: address 10.77.0.5 is used twice"},
    {"UnknownHostMember", Doc(R"({"address":"10.77.0.5","colour":"red"})"), "$.hosts[0].colour: unknown member"},
    {"PingNotBool", Doc(R"({"address":"10.77.0.5","ping":1})"), "$.hosts[0].ping: expected true or false"},
    {"UnknownProbe", Doc("", R"(,"probes":{"teleport":{}})"), "$.probes.teleport: unknown member"},
    {"NegativeDelay", Doc("", R"(,"probes":{"ping":{"delayMs":-1}})"), "$.probes.ping.delayMs: expected an integer from 0 to 60000"},
    {"FractionalDelay", Doc("", R"(,"probes":{"ping":{"delayMs":1.5}})"), "$.probes.ping.delayMs: expected an integer"},
    {"DelayBeyond64Bits", Doc("", R"(,"probes":{"ping":{"delayMs":1.2e90}})"),
     "$.probes.ping.delayMs: expected an integer from 0 to 60000"},
    {"BadFailCode", Doc("", R"(,"probes":{"ping":{"failWith":"12"}})"), "$.probes.ping.failWith: expected a hexadecimal text"},
    {"BadPropertyType",
     Doc(R"({"address":"10.77.0.5","discovery":{"providerInstanceId":"x","properties":[{"fmtid":"{656a3bb3-ecc0-43fd-8477-4ae0404a96cd}","pid":1,"type":"float","value":1}]}})"),
     "$.hosts[0].discovery.properties[0].type: unknown property type \"float\""},
    {"BadFormatId",
     Doc(R"({"address":"10.77.0.5","discovery":{"providerInstanceId":"x","properties":[{"fmtid":"nope","pid":1,"type":"empty"}]}})"),
     "$.hosts[0].discovery.properties[0].fmtid: expected a GUID in braces"},
    {"ServerInfoMissingType",
     Doc(R"({"address":"10.77.0.5","serverInfo":{"platformId":500,"name":"A","versionMajor":10,"versionMinor":0}})"),
     "$.hosts[0].serverInfo.type: missing member"},
    {"ServerInfoAndError",
     Doc(R"({"address":"10.77.0.5","serverInfo":{},"serverInfoError":5})"),
     "$.hosts[0].serverInfoError: conflicts with serverInfo"},
    {"WmiInstanceNotObject",
     Doc(R"({"address":"10.77.0.5","wmi":{"classes":{"Win32_Processor":[3]}}})"),
     "$.hosts[0].wmi.classes.Win32_Processor[0]: expected an object"},
    {"WmiBadDate",
     Doc(R"({"address":"10.77.0.5","wmi":{"classes":{"Win32_OperatingSystem":[{"LastBootUpTime":{"date":"yesterday"}}]}}})"),
     "$.hosts[0].wmi.classes.Win32_OperatingSystem[0].LastBootUpTime.date: expected an ISO 8601 date"},
    {"SnmpBadOid", Doc(R"({"address":"10.77.0.1","snmp":{"public":{"sysName":"gw"}}})"),
     "$.hosts[0].snmp.public.sysName: expected a numeric object identifier"},
    {"NeighbourBadMac",
     Doc("", "", R"("localMachine":{"computerName":"PC","os":{"major":10,"minor":0},"discoveryServices":{},"adapters":[],"neighbours":[{"address":"10.77.0.1","mac":"00-11-22"}]})"),
     "$.localMachine.neighbours[0].mac: expected six hexadecimal bytes"},
    {"ComputerNameTooLong",
     Doc("", "", R"("localMachine":{"computerName":"A-VERY-LONG-COMPUTER-NAME","os":{"major":10,"minor":0},"discoveryServices":{},"adapters":[]})"),
     "$.localMachine.computerName: expected 1 to 15 characters"},
    {"UnknownService",
     Doc("", "", R"("localMachine":{"computerName":"PC","os":{"major":10,"minor":0},"discoveryServices":{"Spooler":{"automatic":true}},"adapters":[]})"),
     "$.localMachine.discoveryServices.Spooler: unknown member"},
    {"UpnpBadExternalAddress", Doc("", R"(,"upnpGateway":{"externalAddress":"gateway"})"),
     "$.upnpGateway.externalAddress: expected a dotted IPv4 address"},
};

class MalformedFile : public ::testing::TestWithParam<BadCase> {};

TEST_P(MalformedFile, FailsWithThePath)
{
    const SimulatedNetwork::LoadResult result = SimulatedNetwork::loadFromBytes(GetParam().json);
    EXPECT_FALSE(result.network);
    EXPECT_TRUE(result.error.startsWith(QString::fromUtf8(GetParam().message)))
        << result.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedFile, ::testing::ValuesIn(kBadCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(SimulatedNetworkLoad, AWmiNumberBeyond64BitsIsKeptAsANumber)
{
    const SimulatedNetwork::LoadResult result = SimulatedNetwork::loadFromBytes(
        Doc(R"({"address":"10.77.0.5","wmi":{"classes":{"Win32_Processor":[{"MaxClockSpeed":1.2e90}]}}})"));
    EXPECT_TRUE(result.network) << result.error.toStdString();
}

TEST(SimulatedNetworkLoad, MinimalFileLoads)
{
    const auto result = SimulatedNetwork::loadFromBytes(Doc(R"({"address":"10.77.0.5"})"));
    ASSERT_TRUE(result.network) << result.error.toStdString();
    EXPECT_EQ(result.network->Data().hosts.size(), 1);
}

TEST(SimulatedNetworkLoad, MissingFileNamesThePath)
{
    const auto result = SimulatedNetwork::load(QStringLiteral("/nonexistent/net.json"));
    EXPECT_FALSE(result.network);
    EXPECT_TRUE(result.error.startsWith("/nonexistent/net.json: cannot be read"));
}

// ---- delays and failures ----

const char* const kHosts =
    R"({"address":"10.77.0.5","computerName":"A","serverInfo":{"platformId":500,"name":"A","versionMajor":10,"versionMinor":0,"type":"0x00001003"},)"
    R"("discovery":{"providerInstanceId":"x","properties":[]},"wmi":{"classes":{"Win32_Processor":[{"Name":"cpu"}]}}})";

std::unique_ptr<SimulatedNetwork> WithProbes(const QString& probes)
{
    auto result = SimulatedNetwork::loadFromBytes(Doc(kHosts, R"(,"probes":)" + probes));
    EXPECT_TRUE(result.network) << result.error.toStdString();
    return std::move(result.network);
}

TEST(SimulatedNetworkBehaviour, DelayHoldsTheAnswerBack)
{
    const auto net = WithProbes(R"({"ping":{"delayMs":120}})");
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(net->Ping().Echo("10.77.0.5", 0));
    EXPECT_GE(timer.elapsed(), 110);
    timer.restart();
    EXPECT_EQ(net->ServerInfo().ServerInfo101("A").error, 0u);
    EXPECT_LT(timer.elapsed(), 100);
}

TEST(SimulatedNetworkBehaviour, UnansweredEchoWaitsForTheTimeout)
{
    const auto net = WithProbes(R"({"ping":{"failWith":1}})");
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(net->Ping().Echo("10.77.0.5", 80));
    EXPECT_GE(timer.elapsed(), 70);
}

TEST(SimulatedNetworkBehaviour, FailuresReplaceTheFacts)
{
    const auto net = WithProbes(
        R"({"serverInfo":{"failWith":5},"discovery":{"failWith":"0x80004005"},)"
        R"("wmiEnumerate":{"failWith":"0x800706BB"},"reverseLookup":{"failWith":1}})");
    EXPECT_EQ(net->ServerInfo().ServerInfo101("\\\\A").error, 5u);
    const auto found = net->Discovery().Discover();
    EXPECT_EQ(found.error, 0x80004005u);
    EXPECT_TRUE(found.devices.isEmpty());
    const auto c = net->Wmi().Connect("\\\\A", std::nullopt);
    ASSERT_EQ(c.hresult, 0u);
    EXPECT_EQ(c.session->Instances("Win32_Processor").hresult, 0x800706BBu);
    EXPECT_EQ(net->Names().ReverseLookup("10.77.0.5"), "10.77.0.5");
    EXPECT_EQ(net->Names().ForwardLookup("A"), "10.77.0.5");
}

// ---- many analysis threads at once ----

TEST(SimulatedNetworkThreads, ManyThreadsGetTheSameAnswers)
{
    const auto net = LoadDemo();
    ASSERT_TRUE(net);
    const auto hosts = net->Data().hosts;
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 16; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 100; ++i) {
                const auto& host = hosts[(t * 7 + i) % hosts.size()];
                const bool ok = net->Names().ForwardLookup(host.address) == host.address
                                && net->Ping().Echo(host.address, 0) == host.answersPing
                                && net->Discovery().Discover().devices.size() == 23
                                && (host.computerName.isEmpty()
                                    || net->ServerInfo().ServerInfo101(host.computerName).error
                                           == (host.serverInfo ? 0u : host.serverInfoError))
                                && net->Wmi().Connect("\\\\TVFS01", std::nullopt).session
                                           ->Instances("Win32_DiskDrive").instances.size() == 1;
                if (!ok)
                    ++mismatches;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

} // namespace
