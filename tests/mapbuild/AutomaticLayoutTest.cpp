#include "MapBuildTesting.h"
#include "mapbuild/AutomaticLayout.h"

#include <gtest/gtest.h>

namespace {

using namespace MapBuildTesting;

constexpr qint32 kSpacing = 200;

// Domains and systems without labels: a system's extent is its position.
class AutomaticLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        width = doc.m_sizePage.cx;
        forest = domain("FOREST_TREE_TAVRIN");
    }

    CDrawDomain* domain(const QString& name)
    {
        auto* d = new CDrawDomain(Rect{});
        doc.AddObject(d);
        d->SetName(name);
        if (forest) {
            forest->AddSubDomain(d);
            d->SetOwner(forest);
        }
        return d;
    }

    CDrawSys* member(CDrawDomain* d, int type, qint32 w, qint32 h, quint32 serverType = 0)
    {
        auto* s = new CDrawSys(Rect{0, 0, w, h});
        doc.AddObject(s);
        s->m_nTypeCode = type;
        s->m_dwServerType = serverType;
        s->RecalcExtent();
        d->AddSystem(s);
        s->SetOwner(d);
        return s;
    }

    static Point topLeft(const CDrawObj* o) { return {o->m_position.left, o->m_position.top}; }

    CNetDoc doc;
    CDrawDomain* forest = nullptr;
    qint32 width = 0;
};

TEST_F(AutomaticLayoutTest, ComputersStartOneSpacingDownCentredOnThePage)
{
    CDrawDomain* d = domain("CORP");
    CDrawSys* a = member(d, CDrawSys::kTower, 140, 180);
    CDrawSys* b = member(d, CDrawSys::kDesktop, 130, 180);
    AutomaticLayout(doc).LayoutSystems(*d);

    const qint32 row = 140 + kSpacing + 130;
    EXPECT_EQ(topLeft(a), (Point{(width - row) / 2, kSpacing}));
    EXPECT_EQ(topLeft(b), (Point{(width - row) / 2 + 140 + kSpacing, kSpacing}));
    EXPECT_EQ(b->m_rcExtent, b->m_position);
}

TEST_F(AutomaticLayoutTest, BandsByRoleFromRoutersToComputers)
{
    CDrawDomain* d = domain("CORP");
    CDrawSys* computer = member(d, CDrawSys::kTower, 100, 100, 0x1003);
    CDrawSys* hub = member(d, CDrawSys::kHub, 100, 100);
    CDrawSys* printer = member(d, CDrawSys::kPrinter, 100, 100);
    CDrawSys* server = member(d, CDrawSys::kNotebook, 100, 100, 0x8004);
    CDrawSys* controller = member(d, CDrawSys::kRackMount, 100, 100, 0x9013);
    CDrawSys* router = member(d, CDrawSys::kRouter, 100, 100);
    CDrawSys* other = member(d, 3, 100, 100);
    AutomaticLayout(doc).LayoutSystems(*d);

    // Each band is one row of height 100 plus the spacing.
    const QList<CDrawSys*> order{router, controller, server, printer, hub, computer};
    for (qsizetype i = 0; i < order.size(); ++i)
        EXPECT_EQ(order.at(i)->m_position.top, kSpacing + qint32(i) * (100 + kSpacing)) << i;
    EXPECT_EQ(topLeft(other), (Point{0, 0}));
}

TEST_F(AutomaticLayoutTest, SecondRouterRowPushesTheNextBandsDownBySpacing)
{
    CDrawDomain* d = domain("CORP");
    CDrawSys* first = member(d, CDrawSys::kRouter, 1500, 100);
    CDrawSys* second = member(d, CDrawSys::kRouter, 1500, 100);
    CDrawSys* controller = member(d, CDrawSys::kTower, 100, 100, 0x8);
    AutomaticLayout(doc).LayoutSystems(*d);

    EXPECT_EQ(first->m_position.top, kSpacing);
    EXPECT_EQ(second->m_position.top, first->m_position.bottom + kSpacing);
    EXPECT_EQ(controller->m_position.top, second->m_position.bottom + kSpacing);
}

