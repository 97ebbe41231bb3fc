#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "document/DocumentDump.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawText.h"
#include "objects/NeighbourLookup.h"
#include "objects/MapObjectTesting.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

using MapObjectTesting::ip;

class InterfaceTest : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    CDrawSys* system(const Rect& r)
    {
        auto* s = new CDrawSys(r);
        doc.AddObject(s);
        return s;
    }

    CDrawNic* nic(CDrawSys* owner, const QList<quint32>& addresses, quint32 gateway = 0)
    {
        auto* n = new CDrawNic(Rect{});
        doc.AddObject(n);
        n->SetOwner(owner);
        n->m_dwGateway = gateway;
        n->SetAddresses(addresses);
        owner->m_nics.append(n);
        return n;
    }

    CDrawConnect* connectFrom(CDrawNic* from)
    {
        auto* c = new CDrawConnect(Rect{});
        doc.AddObject(c);
        c->SetOwner(from);
        from->m_connections.append(c);
        return c;
    }

    CNetDoc doc;
};

TEST_F(InterfaceTest, LabelSizeWithoutADeviceContext)
{
    CDrawSys* owner = system(Rect{0, 0, 100, 80});
    CDrawText label(Rect{});
    label.SetOwner(owner);
    EXPECT_EQ(label.SetLines({"12345", "123456789012"}, 12), (Rect{-34, 90, 134, 148}));
    EXPECT_EQ(label.m_position.width(), 168);
    EXPECT_EQ(label.m_position.height(), 58);
    EXPECT_EQ(label.m_nPosition, CDrawText::below);
    // Japanese characters count twice.
    label.SetLines({QStringLiteral("サーバ")}, 0);
    EXPECT_EQ(label.m_position.width(), 14 * 6);
    EXPECT_EQ(label.SetLines({}, 12), Rect{});
}

TEST_F(InterfaceTest, LabelPositionCodes)
{
    CDrawSys* owner = system(Rect{0, 0, 100, 80});
    struct Case {
        int request;
        qint32 position;
        Rect placed; // 5 bytes at height 24: 60 by 25
    };
    const Case cases[] = {
        {11, CDrawText::above, {20, -35, 80, -10}},
        {12, CDrawText::below, {20, 90, 80, 115}},
        {13, CDrawText::rightOf, {110, 0, 170, 25}},
        {14, CDrawText::leftOf, {-70, 0, -10, 25}},
    };
    for (const Case& c : cases) {
        CDrawText label(Rect{});
        label.m_logfont.bytes[0] = 24;
        label.SetOwner(owner);
        EXPECT_EQ(label.SetLines({"abcde"}, c.request), c.placed) << c.request;
        EXPECT_EQ(label.m_nPosition, c.position);
        EXPECT_EQ(label.m_rcExtent, c.placed);
    }
}

TEST_F(InterfaceTest, LabelKeepsItsOffsetWhenTheSystemMoves)
{
    CDrawSys* owner = system(Rect{0, 0, 100, 80});
    auto* label = new CDrawText(Rect{});
    doc.AddObject(label);
    label->SetOwner(owner);
    owner->m_labels.append(label);
    label->SetLines({"host"}, 13);
    label->MoveTo(label->m_position.translated(5, 7), nullptr);
    owner->m_position = Rect{1000, 1000, 1100, 1080};
    EXPECT_EQ(label->Relayout(nullptr).left, 1000 + 110 + 5);
    EXPECT_EQ(label->m_position.top, 1000 + 7);

    CNetDoc loaded;
    loaded.LoadContents(doc.SaveContents());
    auto* again = static_cast<CDrawText*>(loaded.m_objects.at(1));
    EXPECT_EQ(again->m_nMoveX, 115);
    EXPECT_EQ(again->m_nMoveY, 7);
    EXPECT_EQ(again->GetOwner(), loaded.m_objects.at(0));
}

TEST_F(InterfaceTest, InterfaceLabelsFollowTheAdapterCount)
{
    EXPECT_EQ(CDrawNic::PlacementRequestFor(0), 11);
    EXPECT_EQ(CDrawNic::PlacementRequestFor(1), 14);
    EXPECT_EQ(CDrawNic::PlacementRequestFor(2), 12);
    EXPECT_EQ(CDrawNic::PlacementRequestFor(3), 13);
    EXPECT_EQ(CDrawNic::PlacementRequestFor(5), 12);
    EXPECT_EQ(CDrawNic::PlacementRequestFor(6), 11);

    CDrawSys* owner = system(Rect{0, 0, 100, 80});
    QList<qint32> positions;
    for (int i = 0; i < 4; ++i) {
        CDrawNic* n = nic(owner, {ip("10.77.0.1") + quint32(i << 24)});
        positions.append(static_cast<CDrawText*>(n->m_nicLabels.at(0))->m_nPosition);
    }
    EXPECT_EQ(positions, (QList<qint32>{10, 13, 11, 12}));
}

