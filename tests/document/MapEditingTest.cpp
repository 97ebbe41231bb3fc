// The structural edits of the property sheet on small maps.
#include "document/CNetDoc.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

#include <gtest/gtest.h>

namespace {

// An address in network order: the first octet in the lowest byte.
constexpr quint32 Ip(quint32 a, quint32 b, quint32 c, quint32 d)
{
    return a | b << 8 | c << 16 | d << 24;
}

const quint32 kMask24 = Ip(255, 255, 255, 0);

class MapEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        document.m_bSnapshotsWanted = false;
        document.OnNewDocument();
    }

    CDrawSys* System(const QString& fqdn, int type = CDrawSys::kTower)
    {
        auto* system = new CDrawSys(Rect{0, 0, 100, 100});
        system->m_pDocument = &document;
        system->m_strFqdn = fqdn;
        system->m_nTypeCode = type;
        document.m_objects.append(system);
        return system;
    }

    CDrawDomain* Forest() const { return document.FindDomain(QString()); }

    CNetDoc document;
};

} // namespace

TEST_F(MapEditing, FindDomainComparesAsciiLettersWithoutCaseAndFindsDomainsOnly)
{
    CDrawDomain* corp = document.CreateDomain(QStringLiteral("Corp"));
    CDrawSys* system = System(QStringLiteral("pc1.corp"));
    system->m_strName = QStringLiteral("ZETA");
    struct Case {
        const char* name;
        CDrawDomain* found;
    } cases[] = {{"Corp", corp}, {"CORP", corp}, {"corp", corp}, {"ZETA", nullptr}, {"Cor", nullptr}};
    for (const Case& c : cases)
        EXPECT_EQ(document.FindDomain(QString::fromLatin1(c.name)), c.found) << c.name;
    ASSERT_NE(Forest(), nullptr);
    EXPECT_EQ(Forest()->m_subDomains, QList<CDrawObj*>{corp});
    EXPECT_EQ(corp->m_pParent, Forest());
}

TEST_F(MapEditing, CreateSegmentMakesTheForestOfAnEmptyMapAndDerivesItsRange)
{
    ASSERT_TRUE(document.m_objects.isEmpty());
    CDrawSegment* first = document.CreateSegment(Ip(10, 77, 0, 1), kMask24);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(Forest(), nullptr);
    EXPECT_EQ(first->m_dwNetwork, Ip(10, 77, 0, 0));
    EXPECT_EQ(first->m_dwBroadcast, Ip(10, 77, 0, 255));
    EXPECT_EQ(first->m_nPrefix, 24);
    CDrawSegment* second = document.CreateSegment(Ip(10, 78, 0, 1), kMask24);
    EXPECT_EQ(Forest()->m_segments, (QList<CDrawObj*>{second, first}));
}

TEST_F(MapEditing, CreateNicMakesASegmentOnlyForAddressesNoSegmentHolds)
{
    document.CreateSegment(Ip(10, 77, 0, 1), kMask24); // on an empty map: with the forest
    CDrawSys* router = System(QStringLiteral("gw.corp"), CDrawSys::kRouter);
    document.CreateNic(router, {Ip(10, 77, 0, 1)}, kMask24, 0, QStringLiteral("02-00-00-00-00-01"));
    struct Case {
        quint32 address;
        bool newSegment;
    } cases[] = {{Ip(10, 77, 0, 20), false}, {Ip(10, 77, 0, 0), true}, {Ip(10, 77, 0, 255), true},
                 {Ip(10, 78, 0, 5), true}};
    for (const Case& c : cases) {
        const qsizetype before = Forest()->m_segments.size();
        CDrawSys* host = System(QStringLiteral("pc.corp"));
        CDrawNic* nic = document.CreateNic(host, {c.address}, kMask24, Ip(10, 77, 0, 1), QStringLiteral("02-aa"));
        ASSERT_NE(nic, nullptr);
        EXPECT_EQ(Forest()->m_segments.size() - before, c.newSegment ? 1 : 0) << CDrawNic::DottedAddress(c.address).toStdString();
        // Only an address inside the router's segment is wired to the router.
        const bool wired = c.address == Ip(10, 77, 0, 20);
        EXPECT_EQ(nic->m_connections.size(), wired ? 1 : 0);
        if (wired) {
            EXPECT_EQ(document.m_objects.first(), nic->m_connections.first());
        }
        EXPECT_EQ(host->m_mapIpToMac.value(c.address), QStringLiteral("02-aa"));
    }
}