TEST_F(AutomaticLayoutTest, SystemAtLeastAPageWideHasARowOfItsOwn)
{
    struct Case {
        qint32 wide;
    };
    // Exactly the page, and wider than the page and twice the spacing.
    for (const Case c : {Case{width}, Case{width + 3 * kSpacing}}) {
        CNetDoc d2;
        auto* f = new CDrawDomain(Rect{});
        d2.AddObject(f);
        auto* d = new CDrawDomain(Rect{});
        d2.AddObject(d);
        auto make = [&](qint32 w, qint32 h) {
            auto* s = new CDrawSys(Rect{0, 0, w, h});
            d2.AddObject(s);
            s->RecalcExtent();
            d->AddSystem(s);
            return s;
        };
        CDrawSys* big = make(c.wide, 300);
        CDrawSys* next = make(100, 100);
        AutomaticLayout(d2).LayoutSystems(*d);
        // The band's first row stays empty: the system's row is the second.
        EXPECT_EQ(topLeft(big), (Point{(width - c.wide) / 2, 2 * kSpacing})) << c.wide;
        EXPECT_EQ(next->m_position.top, big->m_position.bottom + kSpacing) << c.wide;
    }
}

TEST_F(AutomaticLayoutTest, DomainsSideBySideWithWorkgroupLast)
{
    CDrawDomain* a = domain("A");
    CDrawDomain* workgroup = domain("workgroup");
    CDrawDomain* b = domain("B");
    CDrawSys* inA = member(a, CDrawSys::kTower, 140, 180);
    CDrawSys* inWorkgroup = member(workgroup, CDrawSys::kTower, 140, 180);
    CDrawSys* inB = member(b, CDrawSys::kTower, 140, 180);
    AutomaticLayout(doc).LayoutWorkgroupLast(*forest);

    EXPECT_EQ(forest->m_subDomains, (QList<CDrawObj*>{a, b, workgroup}));
    EXPECT_LE(inA->m_position.right, inB->m_position.left);
    EXPECT_LE(inB->m_position.right, inWorkgroup->m_position.left);
    EXPECT_EQ(forest->m_rcExtent.right, inWorkgroup->m_rcExtent.right);
}

TEST_F(AutomaticLayoutTest, DomainTreeWithACycleIsLaidOutOnce)
{
    CDrawDomain* a = domain("A");
    CDrawDomain* b = domain("B");
    // A file may list a domain among its own descendants.
    a->AddSubDomain(b);
    b->AddSubDomain(a);
    CDrawSys* inA = member(a, CDrawSys::kTower, 140, 180);
    AutomaticLayout(doc).LayoutWorkgroupLast(*forest);

    EXPECT_EQ(topLeft(inA), (Point{(width - 140) / 2, kSpacing}));
}

TEST_F(AutomaticLayoutTest, PrinterRepositioning)
{
    struct Case {
        const char* what;
        bool hosted;
        bool withInterface;
        Point move;
        bool moves;
    };
    const Case cases[] = {
        {"hosted, never moved", true, false, {0, 0}, true},
        {"hosted, moved", true, false, {400, 30}, true},
        {"print server", true, true, {400, 30}, false},
        {"no host", false, false, {400, 30}, false},
    };
    for (const Case& c : cases) {
        CNetDoc d;
        auto* host = new CDrawSys(Rect{1000, 500, 1140, 680});
        d.AddObject(host);
        auto* printer = new CDrawSys(Rect{0, 0, 100, 100});
        d.AddObject(printer);
        printer->m_nTypeCode = CDrawSys::kPrinter;
        printer->m_nMoveX = c.move.x;
        printer->m_nMoveY = c.move.y;
        if (c.hosted) {
            host->AddSubSystem(printer);
            printer->SetOwner(host);
        }
        if (c.withInterface) {
            auto* nic = new CDrawNic(Rect{});
            d.AddObject(nic);
            nic->SetOwner(printer);
            printer->m_nics.append(nic);
        }
        AutomaticLayout::RepositionPrinters(d);
        const Point expected = c.moves ? Point{1000 + c.move.x, 500 + c.move.y} : Point{0, 0};
        EXPECT_EQ(topLeft(printer), expected) << c.what;
        EXPECT_EQ(printer->m_position.width(), 100) << c.what;
    }
}

} // namespace
