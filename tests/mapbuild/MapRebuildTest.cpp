#include "MapBuildTesting.h"
#include "mapbuild/MapConstruction.h"
#include "mapbuild/MapRebuild.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawRect.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawText.h"

#include <gtest/gtest.h>

namespace {

using namespace MapBuildTesting;

class MapRebuildTest : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    // Two workgroups behind two routers; PC1 shares a printer.
    void buildTwoNetworks()
    {
        doc.m_survey.GatewayShape = 0;
        for (int i = 1; i <= 6; ++i) {
            const QString unc = QStringLiteral("\\\\PC%1").arg(i);
            const quint32 net = i <= 3 ? 1 : 2;
            doc.m_survey.DomainOfHost.insert(unc, i <= 3 ? "CORP" : "SALES");
            addHost(doc, {unc, QStringLiteral("pc%1.corp.example").arg(i),
                          {ip("192.168.0.0") + (net << 16) + (quint32(10 + i) << 24)},
                          ip("192.168.0.1") + (net << 16)});
        }
        addHost(doc, {"\\\\GW1", "gw1.corp.example", {ip("192.168.1.1")}});
        addHost(doc, {"\\\\GW2", "gw2.corp.example", {ip("192.168.2.1")}});
        systemNamed(doc, "pc1.corp.example")->m_astrSharedPrinters << "\\\\PC1\\laser";
        MapConstruction::MakeDomain(doc, {});
    }

    QList<CDrawSys*> systems() const { return objectsOf<CDrawSys>(doc); }

    CNetDoc doc;
};

