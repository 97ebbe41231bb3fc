#include "MapBuildTesting.h"
#include "mapbuild/MapConstruction.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawText.h"

#include <gtest/gtest.h>

namespace {

using namespace MapBuildTesting;

constexpr quint32 kAutomatic = 2;
constexpr quint32 kRouterShape = 0;
constexpr quint32 kServerShape = 1;

const QString kWaiting = QStringLiteral("デフォルトゲートウェイ識別のため応答を待っています。");
const QString kAddingNic
    = QStringLiteral("調査で見えなかったルーティングを行っているホストにNICの追加しています。");
const QString kMakingRouter = QStringLiteral("ルーターを作成しています。");

class GatewayHandlingTest : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    CDrawSys* host(const QString& name, quint32 address, quint32 gateway)
    {
        doc.m_survey.DomainOfHost.insert("\\\\" + name.section('.', 0, 0).toUpper(), "CORP");
        return addHost(doc, {"\\\\" + name.section('.', 0, 0).toUpper(), name, {address}, gateway});
    }

    void build(quint32 shape)
    {
        doc.m_survey.GatewayShape = shape;
        MapConstruction::MakeDomain(doc, [this](const QString& line) { status << line; });
    }

    // Systems the gateway handling made: they have no UNC name.
    QList<CDrawSys*> madeSystems() const
    {
        QList<CDrawSys*> made;
        for (CDrawSys* system : objectsOf<CDrawSys>(doc)) {
            if (system->m_strUncName.isEmpty() && !system->m_pOwnerSys)
                made.append(system);
        }
        return made;
    }

    static CDrawNic* nicAt(const CDrawSys* system, int i)
    {
        return static_cast<CDrawNic*>(system->m_nics.at(i));
    }

    static const CDrawText* labelOf(const CDrawNic* nic)
    {
        return static_cast<const CDrawText*>(nic->m_nicLabels.first());
    }

    CNetDoc doc;
    QStringList status;
};

TEST_F(GatewayHandlingTest, WorkedExampleOfAnUnknownGatewayWithExternalAddress)
{
    CDrawSys* pc1 = host("pc1.corp.example", ip("192.168.1.10"), ip("192.168.1.1"));
    doc.m_survey.GatewayInfoLines = {"Broadband router", "firmware 2"};
    doc.m_survey.GatewayExternalAddress = ip("203.0.113.5");
    doc.m_survey.GatewayExternalAddressText = "203.0.113.5";
    doc.m_survey.ArpTable.insert("192.168.1.1", "aa-bb-cc-dd-ee-ff");
    build(kAutomatic);

    EXPECT_TRUE(status.contains(kWaiting));
    EXPECT_FALSE(status.contains(kAddingNic));
    EXPECT_LT(status.indexOf(kWaiting), status.indexOf(kMakingRouter));
    ASSERT_EQ(madeSystems().size(), 1);
    CDrawSys* router = madeSystems().first();
    EXPECT_EQ(router->m_nTypeCode, CDrawSys::kRouter);
    EXPECT_EQ(router->m_strFqdn, "router.corp.example");
    EXPECT_EQ(doc.m_survey.GatewayHostName, "router.corp.example");
    EXPECT_EQ(static_cast<CDrawText*>(router->m_labels.first())->m_astrLines,
              (QStringList{"router.corp.example", "Broadband router", "firmware 2"}));
    ASSERT_EQ(router->m_nics.size(), 2);
    const CDrawNic* inner = nicAt(router, 0);
    const CDrawNic* external = nicAt(router, 1);
    EXPECT_EQ(inner->m_adwAddresses, QList<quint32>{ip("192.168.1.1")});
    EXPECT_EQ(inner->m_strMac, "aa-bb-cc-dd-ee-ff");
    EXPECT_EQ(labelOf(inner)->m_nPosition, CDrawText::leftOf);
    EXPECT_TRUE(external->m_adwAddresses.isEmpty());
    EXPECT_EQ(labelOf(external)->m_astrLines, (QStringList{"External IP Address", "203.0.113.5"}));
    EXPECT_EQ(labelOf(external)->m_nPosition, CDrawText::above);
    EXPECT_EQ(doc.m_survey.DomainOfHost.value("\\\\router"), "corp");
    // The router's domain and the renamed CORP carry the same DNS name.
    EXPECT_EQ(domainNames(doc).count("corp.example"), 2);
    EXPECT_EQ(router->m_strName, "corp.example");
    // The computer is connected to the router.
    const QList<CDrawConnect*> connections = objectsOf<CDrawConnect>(doc);
    ASSERT_EQ(connections.size(), 1);
    EXPECT_EQ(connections.first()->m_pFromSys, pc1);
    EXPECT_EQ(connections.first()->m_pToSys, router);
}