TEST_F(MapEditing, InterfaceLabelsGoRoundTheSystem)
{
    CDrawSys* host = System(QStringLiteral("pc.corp"));
    // Requests 11, 14, 12, 13: above, left, below, right.
    const int expected[] = {CDrawText::above, CDrawText::leftOf, CDrawText::below, CDrawText::rightOf,
                            CDrawText::above};
    for (int n = 0; n < 5; ++n) {
        CDrawNic* nic = document.CreateNic(host, {Ip(10, 1, n, 5)}, kMask24, Ip(10, 1, n, 1),
                                           QStringLiteral("02-00-00-00-00-0%1").arg(n));
        ASSERT_EQ(nic->m_nicLabels.size(), 1);
        const auto* label = static_cast<const CDrawText*>(nic->m_nicLabels.first());
        EXPECT_EQ(label->m_nPosition, expected[n]) << n;
        EXPECT_EQ(label->m_astrLines, (QStringList{CDrawNic::DottedAddress(Ip(10, 1, n, 5)), nic->m_strMac}));
    }
}

TEST_F(MapEditing, InterfacesAndTheirSegmentsAreFoundByMac)
{
    document.CreateDomain(QStringLiteral("corp"));
    CDrawSys* host = System(QStringLiteral("pc.corp"));
    CDrawNic* nic = document.CreateNic(host, {Ip(10, 77, 0, 20)}, kMask24, Ip(10, 77, 0, 1),
                                       QStringLiteral("02-00-0a-4d-00-14"));
    EXPECT_EQ(document.FindNicByMac(QStringLiteral("02-00-0a-4d-00-14")), nic);
    EXPECT_EQ(document.FindNicByMac(QString()), nullptr);
    EXPECT_EQ(document.FindNicByMac(QStringLiteral("02-00-0a-4d-00-15")), nullptr);
    const CDrawSegment* segment = document.FindSegmentOfNic(QStringLiteral("02-00-0a-4d-00-14"));
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->m_dwNetwork, Ip(10, 77, 0, 0));
    EXPECT_EQ(document.FindSegmentOfNic(QStringLiteral("nothing")), nullptr);
}

TEST_F(MapEditing, AHungDeviceIsNamedAfterItsHost)
{
    struct Case {
        const char* device;
        const char* host;
        const char* name;
    } cases[] = {
        {"prn.sales", "srv1.sales", "\\\\srv1\\prn"},
        {"prn", "srv1.sales", "\\\\srv1\\prn"},
        {"\\\\old\\prn", "SRV1.SALES", "\\\\srv1\\prn"},
        {"\\\\prn", "srv1.sales", "\\\\srv1\\prn"},
    };
    for (const Case& c : cases) {
        CNetDoc local;
        local.m_bSnapshotsWanted = false;
        CDrawDomain* sales = local.CreateDomain(QStringLiteral("sales"));
        auto* host = new CDrawSys(Rect{});
        host->m_strFqdn = QStringLiteral("srv1.sales");
        local.m_objects.append(host);
        auto* device = new CDrawSys(Rect{});
        device->m_strFqdn = QString::fromLatin1(c.device);
        device->m_nTypeCode = CDrawSys::kPrinter;
        local.m_objects.append(device);
        device->SetOwner(sales);
        sales->AddSystem(device);
        EXPECT_EQ(local.AttachToHost(QString::fromLatin1(c.host), device), host) << c.device;
        EXPECT_EQ(device->m_strFqdn, QString::fromLatin1(c.name)) << c.device;
        EXPECT_EQ(device->m_pOwnerSys, host);
        EXPECT_TRUE(sales->m_systems.isEmpty());
        EXPECT_EQ(host->m_subSystems, QList<CDrawObj*>{device});
        EXPECT_EQ(local.AttachToHost(QStringLiteral("nobody.sales"), device), nullptr);
        EXPECT_EQ(local.AttachToHost(QString(), device), nullptr);
    }
}

