#include "MapObjectTesting.h"

#include "document/CNetDoc.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawSys.h"
#include "support/FakeDrawView.h"

#include <gtest/gtest.h>

using MapObjectTesting::Counted;
using MapObjectTesting::destroyed;
using MapObjectTesting::ip;

namespace {

// An object that answers like an interface: addresses and a MAC text.
class FakeNic : public CDrawObj {
public:
    FakeNic(QList<quint32> addresses, QString mac)
        : m_addresses(std::move(addresses))
        , m_mac(std::move(mac))
    {
    }
    int GetAddressCount() const override { return int(m_addresses.size()); }
    quint32 GetAddressAt(int n) const override { return m_addresses.at(n); }
    QString GetMacAddress() const override { return m_mac; }

private:
    QList<quint32> m_addresses;
    QString m_mac;
};

class SysTest : public ::testing::Test {
protected:
    void SetUp() override { destroyed().clear(); }

    CDrawSys* addSystem(const Rect& r = Rect{0, 0, 140, 180})
    {
        auto* system = new CDrawSys(r);
        doc.AddObject(system);
        return system;
    }

    CNetDoc doc;
    FakeDrawView view;
};

// --- handles ----------------------------------------------------------------

struct HandleCountCase {
    int typeCode;
    int handles;

    friend void PrintTo(const HandleCountCase& c, std::ostream* os)
    {
        *os << "type " << c.typeCode;
    }
};

class HandleCount : public ::testing::TestWithParam<HandleCountCase> {};

TEST_P(HandleCount, ByDeviceType)
{
    CDrawSys system(Rect{});
    system.m_nTypeCode = GetParam().typeCode;
    EXPECT_EQ(system.GetHandleCount(), GetParam().handles);
}

INSTANTIATE_TEST_SUITE_P(Types, HandleCount,
                         ::testing::Values(HandleCountCase{CDrawSys::kTower, 8},
                                           HandleCountCase{CDrawSys::kDesktop, 9},
                                           HandleCountCase{CDrawSys::kRouter, 8},
                                           HandleCountCase{CDrawSys::kHub, 2},
                                           HandleCountCase{CDrawSys::kPrinter, 8},
                                           HandleCountCase{CDrawSys::kNotebook, 8},
                                           HandleCountCase{CDrawSys::kRackMount, 8},
                                           HandleCountCase{CDrawSys::kPocketPc, 8}));

TEST(CDrawSysHandles, DesktopNinthHandleSitsHalfTheRoundnessInside)
{
    CDrawSys desktop(Rect{130, 182, 0, 0});
    desktop.m_nTypeCode = CDrawSys::kDesktop;
    EXPECT_EQ(desktop.GetHandle(9), (Point{125, 177}));
    EXPECT_EQ(desktop.GetHandleCursor(9), HandleCursor::SizeAll);
    EXPECT_EQ(desktop.GetHandle(5), (Point{0, 0}));
    EXPECT_EQ(desktop.GetHandleCursor(4), HandleCursor::SizeWE);
}

TEST(CDrawSysHandles, HubSecondHandleIsTheBottomRightCorner)
{
    CDrawSys hub(Rect{10, 20, 88, 63});
    hub.m_nTypeCode = CDrawSys::kHub;
    EXPECT_EQ(hub.GetHandle(1), (Point{10, 20}));
    EXPECT_EQ(hub.GetHandle(2), (Point{88, 63}));
    EXPECT_EQ(hub.GetHandleCursor(2), HandleCursor::SizeNWSE);
    CDrawSys tower(Rect{10, 20, 88, 63});
    EXPECT_EQ(tower.GetHandle(2), (Point{49, 20}));
    EXPECT_EQ(tower.GetHandle(9), (Point{10, 20}));
}

struct HandleMoveCase {
    int typeCode;
    int handle;
    Rect expected;
    int lastHandle;