TEST_F(InterfaceTest, AddressLabelShowsMacAndAdapterButNotThePlaceholder)
{
    CDrawSys* owner = system(Rect{0, 0, 100, 80});
    owner->m_mapIpToMac.insert(ip("10.77.0.5"), "00-11-22-33-44-55");
    owner->m_mapIpToMac.insert(ip("10.77.0.6"), "No-Ad-1");
    owner->m_astrMacLines = {"00-11-22-33-44-55//Intel Ethernet"};

    CDrawNic* known = nic(owner, {ip("10.77.1.9"), ip("10.77.0.5")});
    EXPECT_EQ(static_cast<CDrawText*>(known->m_nicLabels.at(0))->m_astrLines,
              (QStringList{"10.77.1.9", "10.77.0.5", "00-11-22-33-44-55", "Intel Ethernet"}));
    CDrawNic* placeholder = nic(owner, {ip("10.77.0.6")});
    EXPECT_EQ(static_cast<CDrawText*>(placeholder->m_nicLabels.at(0))->m_astrLines,
              QStringList{"10.77.0.6"});
    EXPECT_EQ(placeholder->m_strMac, "No-Ad-1");
    EXPECT_EQ(known->GetAddressAt(1), ip("10.77.0.5"));
    EXPECT_THROW(known->GetAddressAt(2), ArchiveException);

    known->m_adwAddresses = {ip("10.77.2.2")};
    known->RebuildLabel();
    EXPECT_EQ(static_cast<CDrawText*>(known->m_nicLabels.at(0))->m_astrLines,
              (QStringList{"10.77.2.2", "00-11-22-33-44-55"}));
}

class FixedNeighbours : public NeighbourLookup {
public:
    std::optional<QString> hardwareAddress(quint32 address) const override
    {
        if (address == ip("10.77.0.1"))
            return QStringLiteral("aa-bb-cc-dd-ee-ff");
        return std::nullopt;
    }
};

TEST_F(InterfaceTest, GatewayLabelAsksTheNeighbourTable)
{
    CDrawSys* router = system(Rect{0, 0, 78, 52});
    auto* n = new CDrawNic(Rect{});
    doc.AddObject(n);
    n->SetOwner(router);
    const FixedNeighbours neighbours;
    n->SetAddressesWithArp({ip("10.77.0.1")}, 11, &neighbours);
    EXPECT_EQ(n->m_strMac, "aa-bb-cc-dd-ee-ff");
    EXPECT_EQ(static_cast<CDrawText*>(n->m_nicLabels.at(0))->m_astrLines,
              (QStringList{"10.77.0.1", "aa-bb-cc-dd-ee-ff"}));
}

TEST_F(InterfaceTest, RoutesFollowTheQuadrant)
{
    struct Case {
        const char* name;
        Rect far;
        Point start, bend1, bend2, end;
    };
    // The near system at (1000, 1000, 1100, 1100), centre (1050, 1050).
    const Case cases[] = {
        {"same x", {1000, 3000, 1100, 3100}, {1050, 1050}, {1050, 1050}, {1050, 3050}, {1050, 3050}},
        {"far lower left", {0, 2000, 100, 2100}, {1050, 1100}, {1050, 1550}, {50, 1550}, {50, 2000}},
        {"far upper right", {2000, 0, 2100, 100}, {1050, 1000}, {1050, 550}, {2050, 550}, {2050, 100}},
    };
    for (const Case& c : cases) {
        CNetDoc map;
        auto* near = new CDrawSys(Rect{1000, 1000, 1100, 1100});
        auto* far = new CDrawSys(c.far);
        map.AddObject(near);
        map.AddObject(far);
        auto* from = new CDrawNic(Rect{});
        auto* to = new CDrawNic(Rect{});
        from->SetOwner(near);
        to->SetOwner(far);
        auto* connection = new CDrawConnect(Rect{});
        connection->SetOwner(from);
        connection->m_pToNic = to;
        EXPECT_EQ(connection->Route(), 1);
        EXPECT_EQ(connection->m_ptStart, c.start) << c.name;
        EXPECT_EQ(connection->m_ptBend1, c.bend1) << c.name;
        EXPECT_EQ(connection->m_ptBend2, c.bend2) << c.name;
        EXPECT_EQ(connection->m_ptEnd, c.end) << c.name;
        EXPECT_EQ(connection->m_pToSys, far);
        EXPECT_EQ(connection->m_conectOld, c.far);
        const Rect route = connection->m_position;
        EXPECT_EQ(connection->m_rcExtent,
                  (Rect{route.left - 10, route.top - 10, route.right + 10, route.bottom + 10}))
            << c.name;
        EXPECT_TRUE(connection->m_branchPoints.isEmpty());
        delete connection;
        delete from;
        delete to;
    }
}