TEST_F(MapEditing, ADrawnDeviceIsProvisionedWithATemporaryNameAndTheFirstFreeAddress)
{
    document.CreateSegment(Ip(10, 77, 0, 1), kMask24); // on an empty map: with the forest
    CDrawSys* router = System(QStringLiteral("gw.corp"), CDrawSys::kRouter);
    document.CreateNic(router, {Ip(10, 77, 0, 1)}, kMask24, 0, QStringLiteral("02-00-00-00-00-01"));
    CDrawSys* first = System(QString());
    CDrawSys* second = System(QString());
    CDrawSys* printer = System(QString(), CDrawSys::kPrinter);
    CDrawSys* hub = System(QString(), CDrawSys::kHub);
    first->ProvisionForEditing();
    second->ProvisionForEditing();
    printer->ProvisionForEditing();
    hub->ProvisionForEditing();

    EXPECT_EQ(first->m_strFqdn, QStringLiteral("1.TEMP"));
    EXPECT_EQ(second->m_strFqdn, QStringLiteral("2.TEMP"));
    EXPECT_EQ(first->m_pOwnerDomain, document.FindDomain(QStringLiteral("TEMP")));
    ASSERT_EQ(first->m_nics.size(), 1);
    ASSERT_EQ(second->m_nics.size(), 1);
    const auto* a = static_cast<const CDrawNic*>(first->m_nics.first());
    const auto* b = static_cast<const CDrawNic*>(second->m_nics.first());
    EXPECT_EQ(a->m_adwAddresses, QList<quint32>{Ip(10, 77, 0, 2)});
    EXPECT_EQ(b->m_adwAddresses, QList<quint32>{Ip(10, 77, 0, 3)});
    EXPECT_EQ(a->m_dwGateway, Ip(10, 77, 0, 1));
    EXPECT_TRUE(a->m_strMac.startsWith(QStringLiteral("te-mp-")));
    EXPECT_EQ(a->m_strMac.size(), 17);
    EXPECT_NE(a->m_strMac, b->m_strMac);
    EXPECT_EQ(a->m_connections.size(), 1) << "wired to the segment's gateway";
    for (const CDrawSys* untouched : {printer, hub}) {
        EXPECT_TRUE(untouched->m_strFqdn.isEmpty());
        EXPECT_TRUE(untouched->m_nics.isEmpty());
    }
    // A named device is left as it is.
    CDrawSys* named = System(QStringLiteral("pc9.corp"));
    named->ProvisionForEditing();
    EXPECT_TRUE(named->m_nics.isEmpty());
}

// A file saved after a paste: the pasted device's domain is a copy of the
// map's domain that only the device refers to, with its own forest and
// systems, none of them in the object list.
TEST_F(MapEditing, AnUnlistedCopyOfTheMapIsKeptButNeitherDrawnNorFound)
{
    document.CreateSegment(Ip(10, 77, 0, 1), kMask24);
    CDrawDomain* corp = document.CreateDomain(QStringLiteral("corp"));
    CDrawSys* original = System(QStringLiteral("pc1.corp"));
    original->SetOwner(corp);
    corp->AddSystem(original);

    auto* copyForest = new CDrawDomain(Rect{});
    copyForest->m_strName = QStringLiteral("FOREST_TREE_TAVRIN");
    auto* copyCorp = new CDrawDomain(Rect{});
    copyCorp->m_strName = QStringLiteral("corp");
    copyForest->m_subDomains.append(copyCorp);
    copyCorp->SetOwner(copyForest);
    auto* copyPc = new CDrawSys(Rect{0, 0, 100, 100});
    copyPc->m_strFqdn = QStringLiteral("pc1.corp");
    copyPc->SetOwner(copyCorp);
    copyCorp->AddSystem(copyPc);
    CDrawSys* pasted = System(QStringLiteral("pc1.corp"));
    pasted->SetOwner(copyCorp);
    copyCorp->AddSystem(pasted);
    for (CDrawObj* object : QList<CDrawObj*>{copyForest, copyCorp, copyPc}) {
        object->m_pDocument = &document;
        document.m_unlisted.append(object);
    }
    const QByteArray contents = document.SaveContents();
    const qsizetype listed = document.m_objects.size();

    CNetDoc loaded;
    loaded.m_bSnapshotsWanted = false;
    loaded.LoadContents(contents);
    EXPECT_EQ(loaded.m_objects.size(), listed) << "the copy is not drawn or laid out";
    EXPECT_EQ(loaded.m_unlisted.size(), 3);
    CDrawDomain* forest = loaded.FindDomain(QString());
    ASSERT_NE(forest, nullptr);
    EXPECT_TRUE(loaded.m_objects.contains(forest)) << "the map's own forest, not the copy's";
    EXPECT_EQ(loaded.SaveContents(), contents) << "the copy is written back through its references";

    // Deleting the pasted device leaves nothing in the copy pointing at it.
    CDrawSys* again = nullptr;
    for (CDrawObj* object : loaded.m_objects)
        if (object->IsKindOf(CDrawSys::StaticClass()) && static_cast<CDrawSys*>(object)->m_pOwnerDomain
            && !loaded.m_objects.contains(static_cast<CDrawSys*>(object)->m_pOwnerDomain))
            again = static_cast<CDrawSys*>(object);
    ASSERT_NE(again, nullptr);
    CDrawDomain* unlistedDomain = again->m_pOwnerDomain;
    loaded.RemoveObject(again, nullptr);
    delete again;
    EXPECT_FALSE(unlistedDomain->m_systems.contains(again));
    EXPECT_FALSE(loaded.SaveContents().isEmpty());
}