    friend void PrintTo(const HandleMoveCase& c, std::ostream* os)
    {
        *os << "type " << c.typeCode << " handle " << c.handle;
    }
};

class HandleMove : public SysTest, public ::testing::WithParamInterface<HandleMoveCase> {};

TEST_P(HandleMove, MovesWithoutResizing)
{
    const HandleMoveCase& c = GetParam();
    CDrawSys* system = addSystem(Rect{100, 200, 240, 380});
    system->m_nTypeCode = c.typeCode;
    doc.SetModifiedFlag(false);

    system->MoveHandleTo(c.handle, Point{500, 50}, nullptr);

    EXPECT_EQ(system->m_position, c.expected);
    EXPECT_EQ(system->m_nLastHandle, c.lastHandle);
    EXPECT_EQ(system->m_nMoveX, c.expected.left - 100);
    EXPECT_EQ(system->m_nMoveY, c.expected.top - 200);
    EXPECT_TRUE(doc.IsModified());
}

constexpr int kTower = CDrawSys::kTower;
INSTANTIATE_TEST_SUITE_P(Handles, HandleMove,
                         ::testing::Values(HandleMoveCase{kTower, 1, Rect{500, 50, 640, 230}, 1},
                                           HandleMoveCase{kTower, 2, Rect{430, 50, 570, 230}, 2},
                                           HandleMoveCase{kTower, 3, Rect{360, 50, 500, 230}, 3},
                                           HandleMoveCase{kTower, 4, Rect{360, -40, 500, 140}, 4},
                                           HandleMoveCase{kTower, 5, Rect{360, -130, 500, 50}, 5},
                                           HandleMoveCase{kTower, 6, Rect{430, -130, 570, 50}, 6},
                                           HandleMoveCase{kTower, 7, Rect{500, -130, 640, 50}, 7},
                                           HandleMoveCase{kTower, 8, Rect{500, -40, 640, 140}, 8},
                                           HandleMoveCase{kTower, 9, Rect{500, 50, 640, 230}, 9},
                                           HandleMoveCase{kTower, 0, Rect{500, 50, 640, 230}, 0},
                                           HandleMoveCase{CDrawSys::kHub, 2,
                                                          Rect{360, -130, 500, 50}, 5}));

TEST_F(SysTest, MoveToForgetsTheLastHandle)
{
    CDrawSys* system = addSystem(Rect{0, 0, 100, 100});
    system->MoveHandleTo(5, Point{300, 300}, &view);
    EXPECT_EQ(system->m_nLastHandle, 5);
    EXPECT_EQ(view.invalidated.size(), 2);
    system->MoveTo(Rect{10, 10, 110, 110}, nullptr);
    EXPECT_EQ(system->m_nLastHandle, 0);

    system->m_nLastHandle = 3;
    doc.SetModifiedFlag(false);
    const Rect same = system->m_position;
    system->MoveTo(same, &view);
    EXPECT_EQ(system->m_nLastHandle, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(system->m_nMoveX, 10);
}

struct RoundnessCase {
    Point point;
    Point roundness;

    friend void PrintTo(const RoundnessCase& c, std::ostream* os)
    {
        *os << "point " << c.point.x << "," << c.point.y;
    }
};

class DesktopRoundness : public SysTest, public ::testing::WithParamInterface<RoundnessCase> {};

TEST_P(DesktopRoundness, NinthHandleShapesTheCornersInPlace)
{
    CDrawSys* desktop = addSystem(Rect{0, 0, 130, 182});
    desktop->m_nTypeCode = CDrawSys::kDesktop;
    doc.SetModifiedFlag(false);

    desktop->MoveHandleTo(9, GetParam().point, nullptr);

    EXPECT_EQ(desktop->m_ptRoundness, GetParam().roundness);
    EXPECT_EQ(desktop->m_position, (Rect{0, 0, 130, 182}));
    EXPECT_EQ(desktop->m_nMoveX, 0);
    EXPECT_EQ(desktop->m_nLastHandle, 9);
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Points, DesktopRoundness,
                         ::testing::Values(RoundnessCase{Point{100, 150}, Point{60, 64}},
                                           // At most one unit inside the corner.
                                           RoundnessCase{Point{200, 300}, Point{2, 2}},
                                           // At least the centre lines.
                                           RoundnessCase{Point{10, 10}, Point{130, 182}}));

// --- kind and size ----------------------------------------------------------

struct ShapeCase {
    int kind;
    int typeCode; // 0: unchanged
    Rect position;

    friend void PrintTo(const ShapeCase& c, std::ostream* os) { *os << "kind " << c.kind; }
};

class ShapeKind : public SysTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(ShapeKind, SetsTheTypeAndTheDefaultSize)
{
    const ShapeCase& c = GetParam();
    CDrawSys* system = addSystem(Rect{500, 500, 600, 600});
    system->SetShapeKind(c.kind);
    EXPECT_EQ(system->m_nTypeCode, c.typeCode ? c.typeCode : CDrawSys::kTower);
    EXPECT_EQ(system->m_position, c.position);
}

const Rect kUnchanged{500, 500, 600, 600};
INSTANTIATE_TEST_SUITE_P(Kinds, ShapeKind,
                         ::testing::Values(ShapeCase{6, CDrawSys::kTower, Rect{0, 0, 140, 180}},
                                           ShapeCase{7, CDrawSys::kDesktop, Rect{0, 0, 130, 182}},
                                           ShapeCase{8, CDrawSys::kRouter, Rect{0, 0, 78, 52}},
                                           ShapeCase{9, CDrawSys::kHub, Rect{0, 0, 78, 43}},
                                           ShapeCase{10, CDrawSys::kPrinter, Rect{0, 0, 100, 100}},
                                           ShapeCase{16, CDrawSys::kNotebook, Rect{0, 0, 100, 78}},
                                           ShapeCase{17, CDrawSys::kRackMount, Rect{0, 0, 195, 39}},
                                           ShapeCase{18, CDrawSys::kPocketPc, Rect{0, 0, 75, 100}},
                                           ShapeCase{0, 0, kUnchanged}, ShapeCase{5, 0, kUnchanged},
                                           ShapeCase{11, 0, kUnchanged},
                                           ShapeCase{15, 0, kUnchanged},
                                           ShapeCase{19, 0, kUnchanged}));

TEST(CDrawSysKind, WithoutADocumentOnlyTheTypeChanges)
{
    CDrawSys system(Rect{1, 2, 3, 4});
    system.SetShapeKind(8);
    EXPECT_EQ(system.m_nTypeCode, CDrawSys::kRouter);
    EXPECT_EQ(system.m_position, (Rect{1, 2, 3, 4}));
}

struct PageCase {
    int page;
    int typeCode;
    Rect position;

    friend void PrintTo(const PageCase& c, std::ostream* os) { *os << "page " << c.page; }
};

class TypeFromPage : public SysTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(TypeFromPage, DefaultSizeCentredOnThePresentCentre)
{
    const PageCase& c = GetParam();
    CDrawSys* system = addSystem(Rect{1000, 1000, 1140, 1180});
    system->SetTypeFromPage(c.page);
    EXPECT_EQ(system->m_nTypeCode, c.typeCode);
    EXPECT_EQ(system->m_position, c.position);
    EXPECT_EQ(system->m_rcExtent, c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TypeFromPage,
    ::testing::Values(PageCase{0, CDrawSys::kTower, Rect{1000, 1000, 1140, 1180}},
                      PageCase{1, CDrawSys::kDesktop, Rect{1005, 999, 1135, 1181}},
                      PageCase{2, CDrawSys::kPrinter, Rect{1020, 1040, 1120, 1140}},
                      PageCase{3, CDrawSys::kPrinter, Rect{1020, 1040, 1120, 1140}},
                      PageCase{4, CDrawSys::kRouter, Rect{1031, 1064, 1109, 1116}},
                      PageCase{5, CDrawSys::kHub, Rect{1031, 1069, 1109, 1112}},
                      PageCase{6, CDrawSys::kNotebook, Rect{1020, 1051, 1120, 1129}},
                      PageCase{7, CDrawSys::kPocketPc, Rect{1033, 1040, 1108, 1140}},
                      PageCase{8, CDrawSys::kRackMount, Rect{973, 1071, 1168, 1110}},
                      // Outside the page's kinds: nothing changes.
                      PageCase{9, CDrawSys::kTower, Rect{1000, 1000, 1140, 1180}},
                      PageCase{-1, CDrawSys::kTower, Rect{1000, 1000, 1140, 1180}}));

// --- placement --------------------------------------------------------------

struct AttachCase {
    int ownerDevices; // systems hanging on the owner, the printer first
    qint32 moveX;
    Rect hostExtent;

    friend void PrintTo(const AttachCase& c, std::ostream* os)
    {
        *os << c.ownerDevices << " devices on the host";
    }
};

class AttachToOwner : public SysTest, public ::testing::WithParamInterface<AttachCase> {};

TEST_P(AttachToOwner, PrinterGoesBesideItsHostBottomAligned)
{
    const AttachCase& c = GetParam();
    CDrawSys* host = addSystem(Rect{0, 400, 300, 500});
    CDrawSys* printer = addSystem(Rect{0, 0, 100, 100});
    printer->SetOwner(host);
    if (c.ownerDevices >= 1)
        host->AddSubSystem(printer);
    if (c.ownerDevices >= 2)
        host->AddSubSystem(addSystem(Rect{50, 50, 60, 60}));

    printer->SetShapeKind(10);

    EXPECT_EQ(printer->m_nTypeCode, CDrawSys::kPrinter);
    EXPECT_EQ(printer->m_nMoveX, c.moveX);
    EXPECT_EQ(printer->m_nMoveY, 400);
    EXPECT_EQ(printer->m_position, (Rect{c.moveX, 400, c.moveX + 100, 500}));
    EXPECT_EQ(printer->m_rcExtent, printer->m_position);
    EXPECT_EQ(host->m_rcExtent, c.hostExtent);
}

// Spacing 200, host extent 0 to 300 before the move: right of it, or left of
// it when the printer is the host's only device.
INSTANTIATE_TEST_SUITE_P(Hosts, AttachToOwner,
                         ::testing::Values(AttachCase{0, 500, Rect{0, 400, 300, 500}},
                                           AttachCase{1, -300, Rect{-300, 400, 300, 500}},
                                           AttachCase{2, 500, Rect{0, 50, 600, 500}}));

TEST_F(SysTest, AttachToOwnerLeavesSystemsWithInterfacesAlone)
{
    CDrawSys* host = addSystem(Rect{0, 400, 300, 500});
    CDrawSys* system = addSystem(Rect{0, 0, 100, 100});
    system->SetOwner(host);
    auto* nic = new CDrawObj(Rect{});
    doc.AddObject(nic);
    system->m_nics.append(nic);
    system->AttachToOwner();
    EXPECT_EQ(system->m_position, (Rect{0, 0, 100, 100}));
    system->m_nTypeCode = CDrawSys::kPrinter;
    system->AttachToOwner();
    EXPECT_EQ(system->m_position, (Rect{500, 400, 600, 500}));

    CDrawSys orphan(Rect{0, 0, 100, 100});
    orphan.AttachToOwner();
    EXPECT_EQ(orphan.m_position, (Rect{0, 0, 100, 100}));
}

TEST_F(SysTest, RecalcExtentTakesInLabelsAndHangingSystems)
{
    CDrawSys* system = addSystem(Rect{100, 100, 200, 200});
    auto* label = new CDrawObj(Rect{210, 180, 150, 120});
    doc.AddObject(label);
    system->AddLabel(label);
    CDrawSys* printer = addSystem(Rect{});
    printer->m_rcExtent = Rect{400, 300, 300, 250};
    system->AddSubSystem(printer);
    system->AddLabel(nullptr);
    system->RecalcExtent();
    EXPECT_EQ(system->m_rcExtent, (Rect{100, 100, 400, 300}));
}

TEST_F(SysTest, AttachedObjectsInDrawingOrder)
{
    CDrawSys* system = addSystem();
    auto* label = new CDrawObj(Rect{});
    doc.AddObject(label);
    system->AddLabel(label);
    CDrawSys* printer = addSystem();
    system->AddSubSystem(printer);
    auto* printerLabel = new CDrawObj(Rect{});
    doc.AddObject(printerLabel);
    printer->AddLabel(printerLabel);
    auto* plain = new CDrawObj(Rect{});
    doc.AddObject(plain);
    system->AddSubSystem(plain);
    EXPECT_EQ(system->AttachedObjects(), (QList<CDrawObj*>{label, printer, printerLabel, plain}));
}

// --- owners, labels, lifetime -----------------------------------------------

TEST_F(SysTest, OwnerIsTheHostSystemElseTheDomain)
{
    CDrawSys* system = addSystem();
    CDrawDomain domain(Rect{});
    CDrawSys host(Rect{});
    CDrawObj plain(Rect{});

    system->SetOwner(&domain);
    EXPECT_EQ(system->m_pOwnerDomain, &domain);
    EXPECT_EQ(system->m_pOwnerSys, nullptr);
    EXPECT_EQ(system->GetOwner(), &domain);

    system->SetOwner(&host);
    EXPECT_EQ(system->m_pOwnerSys, &host);
    EXPECT_EQ(system->m_pOwnerDomain, nullptr);
    EXPECT_EQ(system->GetOwner(), &host);

    system->SetOwner(&plain);
    EXPECT_EQ(system->GetOwner(), nullptr);
    system->SetOwner(&host);
    system->SetOwner(nullptr);
    EXPECT_EQ(system->m_pOwner, nullptr);
    EXPECT_EQ(system->m_pOwnerSys, nullptr);
}

TEST_F(SysTest, DestroyingASystemDeletesWhatItOwnsAndLeavesItsOwners)
{
    auto* domain = new CDrawDomain(Rect{});
    doc.AddObject(domain);
    auto* host = new Counted<CDrawSys>(Rect{});
    doc.AddObject(host);
    host->SetOwner(domain);
    domain->AddSystem(host);
    auto* label = new Counted<CDrawObj>(Rect{});
    doc.AddObject(label);
    host->AddLabel(label);
    auto* nic = new Counted<CDrawObj>(Rect{});
    doc.AddObject(nic);
    host->m_nics.append(nic);
    auto* printer = new Counted<CDrawSys>(Rect{});
    doc.AddObject(printer);
    printer->SetOwner(host);
    host->AddSubSystem(printer);
    host->AddAdapterAddresses({ip("192.168.1.2")});
    view.selected = {host};

    doc.RemoveObject(host, &view);
    host->Remove();

    EXPECT_TRUE(domain->m_systems.isEmpty());
    EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{domain}));
    EXPECT_EQ(destroyed().size(), 4);

    // A hanging system leaves its host's lists.
    CDrawSys* host2 = addSystem();
    auto* device = new CDrawSys(Rect{});
    doc.AddObject(device);
    device->SetOwner(host2);
    host2->AddSubSystem(device);
    doc.RemoveObject(device, nullptr);
    delete device;
    EXPECT_TRUE(host2->m_subSystems.isEmpty());
}

TEST_F(SysTest, DeleteLabelsUnlinksAndDeletesThem)
{
    CDrawSys* system = addSystem();
    auto* first = new Counted<CDrawObj>(Rect{});
    auto* second = new Counted<CDrawSys>(Rect{});
    doc.AddObject(first);
    doc.AddObject(second);
    second->SetOwner(system);
    system->AddLabel(first);
    system->AddLabel(second);
    system->AddLabel(first);
    system->DeleteLabels();
    EXPECT_TRUE(system->m_labels.isEmpty());
    EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{system}));
    EXPECT_EQ(destroyed().value(first), 1);
    EXPECT_EQ(destroyed().value(second), 1);
}