TEST_F(InterfaceTest, DraggedSystemKeepsTheMiddleHeight)
{
    CDrawSys* near = system(Rect{1000, 1000, 1100, 1100});
    CDrawSys* far = system(Rect{0, 2000, 100, 2100});
    CDrawNic* from = nic(near, {});
    CDrawNic* to = nic(far, {});
    CDrawConnect* connection = connectFrom(from);
    connection->m_pToNic = to;
    connection->Route();
    near->m_nLastHandle = 6;
    near->m_position = Rect{1200, 1000, 1300, 1100};
    connection->Route();
    EXPECT_EQ(connection->m_ptBend1, (Point{1250, 1550}));
    EXPECT_EQ(connection->m_ptBend2, (Point{50, 1550}));
}

TEST_F(InterfaceTest, BranchLinesReachHangingSystems)
{
    CDrawSys* host = system(Rect{1000, 1000, 1100, 1100});
    CDrawSys* printer = system(Rect{1300, 1300, 1400, 1400});
    host->m_subSystems.append(printer);
    printer->SetOwner(host);
    CDrawNic* from = nic(host, {});
    CDrawConnect* connection = connectFrom(from);
    connection->Route();
    EXPECT_EQ(connection->m_branchPoints,
              (QList<Point>{{1050, 1050}, {1050, 1200}, {1350, 1200}, {1350, 1300}}));
    EXPECT_GE(connection->m_position.right, 1355);
}

TEST_F(InterfaceTest, AttachToGatewayEndsAtTheHolderOfTheFirstGateway)
{
    CDrawSys* pc = system(Rect{0, 1000, 100, 1100});
    CDrawSys* router = system(Rect{0, 0, 78, 52});
    CDrawNic* pcNic = nic(pc, {ip("10.77.0.20")}, ip("10.77.0.1"));
    CDrawNic* routerNic = nic(router, {ip("10.77.0.1")});
    CDrawConnect* connection = connectFrom(pcNic);
    EXPECT_EQ(connection->AttachToGateway(), 1);
    EXPECT_EQ(connection->m_pToNic, routerNic);
    EXPECT_EQ(routerNic->m_incoming, QList<CDrawObj*>{connection});
    EXPECT_EQ(doc.m_objects.first(), connection);

    CNetDoc empty;
    auto* lonely = new CDrawConnect(Rect{});
    empty.AddObject(lonely);
    EXPECT_EQ(lonely->AttachToGateway(), 0);
}

TEST_F(InterfaceTest, DeletingAnInterfaceTakesItsConnectionsAndLabels)
{
    CDrawSys* pc = system(Rect{0, 1000, 100, 1100});
    CDrawSys* router = system(Rect{0, 0, 78, 52});
    CDrawNic* pcNic = nic(pc, {ip("10.77.0.20")}, ip("10.77.0.1"));
    CDrawNic* routerNic = nic(router, {ip("10.77.0.1")});
    connectFrom(pcNic)->AttachToGateway();
    ASSERT_EQ(doc.m_objects.size(), 7);

    doc.RemoveObject(routerNic, nullptr);
    routerNic->Remove();
    // Left: the two systems, the PC's interface and its label.
    EXPECT_EQ(doc.m_objects.size(), 4);
    EXPECT_TRUE(pcNic->m_connections.isEmpty());
    EXPECT_TRUE(router->m_nics.isEmpty());
}

TEST_F(InterfaceTest, AMapOfEveryKindSavesAndLoadsIdentically)
{
    CDrawSys* pc = system(Rect{0, 1000, 100, 1100});
    CDrawSys* router = system(Rect{0, 0, 78, 52});
    CDrawSys* printer = system(Rect{300, 1000, 400, 1100});
    printer->SetOwner(pc);
    pc->m_subSystems.append(printer);
    CDrawNic* pcNic = nic(pc, {ip("10.77.0.20")}, ip("10.77.0.1"));
    pcNic->Ipv6Addresses() = {"fe80::1"};
    nic(router, {ip("10.77.0.1")});
    connectFrom(pcNic)->AttachToGateway();
    auto* label = new CDrawText(Rect{});
    doc.AddObject(label);
    label->SetOwner(pc);
    label->SetLines({QStringLiteral("pc1.example.local"), QStringLiteral("経理部")}, 12);
    pc->m_labels.append(label);

    const QByteArray saved = doc.SaveContents();
    CNetDoc loaded;
    loaded.LoadContents(saved);
    EXPECT_EQ(loaded.SaveContents(), saved);
    EXPECT_EQ(QJsonDocument(DocumentDump::toJson(loaded)).toJson(),
              QJsonDocument(DocumentDump::toJson(doc)).toJson());
    auto* connection = static_cast<CDrawConnect*>(loaded.m_objects.first());
    ASSERT_TRUE(connection->IsConnection());
    EXPECT_EQ(connection->m_pFromSys, loaded.m_objects.at(1));
    EXPECT_EQ(connection->m_pToNic->m_incoming.first(), connection);
}

} // namespace