TEST_F(MapRebuildTest, CommandsNeedASystemAndNoSurvey)
{
    CDrawSys system;
    CDrawText label;
    CDrawNic nic;
    CDrawConnect connection;
    CDrawRect rect;
    struct Case {
        bool surveyRunning;
        QList<CDrawObj*> objects;
        bool enabled;
    };
    const Case cases[] = {
        {false, {}, false},
        {false, {&label, &nic, &connection, &rect}, false},
        {false, {&label, &system}, true},
        {true, {&system}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MapRebuild::CommandsEnabled(c.surveyRunning, c.objects), c.enabled);
}

TEST_F(MapRebuildTest, EachInterfaceIsWiredToItsOwnGateway)
{
    buildTwoNetworks();
    CDrawSys* gw1 = systemNamed(doc, "gw1.corp.example");
    CDrawSys* gw2 = systemNamed(doc, "gw2.corp.example");
    EXPECT_EQ(gw1->m_nTypeCode, CDrawSys::kRouter);
    const QList<CDrawConnect*> connections = objectsOf<CDrawConnect>(doc);
    ASSERT_EQ(connections.size(), 6);
    for (const CDrawConnect* c : connections) {
        EXPECT_EQ(c->m_pToNic->m_adwAddresses.first(), c->m_pFromNic->m_dwGateway);
        EXPECT_EQ(c->m_pToSys, c->m_pFromSys->m_strFqdn < "pc4" ? gw1 : gw2);
        EXPECT_TRUE(c->m_pToNic->m_incoming.contains(c));
    }
}

TEST_F(MapRebuildTest, RewiringTwiceEqualsRewiringOnce)
{
    buildTwoNetworks();
    const qsizetype connections = objectsOf<CDrawConnect>(doc).size();
    MapRebuild::Rewire(doc);
    const QByteArray once = doc.SaveContents();
    MapRebuild::Rewire(doc);
    EXPECT_EQ(doc.SaveContents(), once);
    EXPECT_EQ(objectsOf<CDrawConnect>(doc).size(), connections);
}

TEST_F(MapRebuildTest, NoGatewayNoConnection)
{
    addHost(doc, {"\\\\PC1", "pc1", {ip("10.0.0.1")}});
    addHost(doc, {"\\\\PC2", "pc2", {ip("10.0.0.2")}});
    doc.m_survey.DomainOfHost.insert("\\\\PC1", "CORP");
    MapConstruction::MakeDomain(doc, {});
    MapRebuild::Rewire(doc);
    EXPECT_TRUE(objectsOf<CDrawConnect>(doc).isEmpty());
}

TEST_F(MapRebuildTest, RegroupPutsClassesInDrawingOrder)
{
    buildTwoNetworks();
    auto* drawing = new CDrawRect(Rect{0, 0, 10, 10});
    doc.m_objects.prepend(drawing);
    drawing->m_pDocument = &doc;
    MapRebuild::Rewire(doc);

    const QList<const ClassInfo*> order{
        &CDrawDomain::StaticClass(), &CDrawConnect::StaticClass(), &CDrawSegment::StaticClass(),
        &CDrawSys::StaticClass(),    &CDrawNic::StaticClass(),     &CDrawText::StaticClass(),
        &CDrawRect::StaticClass()};
    qsizetype rank = 0;
    for (const CDrawObj* object : doc.m_objects) {
        const qsizetype own = order.indexOf(&object->GetRuntimeClass());
        ASSERT_GE(own, rank) << object->GetRuntimeClass().name;
        rank = own;
    }
    EXPECT_EQ(doc.m_objects.last(), drawing);
}

TEST_F(MapRebuildTest, RelayoutReturnsMovedSystems)
{
    buildTwoNetworks();
    MapRebuild::Relayout(doc);
    QHash<const CDrawSys*, Rect> placed;
    for (const CDrawSys* system : systems())
        placed.insert(system, system->m_position);

    CDrawSys* pc1 = systemNamed(doc, "pc1.corp.example");
    pc1->MoveTo(pc1->m_position.translated(900, 400), nullptr);
    systemNamed(doc, "pc5.corp.example")->MoveTo(Rect{-50, -50, 90, 130}, nullptr);
    MapRebuild::Relayout(doc);

    for (const CDrawSys* system : systems())
        EXPECT_EQ(system->m_position, placed.value(system)) << system->m_strFqdn.toStdString();
}

TEST_F(MapRebuildTest, RelayoutKeepsTheOffsetOfAMovedPrinter)
{
    buildTwoNetworks();
    CDrawSys* pc1 = systemNamed(doc, "pc1.corp.example");
    auto* printer = static_cast<CDrawSys*>(pc1->m_subSystems.first());
    const Point offset{printer->m_position.left - pc1->m_position.left,
                       printer->m_position.top - pc1->m_position.top};
    printer->MoveTo(printer->m_position.translated(300, -120), nullptr);
    MapRebuild::Relayout(doc);

    EXPECT_EQ(printer->m_position.left - pc1->m_position.left, offset.x + 300);
    EXPECT_EQ(printer->m_position.top - pc1->m_position.top, offset.y - 120);
    // The host's extent takes the printer in where it now stands.
    EXPECT_EQ(pc1->m_rcExtent.united(printer->m_rcExtent), pc1->m_rcExtent);
}

TEST_F(MapRebuildTest, RelayoutOfTheFreshMapKeepsItAsBuilt)
{
    buildTwoNetworks();
    QHash<const CDrawSys*, Rect> built;
    for (const CDrawSys* system : systems())
        built.insert(system, system->m_position);
    MapRebuild::Relayout(doc);
    for (const CDrawSys* system : systems())
        EXPECT_EQ(system->m_position, built.value(system)) << system->m_strFqdn.toStdString();
    const QByteArray once = doc.SaveContents();
    MapRebuild::Relayout(doc);
    EXPECT_EQ(doc.SaveContents(), once);
}

TEST_F(MapRebuildTest, WithoutForestOnlyTheOrderChanges)
{
    auto* drawing = new CDrawRect(Rect{0, 0, 10, 10});
    doc.AddObject(drawing);
    CDrawSys* pc = addHost(doc, {"\\\\PC1", "pc1", {ip("10.0.0.5")}, ip("10.0.0.1")});
    pc->MoveTo(Rect{500, 500, 640, 680}, nullptr);
    MapRebuild::Relayout(doc);
    EXPECT_EQ(pc->m_position, (Rect{500, 500, 640, 680}));
    EXPECT_TRUE(objectsOf<CDrawConnect>(doc).isEmpty());
    EXPECT_EQ(doc.m_objects.last(), drawing);
}

TEST_F(MapRebuildTest, CommandsTakeSnapshotsAndMarkTheDocument)
{
    buildTwoNetworks();
    doc.SetModifiedFlag(false);
    const int before = doc.m_nSnapshot;
    MapRebuild::Relayout(doc);
    EXPECT_EQ(doc.m_nSnapshot, before + 2);
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    MapRebuild::Rewire(doc);
    EXPECT_EQ(doc.m_nSnapshot, before + 3);
    EXPECT_TRUE(doc.IsModified());
}

} // namespace