// --- accessors --------------------------------------------------------------

TEST(CDrawSysAccessors, IndexOutsideAnArrayIsAnInvalidArgument)
{
    CDrawSys system(Rect{});
    system.SetGateways({ip("192.168.1.1")});
    system.SetAdapterValues(2, {1, 2});
    const std::vector<std::function<void()>> calls{
        [&] { system.GetMaskAt(0); },
        [&] { system.GetGatewayAt(-1); },
        [&] { system.GetGatewayAt(1); },
        [&] { system.GetAdapterValueAt(2, 2); },
        [&] { system.GetAdapterValueAt(3, 0); },
        [&] { system.GetAdapterValueAt(1, 0); },
        [&] { system.GetAdapterValueAt(9, 0); },
        [&] { system.SetAdapterValues(0, {1}); },
        [&] { system.ClearAdapterValues(9); },
        [&] { system.GetSharedPrinterAt(0); },
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        try {
            calls[i]();
            ADD_FAILURE() << "call " << i << " did not throw";
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.cause(), ArchiveException::Cause::InvalidArgument) << "call " << i;
        }
    }
}

TEST(CDrawSysAccessors, PerAdapterArraysAndPlainFields)
{
    CDrawSys system(Rect{});
    system.SetMasks({ip("255.255.255.0"), ip("255.0.0.0")});
    EXPECT_EQ(system.GetMaskAt(1), ip("255.0.0.0"));
    system.ClearMasks();
    EXPECT_TRUE(system.m_adwMasks.isEmpty());
    for (int n = CDrawSys::kFirstValueArray; n <= CDrawSys::kLastValueArray; ++n)
        system.SetAdapterValues(n, {quint32(n), quint32(10 * n)});
    for (int n = CDrawSys::kFirstValueArray; n <= CDrawSys::kLastValueArray; ++n)
        EXPECT_EQ(system.GetAdapterValueAt(n, 1), quint32(10 * n));
    EXPECT_EQ(system.m_adwAdapterValue5, (QList<quint32>{5, 50}));
    system.ClearAdapterValues(8);
    EXPECT_TRUE(system.m_adwAdapterValue8.isEmpty());

    system.m_astrSharedPrinters = {QStringLiteral("\\\\pc\\lp1"), QStringLiteral("\\\\pc\\lp2")};
    EXPECT_EQ(system.GetSharedPrinterCount(), 2);
    EXPECT_EQ(system.GetSharedPrinterAt(1), QStringLiteral("\\\\pc\\lp2"));
    system.m_serverInfo102[4] = 0x8003;
    EXPECT_EQ(system.GetServerRecord()[4], 0x8003u);
    system.SetUncName(QStringLiteral("\\\\PC1"));
    EXPECT_EQ(system.GetUncName(), QStringLiteral("\\\\PC1"));
    system.SetServerType(0x1003);
    EXPECT_EQ(system.GetServerType(), 0x1003u);
    system.SetServerInfoOk(0);
    system.SetServerTypeNames(2);
    system.SetReservedFlag(3);
    EXPECT_EQ(system.m_wServerInfoOk, 0);
    EXPECT_EQ(system.m_wServerTypeNames, 2);
    EXPECT_EQ(system.m_wReservedFlag, 3);

    system.AddAdapterAddresses({});
    EXPECT_TRUE(system.m_adapterAddresses.empty());
    system.AddAdapterAddresses({ip("10.0.0.2"), ip("10.0.0.3")});
    system.AddAdapterAddresses({ip("192.168.1.9")});
    ASSERT_EQ(system.m_adapterAddresses.size(), 2u);
    EXPECT_EQ(system.m_adapterAddresses[1]->m_values, (QList<quint32>{ip("192.168.1.9")}));
    system.DeleteAdapterAddresses();
    EXPECT_TRUE(system.m_adapterAddresses.empty());
}