TEST_F(GatewayHandlingTest, GatewayOfASurveyedComputerByShape)
{
    struct Case {
        quint32 shape;
        int gatewayType;
    };
    const Case cases[] = {{kAutomatic, CDrawSys::kTower},
                          {kRouterShape, CDrawSys::kRouter},
                          {kServerShape, CDrawSys::kTower}};
    for (const Case& c : cases) {
        CNetDoc d;
        d.m_survey.GatewayShape = c.shape;
        CDrawSys* gw = addHost(d, {"\\\\GW", "gw.corp.example", {ip("10.0.0.1")}});
        gw->SetShapeKind(CDrawSys::kDesktop + 1);
        addHost(d, {"\\\\PC1", "pc1.corp.example", {ip("10.0.0.5")}, ip("10.0.0.1")});
        // An adapter without a gateway has its own address as one: no router.
        CDrawSys* loner = addHost(d, {"\\\\PC2", "pc2.corp.example", {ip("10.0.0.6")}});
        MapConstruction::MakeDomain(d, {});
        EXPECT_EQ(gw->m_nTypeCode, c.shape == kAutomatic ? CDrawSys::kDesktop : c.gatewayType)
            << c.shape;
        EXPECT_EQ(loner->m_nTypeCode, CDrawSys::kTower) << c.shape;
        EXPECT_EQ(gw->m_nics.size(), 1) << c.shape;
        EXPECT_TRUE(d.m_survey.GatewayHostName.isEmpty()) << c.shape;
    }
}

TEST_F(GatewayHandlingTest, OneRouterServesEveryUnknownGateway)
{
    host("pc1.corp.example", ip("192.168.1.10"), ip("192.168.1.1"));
    host("pc2.corp.example", ip("192.168.1.11"), ip("192.168.1.1"));
    host("pc3.corp.example", ip("192.168.2.10"), ip("192.168.2.1"));
    build(kAutomatic);

    ASSERT_EQ(madeSystems().size(), 1);
    const CDrawSys* router = madeSystems().first();
    ASSERT_EQ(router->m_nics.size(), 2);
    EXPECT_EQ(nicAt(router, 0)->m_adwAddresses, QList<quint32>{ip("192.168.1.1")});
    EXPECT_EQ(labelOf(nicAt(router, 0))->m_nPosition, CDrawText::above);
    // The second address finds the router by its name.
    EXPECT_EQ(nicAt(router, 1)->m_adwAddresses, QList<quint32>{ip("192.168.2.1")});
    EXPECT_EQ(labelOf(nicAt(router, 1))->m_nPosition, CDrawText::leftOf);
    EXPECT_EQ(status.count(kMakingRouter), 1);
    EXPECT_EQ(status.count(kAddingNic), 1);
}

TEST_F(GatewayHandlingTest, HostBearingTheGatewayNameGetsTheAddress)
{
    CDrawSys* gw = host("fw.corp.example", ip("10.0.0.2"), 0);
    host("pc1.corp.example", ip("10.0.0.5"), ip("10.0.0.1"));
    doc.m_survey.GatewayHostName = "FW.corp.example";
    build(kAutomatic);

    EXPECT_TRUE(madeSystems().isEmpty());
    ASSERT_EQ(gw->m_nics.size(), 2);
    EXPECT_EQ(nicAt(gw, 1)->m_adwAddresses, QList<quint32>{ip("10.0.0.1")});
    EXPECT_EQ(labelOf(nicAt(gw, 1))->m_nPosition, CDrawText::leftOf);
    EXPECT_TRUE(status.contains(kAddingNic));
}

TEST_F(GatewayHandlingTest, RouterAndServerShapesMakeTheirOwnGatewaySystem)
{
    struct Case {
        quint32 shape;
        int type;
    };
    for (const Case& c : {Case{kRouterShape, CDrawSys::kRouter}, Case{kServerShape, CDrawSys::kTower}}) {
        CNetDoc d;
        d.m_survey.GatewayShape = c.shape;
        d.m_survey.GatewayExternalAddress = ip("203.0.113.5");
        QStringList lines;
        addHost(d, {"\\\\PC1", "pc1.corp.example", {ip("10.0.0.5")}, ip("10.0.0.1")});
        MapConstruction::MakeDomain(d, [&lines](const QString& line) { lines << line; });
        CDrawSys* made = systemNamed(d, "router.corp.example");
        ASSERT_TRUE(made) << c.shape;
        EXPECT_EQ(made->m_nTypeCode, c.type);
        ASSERT_EQ(made->m_nics.size(), 1) << "no external interface";
        EXPECT_EQ(labelOf(nicAt(made, 0))->m_nPosition, CDrawText::above);
        EXPECT_FALSE(lines.contains(kWaiting));
        EXPECT_FALSE(lines.contains(kMakingRouter));
    }
}

TEST_F(GatewayHandlingTest, OwnerWithoutDotNamesTheRouter)
{
    addHost(doc, {"\\\\PC1", "PC1", {ip("10.0.0.5")}, ip("10.0.0.1")});
    build(kAutomatic);

    CDrawSys* router = systemNamed(doc, "router.PC1");
    ASSERT_TRUE(router);
    EXPECT_EQ(router->m_strName, "PC1");
    ASSERT_TRUE(doc.m_survey.DomainOfHost.contains("\\\\router"));
    EXPECT_EQ(doc.m_survey.DomainOfHost.value("\\\\router"), "");
    // The router alone makes a domain and the forest.
    EXPECT_EQ(domainNames(doc), (QStringList{"FOREST_TREE_TAVRIN", "PC1"}));
}

} // namespace
