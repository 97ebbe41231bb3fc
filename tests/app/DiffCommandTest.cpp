#include "document/CNetDoc.h"
#include "mapbuild/MapComparison.h"
#include "mapview/ChangeOverlay.h"
#include "mapview/MapRenderer.h"
#include "objects/CDrawSys.h"
#include "support/TestFiles.h"
#include "support/VarnexRun.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using Outcome = VarnexRun;

Outcome varnex(const QStringList& arguments)
{
    return VarnexRun::Of(arguments);
}

// The demo network a month later: pc-keiri01 gone, pc-keiri02 new,
// tvfs01 on a newer Windows, Acrobat Reader removed from pc-soumu01.
QByteArray ChangedDemoNetwork()
{
    QJsonObject root = QJsonDocument::fromJson(TestFiles::readAll(VARNEX_SOURCE_DIR "/data/demo-network.json")).object();
    QJsonArray changed;
    for (const QJsonValue& value : root.value("hosts").toArray()) {
        QJsonObject host = value.toObject();
        const QString name = host.value("dnsName").toString();
        if (name == "pc-keiri01.tavrin-demo.local")
            continue;
        if (!host.contains("wmi")) {
            changed.append(host);
            continue;
        }
        QJsonObject wmi = host.value("wmi").toObject();
        QJsonObject classes = wmi.value("classes").toObject();
        if (name == "tvfs01.tavrin-demo.local") {
            QJsonArray os = classes.value("Win32_OperatingSystem").toArray();
            QJsonObject first = os[0].toObject();
            first["Caption"] = "Microsoft Windows Server 2022 Standard";
            os[0] = first;
            classes["Win32_OperatingSystem"] = os;
        }
        if (name == "pc-soumu01.tavrin-demo.local") {
            QJsonArray kept;
            for (const QJsonValue& product : classes.value("Win32_Product").toArray())
                if (!product.toObject().value("Caption").toString().contains("Acrobat"))
                    kept.append(product);
            classes["Win32_Product"] = kept;
        }
        wmi["classes"] = classes;
        host["wmi"] = wmi;
        changed.append(host);
        if (name == "pc-eigyo01.tavrin-demo.local") {
            QByteArray copy = QJsonDocument(host).toJson();
            copy.replace("PC-EIGYO01", "PC-KEIRI02").replace("pc-eigyo01", "pc-keiri02");
            copy.replace(host.value("address").toString().toUtf8(), "10.77.1.150");
            copy.replace("urn:uuid:", "urn:uuid:0");
            changed.append(QJsonDocument::fromJson(copy).object());
        }
    }
    root["hosts"] = changed;
    QJsonObject local = root.value("localMachine").toObject();
    QJsonArray neighbours;
    for (const QJsonValue& neighbour : local.value("neighbours").toArray())
        if (neighbour.toObject().value("address").toString() != "10.77.1.105")
            neighbours.append(neighbour);
    neighbours.append(QJsonObject{{"address", "10.77.1.150"}, {"mac", "00-15-5D-4D-01-50"}});
    local["neighbours"] = neighbours;
    root["localMachine"] = local;
    return QJsonDocument(root).toJson();
}

class DiffCommandTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_before = TestFiles::scratchPath("diff-before.vxnj");
        s_after = TestFiles::scratchPath("diff-after.vxnj");
        const QString network = TestFiles::scratchPath("diff-network.json");
        TestFiles::writeAll(network, ChangedDemoNetwork());
        const Outcome first = varnex({"survey", "--network", "demo", "--wmi", "--out", s_before, "--pause", "0"});
        ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
        const Outcome second = varnex({"survey", "--network", "sim:" + network, "--wmi", "--out", s_after, "--pause", "0"});
        ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    }

    static inline QString s_before;
    static inline QString s_after;
};

TEST_F(DiffCommandTest, TwoSurveysOfAChangedNetworkShowEveryChangeAndOnlyThose)
{
    const QString csv = TestFiles::scratchPath("diff.csv");
    const QString json = TestFiles::scratchPath("diff.json");
    const QString png = TestFiles::scratchPath("diff.png");
    const QString svg = TestFiles::scratchPath("diff.svg");
    const Outcome run = varnex({"diff", s_before, s_after, "--csv", csv, "--json", json, "--png", png, "--svg", svg});
    ASSERT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(run.out,
              "new: 1, gone: 1, changed: 2\n"
              "~ tvfs01.tavrin-demo.local\n"
              "    OS version: Microsoft Windows Server 2019 Standard 10.0.17763 → "
              "Microsoft Windows Server 2022 Standard 10.0.17763\n"
              "~ pc-soumu01.tavrin-demo.local\n"
              "    software Adobe Acrobat Reader DC: 23.008.20470 → (none)\n"
              "+ pc-keiri02.tavrin-demo.local\n"
              "- pc-keiri01.tavrin-demo.local\n");

    const QStringList rows = QString::fromUtf8(TestFiles::readAll(csv).mid(3)).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows.contains("pc-keiri01.tavrin-demo.local,host,device,pc-keiri01.tavrin-demo.local,"));
    const QJsonObject counts = QJsonDocument::fromJson(TestFiles::readAll(json)).object()["counts"].toObject();
    EXPECT_EQ(counts["changed"].toInt(), 2);
    EXPECT_FALSE(QImage(png).isNull());
    EXPECT_TRUE(TestFiles::readAll(svg).contains("<svg"));
}

TEST_F(DiffCommandTest, ExitsAsDiffDoes)
{
    const Outcome same = varnex({"diff", s_before, s_before});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "new: 0, gone: 0, changed: 0\n");
    const Outcome missing = varnex({"diff", s_before, TestFiles::scratchPath("no-such-map.vxnj")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.startsWith("varnex: cannot open")) << missing.err.toStdString();
    EXPECT_EQ(varnex({"diff", s_before}).exitCode, 2);
    EXPECT_EQ(varnex({"diff", s_before, s_after, "--csv", "/nonexistent/dir/x.csv"}).exitCode, 2);
}

TEST(DiffPicture, AGoneDeviceBeyondTheLaterMapsPagesIsStillDrawn)
{
    CNetDoc earlier;
    earlier.m_bSnapshotsWanted = false;
    earlier.OnNewDocument();
    auto* far = new CDrawSys(Rect{40000, 100, 40140, 280});
    far->m_strFqdn = QStringLiteral("far.example.local");
    earlier.AddObject(far);
    CNetDoc later;
    later.m_bSnapshotsWanted = false;
    later.OnNewDocument();
    const ChangeOverlay overlay(MapComparison::Compare(earlier, later));
    const QImage plain = MapRenderer::render(later);
    const QImage marked = MapRenderer::render(later, MapRenderer::kDefaultDpi, &overlay);
    // The box stands 4 m from the left (map units are 0.1 mm): far beyond
    // the empty later map's one page.
    EXPECT_GT(marked.width(), plain.width());
    EXPECT_GE(marked.width(), qRound(40140 * 96 / 254.0));
}

} // namespace