TEST(CDrawSysAccessors, FqdnBuildsTheDisplayLines)
{
    CDrawSys system(Rect{});
    system.DeviceInfoLines() = {QStringLiteral("Model X"), QStringLiteral("2 CPU")};
    system.SetFqdn(QString());
    EXPECT_TRUE(system.GetFqdn().isEmpty());
    EXPECT_TRUE(system.m_astrDisplayLines.isEmpty());
    system.SetFqdn(QStringLiteral("pc1.example.local"));
    EXPECT_EQ(system.GetFqdn(), QStringLiteral("pc1.example.local"));
    EXPECT_EQ(system.m_astrDisplayLines,
              (QStringList{QStringLiteral("pc1.example.local"), QStringLiteral("Model X"),
                           QStringLiteral("2 CPU")}));
}

TEST_F(SysTest, GatewaysMakeUnownedSegments)
{
    CDrawSys* system = addSystem();
    system->SetMasks({ip("255.255.255.0")});
    doc.SetModifiedFlag(false);
    system->SetGateways({ip("192.168.1.1"), ip("10.0.0.1")});

    EXPECT_EQ(system->GetGatewayAt(1), ip("10.0.0.1"));
    ASSERT_EQ(doc.m_objects.size(), 3);
    auto* first = dynamic_cast<CDrawSegment*>(doc.m_objects.at(1));
    auto* second = dynamic_cast<CDrawSegment*>(doc.m_objects.at(2));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->m_dwAddress, ip("192.168.1.1"));
    EXPECT_EQ(first->m_nPrefix, 24);
    EXPECT_EQ(first->m_dwNetwork, ip("192.168.1.0"));
    EXPECT_EQ(first->GetOwner(), nullptr);
    EXPECT_EQ(first->m_pDocument, &doc);
    EXPECT_EQ(second->m_dwAddress, ip("10.0.0.1"));
    EXPECT_EQ(second->m_dwMask, 0u);
    EXPECT_EQ(second->m_nPrefix, 0);
    EXPECT_TRUE(system->m_segments.isEmpty());

    system->ClearGateways();
    EXPECT_TRUE(system->m_adwGateways.isEmpty());
}

