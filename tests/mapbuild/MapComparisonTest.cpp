#include "mapbuild/ComparisonReport.h"
#include "mapbuild/HostFacts.h"
#include "mapbuild/MapComparison.h"

#include "document/CNetDoc.h"
#include "objects/CDrawSys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <string>

namespace {

using Kind = MapComparison::Kind;

HostFacts Host(const QString& fqdn, const QString& mac, const QString& address)
{
    HostFacts host;
    host.fqdn = fqdn;
    if (!mac.isEmpty())
        host.macs = {HostFacts::NormalMac(mac)};
    host.addresses = {address};
    host.hostRow = {fqdn, QStringLiteral("Windows 10 Pro"), QStringLiteral("DeskTop"), QStringLiteral("Dell Inc."),
                    QStringLiteral("OptiPlex 7090"), QStringLiteral("16645MB"), QStringLiteral("8123MB")};
    host.position = Rect{100, 100, 200, 200};
    host.hasInventory = true;
    return host;
}

std::vector<HostFacts> Office()
{
    std::vector<HostFacts> hosts{
        Host("srv01.example.local", "00-15-5D-00-00-01", "10.77.1.10"),
        Host("pc01.example.local", "00-15-5D-00-00-02", "10.77.1.101"),
        Host("pc02.example.local", "00-15-5D-00-00-03", "10.77.1.102"),
    };
    hosts[0].records[HostFacts::kRoles] = {{"DOMAIN_CTRL"}};
    hosts[1].records[HostFacts::kSoftware] = {{"Microsoft Office Professional Plus 2019", "16.0.10396.20017"},
                                              {"Adobe Acrobat Reader DC", "23.008.20470"}};
    hosts[1].records[HostFacts::kHotfixes] = {{"KB5032198"}};
    return hosts;
}

// A change as the summary shows it: "table field: old → new".
QStringList Lines(const MapComparison::HostChange& host)
{
    QStringList lines;
    for (const MapComparison::FieldChange& change : host.changes)
        lines.append(change.table + '|' + change.field + '|' + change.oldValue + '|' + change.newValue);
    return lines;
}

struct Case {
    const char* name;
    std::function<void(std::vector<HostFacts>&)> edit;
    // Expected: kind and name of each host change, and the lines of the
    // first changed host.
    QStringList hosts;
    QStringList changes;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class MapComparisonCases : public testing::TestWithParam<Case> {};

TEST_P(MapComparisonCases, FindsWhatChangedAndNothingElse)
{
    const Case& c = GetParam();
    const std::vector<HostFacts> before = Office();
    std::vector<HostFacts> after = Office();
    c.edit(after);
    const MapComparison comparison = MapComparison::Compare(before, after);
    QStringList hosts;
    const MapComparison::HostChange* firstChanged = nullptr;
    for (const MapComparison::HostChange& host : comparison.Hosts()) {
        hosts.append(ComparisonReport::KindName(host.kind) + ' ' + host.Name());
        if (host.kind == Kind::Changed && !firstChanged)
            firstChanged = &host;
    }
    EXPECT_EQ(hosts, c.hosts) << c.name;
    EXPECT_EQ(firstChanged ? Lines(*firstChanged) : QStringList(), c.changes) << c.name;
}

const Case kCases[] = {
    {"nothing changed", [](auto&) {}, {}, {}},
    {"host added",
     [](auto& hosts) { hosts.push_back(Host("pc03.example.local", "00-15-5D-00-00-04", "10.77.1.103")); },
     {"new pc03.example.local"},
     {}},
    {"host removed",
     [](auto& hosts) { hosts.erase(hosts.begin() + 2); },
     {"gone pc02.example.local"},
     {}},
    {"renamed, same MAC",
     [](auto& hosts) {
         hosts[2].fqdn = "pc-keiri02.example.local";
         hosts[2].hostRow[0] = hosts[2].fqdn;
     },
     {"changed pc-keiri02.example.local"},
     {"host|name|pc02.example.local|pc-keiri02.example.local"}},
    {"readdressed",
     [](auto& hosts) { hosts[1].addresses = {"10.77.1.150"}; },
     {"changed pc01.example.local"},
     {"addresses|addresses|10.77.1.101|10.77.1.150"}},
    {"readdressed and renamed without a MAC is new and gone",
     [](auto& hosts) {
         hosts[2] = Host("pc09.example.local", "", "10.77.1.109");
     },
     {"new pc09.example.local", "gone pc02.example.local"},
     {}},
    {"two hosts swap addresses",
     [](auto& hosts) { std::swap(hosts[1].addresses, hosts[2].addresses); },
     {"changed pc01.example.local", "changed pc02.example.local"},
     {"addresses|addresses|10.77.1.101|10.77.1.102"}},
    {"role added",
     [](auto& hosts) { hosts[0].records[HostFacts::kRoles].append(QStringList{"SQLSERVER"}); },
     {"changed srv01.example.local"},
     {"roles|SQLSERVER||present"}},
    {"OS upgraded",
     [](auto& hosts) {
         hosts[1].hostRow[1] = "Windows 11 Pro";
         hosts[1].records[HostFacts::kOperatingSystem] = {{"Microsoft Windows 11 Pro", "10.0.22631"}};
     },
     {"changed pc01.example.local"},
     {"host|OS|Windows 10 Pro|Windows 11 Pro", "OS version|OS version||Microsoft Windows 11 Pro 10.0.22631"}},
    {"software removed, upgraded and added",
     [](auto& hosts) {
         hosts[1].records[HostFacts::kSoftware] = {{"Microsoft Office Professional Plus 2019", "16.0.10400.1"},
                                                   {"Mozilla Firefox", "120.0"}};
     },
     {"changed pc01.example.local"},
     {"software|Microsoft Office Professional Plus 2019|16.0.10396.20017|16.0.10400.1",
      "software|Adobe Acrobat Reader DC|23.008.20470|", "software|Mozilla Firefox||120.0"}},
    {"hotfix added",
     [](auto& hosts) { hosts[1].records[HostFacts::kHotfixes].append(QStringList{"KB5034441"}); },
     {"changed pc01.example.local"},
     {"hotfixes|KB5034441||present"}},
    {"two versions of one product in another order are no change",
     [](auto& hosts) {
         hosts[1].records[HostFacts::kSoftware] = {{"Adobe Acrobat Reader DC", "23.008.20470"},
                                                   {"Microsoft Office Professional Plus 2019", "16.0.10396.20017"}};
     },
     {},
     {}},
    {"an inventory one survey did not get is not a loss",
     [](auto& hosts) {
         hosts[1].hasInventory = false;
         hosts[1].records[HostFacts::kSoftware].clear();
         hosts[1].records[HostFacts::kHotfixes].clear();
         hosts[1].hostRow[4].clear();
     },
     {},
     {}},
    {"a new machine on an old one's address is new",
     [](auto& hosts) { hosts[2] = Host("pc07.example.local", "00-15-5D-00-00-07", "10.77.1.102"); },
     {"new pc07.example.local", "gone pc02.example.local"},
     {}},
    {"a MAC address two devices share identifies neither",
     [](auto& hosts) {
         hosts[1].macs.append("02-00-4C-4F-4F-50");
         hosts[2].macs.append("02-00-4C-4F-4F-50");
         hosts[1].fqdn = hosts[1].hostRow[0] = "pc01b.example.local";
     },
     {"changed pc01b.example.local", "changed pc02.example.local"},
     {"host|name|pc01.example.local|pc01b.example.local", "adapters|adapters|00-15-5D-00-00-02|00-15-5D-00-00-02, 02-00-4C-4F-4F-50"}},
    {"free memory is not a change",
     [](auto& hosts) { hosts[0].hostRow[6] = "1MB"; },
     {},
     {}},
    {"a name in other letter case is the same name",
     [](auto& hosts) {
         hosts[2].macs.clear();
         hosts[2].fqdn = "PC02.example.local";
     },
     {"changed PC02.example.local"},
     {"adapters|adapters|00-15-5D-00-00-03|"}},
};

INSTANTIATE_TEST_SUITE_P(Table, MapComparisonCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(MapComparison, GoneDevicesKeepWhereTheyWere)
{
    std::vector<HostFacts> after = Office();
    after.pop_back();
    const MapComparison comparison = MapComparison::Compare(Office(), after);
    ASSERT_EQ(comparison.Hosts().size(), 1);
    EXPECT_EQ(comparison.Hosts().first().oldPosition.right, 200);
    EXPECT_EQ(comparison.Count(Kind::Gone), 1);
}

TEST(HostFacts, MacAddressesInEveryFormReadAlike)
{
    EXPECT_EQ(HostFacts::NormalMac("00:15:5d:4d:00:0a"), "00-15-5D-4D-00-0A");
    EXPECT_EQ(HostFacts::NormalMac("00-15-5D-4D-00-0A"), "00-15-5D-4D-00-0A");
    EXPECT_EQ(HostFacts::NormalMac("00-00-00-00-00-00"), "");
    EXPECT_EQ(HostFacts::NormalMac("No-Ad-"), "");
    EXPECT_EQ(HostFacts::NormalMac("00-15-5D-4D-00"), "");
}

TEST(HostFacts, WmiListingGivesSoftwareHotfixesAndProfilesWithoutTheirCounters)
{
    CNetDoc document;
    document.m_bSnapshotsWanted = false;
    document.OnNewDocument();
    auto* system = new CDrawSys(Rect{0, 0, 100, 100});
    system->m_strFqdn = QStringLiteral("pc01.example.local");
    const auto line = [](const char* name, const char* value) {
        return QString::fromUtf8(name).leftJustified(32) + '\t' + QString::fromUtf8(value);
    };
    system->WmiListing() = {
        "OperatingSystem", line("Caption", "Microsoft Windows 10 Pro"), line("FreePhysicalMemory", "1"),
        line("Version", "10.0.19045"), "end end",
        "Product", line("Caption", "Office"), line("Vendor", "Microsoft"), line("Version", "16.0"),
        line("Caption", "Reader"), line("Vendor", "Adobe"), line("Version", "23.0"), "end end",
        "QuickFixEngineering", line("Description", "Update"), line("HotFixID", "KB1"),
        line("Description", "Security Update"), line("HotFixID", "KB2"), "end end",
        "NetworkLoginProfile", line("LastLogon", "20261209081500.000000+540"), line("Name", "EXAMPLE\\taro"),
        line("NumberOfLogons", "812")};
    document.AddObject(system);

    const std::vector<HostFacts> hosts = HostFacts::Collect(document);
    ASSERT_EQ(hosts.size(), 1u);
    const HostFacts& host = hosts.front();
    EXPECT_EQ(host.records[HostFacts::kOperatingSystem],
              (HostFacts::Records{{"Microsoft Windows 10 Pro", "10.0.19045"}}));
    EXPECT_EQ(host.records[HostFacts::kSoftware], (HostFacts::Records{{"Office", "16.0"}, {"Reader", "23.0"}}));
    EXPECT_EQ(host.records[HostFacts::kHotfixes], (HostFacts::Records{{"KB1"}, {"KB2"}}));
    EXPECT_EQ(host.records[HostFacts::kLoginProfiles], (HostFacts::Records{{"EXAMPLE\\taro"}}));
}

TEST(ComparisonReport, CsvQuotesAndNeutralisesNamesFromTheNetwork)
{
    std::vector<HostFacts> after = Office();
    after[1].records[HostFacts::kSoftware].append(QStringList{"=HYPERLINK(\"http://x\"),1", "1.0"});
    after.push_back(Host("new,host\r\n.example.local", "00-15-5D-00-00-09", "10.77.1.109"));
    const QByteArray csv = ComparisonReport::Csv(MapComparison::Compare(Office(), after));
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split("\r\n");
    EXPECT_EQ(lines.at(0), "host,table,field,old,new");
    EXPECT_EQ(lines.at(1), "pc01.example.local,software,\"'=HYPERLINK(\"\"http://x\"\"),1\",,1.0");
    EXPECT_TRUE(QString::fromUtf8(csv).contains("\"new,host\r\n.example.local\",host,device,,\"new,host\r\n.example.local\"\r\n"));
}

TEST(ComparisonReport, ANameFromTheNetworkCannotForgeASummaryLine)
{
    std::vector<HostFacts> after = Office();
    after.push_back(Host("evil\n- srv01.example.local\x1b]0;owned\x07", "00-15-5D-00-00-66", "10.77.1.66"));
    const QString summary = ComparisonReport::Summary(MapComparison::Compare(Office(), after));
    EXPECT_EQ(summary, "new: 1, gone: 0, changed: 0\n+ evil?- srv01.example.local?]0;owned?\n");
}

TEST(ComparisonReport, SummaryAndJsonNameEveryChange)
{
    std::vector<HostFacts> after = Office();
    after[1].records[HostFacts::kSoftware].removeLast();
    after.erase(after.begin() + 2);
    const MapComparison comparison = MapComparison::Compare(Office(), after);
    EXPECT_EQ(ComparisonReport::Summary(comparison),
              "new: 0, gone: 1, changed: 1\n"
              "~ pc01.example.local\n"
              "    software Adobe Acrobat Reader DC: 23.008.20470 → (none)\n"
              "- pc02.example.local\n");
    const QJsonObject json = QJsonDocument::fromJson(ComparisonReport::Json(comparison, "a.vxnj", "b.vxnj")).object();
    EXPECT_EQ(json["counts"].toObject()["gone"].toInt(), 1);
    const QJsonArray hosts = json["hosts"].toArray();
    ASSERT_EQ(hosts.size(), 2);
    EXPECT_EQ(hosts[0].toObject()["change"].toString(), "changed");
    EXPECT_EQ(hosts[0].toObject()["changes"].toArray()[0].toObject()["old"].toString(), "23.008.20470");
    EXPECT_EQ(hosts[1].toObject()["oldName"].toString(), "pc02.example.local");
}

} // namespace
