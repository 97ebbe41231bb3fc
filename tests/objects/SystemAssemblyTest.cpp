#include "document/CNetDoc.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawText.h"
#include "objects/MapObjectTesting.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

using MapObjectTesting::ip;

class SystemAssemblyTest : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    CDrawSys* system(int kind)
    {
        auto* s = new CDrawSys(Rect{});
        doc.AddObject(s);
        s->SetShapeKind(kind);
        return s;
    }

    CNetDoc doc;
};

TEST_F(SystemAssemblyTest, InterfacesComeFromTheAdapterLists)
{
    CDrawSys* pc = system(7);
    pc->AddAdapterAddresses({ip("10.77.0.5")});
    pc->AddAdapterAddresses({ip("10.78.0.5"), ip("10.78.0.6")});
    pc->SetMasks({ip("255.255.255.0"), ip("255.255.0.0")});
    pc->SetGateways({ip("10.77.0.1")});
    pc->SetAdapterValues(3, {0, 33});
    pc->m_mapIpToMac.insert(ip("10.78.0.6"), "00-aa-bb-cc-dd-ee");
    pc->BuildInterfaces();

    ASSERT_EQ(pc->m_nics.size(), 2);
    auto* first = static_cast<CDrawNic*>(pc->m_nics.at(0));
    auto* second = static_cast<CDrawNic*>(pc->m_nics.at(1));
    EXPECT_EQ(first->m_pNicOwner, pc);
    EXPECT_EQ(first->m_dwGateway, ip("10.77.0.1"));
    EXPECT_EQ(second->m_dwGateway, 0u);
    EXPECT_EQ(second->m_dwMask, ip("255.255.0.0"));
    EXPECT_EQ(second->m_adwAdapterValue[1], 33u);
    EXPECT_EQ(second->m_strMac, "00-aa-bb-cc-dd-ee");
    EXPECT_EQ(static_cast<CDrawText*>(second->m_nicLabels.at(0))->m_nPosition, CDrawText::leftOf);
    EXPECT_TRUE(doc.m_objects.contains(second->m_nicLabels.at(0)));
    // The system's extent takes in its interfaces' labels.
    EXPECT_LT(pc->m_rcExtent.left, pc->m_position.left);
    EXPECT_EQ(pc->AttachedObjects().size(), 2);
}

TEST_F(SystemAssemblyTest, Ipv6AddressesJoinTheInterfaceWithTheirMac)
{
    CDrawSys* pc = system(7);
    pc->AddAdapterAddresses({ip("10.77.0.5")});
    pc->m_mapIpToMac.insert(ip("10.77.0.5"), "00-AA-BB-CC-DD-EE");
    pc->BuildInterfaces();
    pc->AddIpv6Address("fe80::2aa:bbff:fecc:ddee", "00-aa-bb-cc-dd-ee");
    ASSERT_EQ(pc->m_nics.size(), 1);
    auto* nic = static_cast<CDrawNic*>(pc->m_nics.at(0));
    EXPECT_EQ(nic->GetFirstIpv6Address(), "fe80::2aa:bbff:fecc:ddee");
    EXPECT_TRUE(static_cast<CDrawText*>(nic->m_nicLabels.at(0))->m_astrLines.contains(
        "fe80::2aa:bbff:fecc:ddee"));

    pc->AddIpv6Address("fe80::1", "11-22-33-44-55-66");
    ASSERT_EQ(pc->m_nics.size(), 2);
    auto* added = static_cast<CDrawNic*>(pc->m_nics.at(1));
    EXPECT_EQ(added->m_strMac, "11-22-33-44-55-66");
    EXPECT_EQ(static_cast<CDrawText*>(added->m_nicLabels.at(0))->m_astrLines,
              (QStringList{"fe80::1", "11-22-33-44-55-66"}));
}

TEST_F(SystemAssemblyTest, HostNameLabelSitsBelowTheSystem)
{
    CDrawSys* pc = system(7);
    pc->SetFqdn("pc1.example.local");
    ASSERT_EQ(pc->m_labels.size(), 1);
    auto* label = static_cast<CDrawText*>(pc->m_labels.at(0));
    EXPECT_EQ(label->m_astrLines, QStringList{"pc1.example.local"});
    EXPECT_EQ(label->m_nPosition, CDrawText::below);
    EXPECT_EQ(label->m_position.top, pc->m_position.bottom + CDrawText::kGap);
    pc->SetFqdn(QString());
    EXPECT_EQ(pc->m_labels.size(), 1);
}

TEST_F(SystemAssemblyTest, ConnectAllInterfacesWiresToTheGatewayHolder)
{
    auto* forest = new CDrawDomain(Rect{});
    doc.AddObject(forest);
    CDrawSys* router = system(8);
    router->AddAdapterAddresses({ip("10.77.0.1")});
    router->BuildInterfaces();
    CDrawSys* pc = system(7);
    pc->AddAdapterAddresses({ip("10.77.0.5")});
    pc->SetGateways({ip("10.77.0.1")});
    pc->BuildInterfaces();
    forest->ConnectAllInterfaces();

    QList<CDrawConnect*> connections;
    for (CDrawObj* object : doc.m_objects) {
        if (object->IsConnection())
            connections.append(static_cast<CDrawConnect*>(object));
    }
    // Every interface is connected to the first gateway's holder.
    ASSERT_EQ(connections.size(), 2);
    for (CDrawConnect* c : connections)
        EXPECT_EQ(c->m_pToNic, router->m_nics.at(0));
    EXPECT_TRUE(doc.m_objects.first()->IsConnection());
    EXPECT_TRUE(doc.m_objects.at(1)->IsConnection());

    // Without any gateway nothing is connected, and the walk stops.
    CNetDoc bare;
    auto* root = new CDrawDomain(Rect{});
    bare.AddObject(root);
    auto* lone = new CDrawSys(Rect{0, 0, 100, 100});
    bare.AddObject(lone);
    lone->AddAdapterAddresses({ip("10.77.0.9")});
    lone->BuildInterfaces();
    const qsizetype before = bare.m_objects.size();
    root->ConnectAllInterfaces();
    EXPECT_EQ(bare.m_objects.size(), before);
}

TEST_F(SystemAssemblyTest, SystemsDrawTheirPictureAndHangingPrintersFollowTheirHost)
{
    CDrawSys* server = system(6);
    server->m_position = Rect{400, 400, 540, 580};
    CDrawSys* printer = system(10);
    printer->SetOwner(server);
    server->AddSubSystem(printer);
    printer->m_nMoveX = 300;
    printer->m_nMoveY = 80;

    QImage image(1200, 1200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    server->Draw(painter);
    printer->Draw(painter);
    painter.end();
    EXPECT_EQ(printer->m_position, (Rect{700, 480, 800, 580}));
    EXPECT_NE(image.pixelColor(470, 490), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(600, 300), QColor(Qt::white));

    CDrawSys empty(Rect{});
    QPainter again(&image);
    empty.Draw(again);
}

} // namespace