TEST_F(SysTest, IpMacMapComesFromTheInterfaces)
{
    CDrawSys* system = addSystem();
    FakeNic a({ip("192.168.1.2"), ip("192.168.1.3")}, QStringLiteral("00-11-22-33-44-55"));
    FakeNic empty({}, QStringLiteral("66-77-88-99-aa-bb"));
    FakeNic b({ip("10.0.0.2")}, QStringLiteral("No-Ad-00-00-00-01"));
    system->m_nics = {&a, &empty, &b, nullptr};
    system->m_mapIpToMac.insert(ip("1.1.1.1"), QStringLiteral("stale"));
    system->RebuildIpMacMap();
    system->m_nics.clear();
    const QMap<quint32, QString> expected{
        {ip("192.168.1.2"), QStringLiteral("00-11-22-33-44-55")},
        {ip("192.168.1.3"), QStringLiteral("00-11-22-33-44-55")},
        {ip("10.0.0.2"), QStringLiteral("No-Ad-00-00-00-01")},
    };
    EXPECT_EQ(system->m_mapIpToMac, expected);
}

// --- copying ----------------------------------------------------------------

TEST_F(SysTest, CloneCopiesTheRecordAndTheAttachedObjects)
{
    auto* domain = new CDrawDomain(Rect{});
    doc.AddObject(domain);
    CDrawSys* system = addSystem(Rect{100, 100, 240, 280});
    system->SetOwner(domain);
    domain->AddSystem(system);
    system->m_strFqdn = QStringLiteral("srv.example");
    system->m_strOs = QStringLiteral("Windows Server 2016");
    system->m_serverInfo101 = {500, 0, 10, 0, 0x8 | 0x4, 0};
    system->m_serverInfo102[4] = 0x8;
    system->m_abReserved648[10] = 7;
    system->m_astrServerNotes = {QStringLiteral("backup at 2:00")};
    system->AddAdapterAddresses({ip("192.168.1.10")});
    system->SetMasks({ip("255.255.255.0")});
    system->WmiListing() = {QStringLiteral("Win32_Processor")};
    system->RoleFlags() = QList<quint32>(30, 1);
    auto* label = new CDrawSys(Rect{250, 100, 300, 120});
    doc.AddObject(label);
    label->SetOwner(system);
    system->AddLabel(label);
    CDrawSys* printer = addSystem(Rect{300, 300, 400, 400});
    printer->SetOwner(system);
    system->AddSubSystem(printer);
    doc.SetModifiedFlag(false);

    auto* copy = static_cast<CDrawSys*>(system->Clone(&doc));

    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.m_objects.contains(copy));
    EXPECT_EQ(copy->m_position, (Rect{110, 110, 250, 290}));
    EXPECT_EQ(copy->m_strFqdn, system->m_strFqdn);
    EXPECT_EQ(copy->m_strOs, system->m_strOs);
    EXPECT_EQ(copy->m_serverInfo101, system->m_serverInfo101);
    EXPECT_EQ(copy->m_serverInfo102, system->m_serverInfo102);
    EXPECT_EQ(copy->m_abReserved648, system->m_abReserved648);
    EXPECT_EQ(copy->m_astrServerNotes, system->m_astrServerNotes);
    EXPECT_EQ(copy->m_adwMasks, system->m_adwMasks);
    EXPECT_EQ(copy->WmiListing(), system->WmiListing());
    ASSERT_EQ(copy->m_adapterAddresses.size(), 1u);
    EXPECT_NE(copy->m_adapterAddresses[0].get(), system->m_adapterAddresses[0].get());
    EXPECT_EQ(copy->m_adapterAddresses[0]->m_values, system->m_adapterAddresses[0]->m_values);
    // Flags derived again from the level-101 type bits: 0x8 and 0x4.
    QList<quint32> flags(30, 0);
    flags[0] = 1;
    flags[21] = 1;
    EXPECT_EQ(copy->RoleFlags(), flags);

    EXPECT_EQ(copy->GetOwner(), domain);
    EXPECT_EQ(domain->m_systems, (QList<CDrawObj*>{system, copy}));

    ASSERT_EQ(copy->m_labels.size(), 1);
    EXPECT_NE(copy->m_labels.first(), label);
    EXPECT_EQ(copy->m_labels.first()->GetOwner(), copy);
    ASSERT_EQ(copy->m_subSystems.size(), 1);
    auto* printerCopy = static_cast<CDrawSys*>(copy->m_subSystems.first());
    EXPECT_EQ(printerCopy->GetOwner(), copy);
    EXPECT_EQ(printerCopy->m_position, (Rect{310, 310, 410, 410}));
    EXPECT_EQ(system->m_labels, (QList<CDrawObj*>{label}));
    EXPECT_EQ(system->m_subSystems, (QList<CDrawObj*>{printer}));
}

} // namespace
