#include "MapBuildTesting.h"
#include "mapbuild/MapConstruction.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawText.h"

#include <gtest/gtest.h>

namespace {

using namespace MapBuildTesting;

const QString kForest = QStringLiteral("FOREST_TREE_TAVRIN");

class MapConstructionTest : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    CDrawSys* host(const QString& unc, const QString& fqdn, const QString& domain, int n)
    {
        if (!domain.isEmpty())
            doc.m_survey.DomainOfHost.insert(unc, domain);
        return addHost(doc, {unc, fqdn, {ip("10.0.0.0") + (quint32(n) << 24)}});
    }

    void build()
    {
        MapConstruction::MakeDomain(doc, [this](const QString& line) { status << line; });
    }

    CDrawDomain* domainNamed(const QString& name) const
    {
        for (CDrawDomain* domain : objectsOf<CDrawDomain>(doc)) {
            if (domain->m_strName == name)
                return domain;
        }
        return nullptr;
    }

    CNetDoc doc;
    QStringList status;
};

TEST_F(MapConstructionTest, WorkedExampleOfOneWorkgroup)
{
    CDrawSys* pc1 = host("\\\\PC1", "pc1.corp.example", "CORP", 1);
    CDrawSys* pc2 = host("\\\\PC2", "PC2", "CORP", 2);
    build();

    EXPECT_EQ(status, (QStringList{"調査結果を分析しています。", "ドメインを作成しました。",
                                   "フォレストを作成しました。", "システム情報を分析しています。",
                                   "システム内の描画位置作成しています。",
                                   "共有リソースプリンタの位置変更しています。"}));
    EXPECT_EQ(MapConstruction::Headline(), "システムの構成 の調査をします。");
    EXPECT_EQ(domainNames(doc), (QStringList{kForest, "corp.example"}));
    CDrawDomain* forest = forestOf(doc);
    CDrawDomain* corp = domainNamed("corp.example");
    ASSERT_TRUE(forest && corp);
    EXPECT_EQ(forest->m_pParent, nullptr);
    EXPECT_EQ(corp->m_pParent, forest);
    EXPECT_EQ(forest->m_subDomains, QList<CDrawObj*>{corp});
    EXPECT_EQ(corp->m_systems, (QList<CDrawObj*>{pc1, pc2}));
    EXPECT_EQ(pc1->GetOwner(), corp);
    EXPECT_EQ(pc1->m_strName, "corp.example");
    EXPECT_EQ(pc2->m_strName, "corp.example");
    EXPECT_EQ(pc2->m_strFqdn, "PC2.corp.example");
    EXPECT_EQ(static_cast<CDrawText*>(pc2->m_labels.first())->m_astrLines.first(),
              "PC2.corp.example");
    EXPECT_EQ(doc.m_survey.DomainOfHost.value("\\\\PC1"), "corp.example");
    EXPECT_EQ(doc.m_survey.DomainOfHost.value("\\\\PC2"), "corp.example");
    // Neither adapter has a gateway of its own: nothing to connect.
    EXPECT_TRUE(objectsOf<CDrawConnect>(doc).isEmpty());
}

TEST_F(MapConstructionTest, WithoutHostTableThereIsNoDomainButPrintersMove)
{
    CDrawSys* pc = host("\\\\PC1", "PC1", QString(), 1);
    pc->m_astrSharedPrinters << "\\\\PC1\\laser";
    build();

    EXPECT_TRUE(objectsOf<CDrawDomain>(doc).isEmpty());
    ASSERT_EQ(pc->m_subSystems.size(), 1);
    auto* printer = static_cast<CDrawSys*>(pc->m_subSystems.first());
    EXPECT_EQ(printer->m_nTypeCode, CDrawSys::kPrinter);
    EXPECT_EQ(printer->m_position.left, pc->m_position.left + printer->m_nMoveX);
    EXPECT_EQ(printer->m_position.top, pc->m_position.top + printer->m_nMoveY);
    EXPECT_TRUE(status.contains("共有リソースプリンタの位置変更しています。"));
}

TEST_F(MapConstructionTest, DnsSuffixesOfDomains)
{
    struct Case {
        const char* what;
        QList<QPair<QString, QString>> hosts; // UNC name, host name, all in CORP
        QString domain;                       // the domain's final name
        int members;
    };
    const Case cases[] = {
        {"suffix of the host", {{"\\\\PC1", "pc1.corp.example"}}, "corp.example", 1},
        {"later host wins", {{"\\\\PC1", "pc1.one.example"}, {"\\\\PC2", "pc2.two.example"}},
         "two.example", 2},
        {"dot too far forward", {{"\\\\PC1", "a.b.c"}}, "CORP", 1},
        {"UNC host name", {{"\\\\PC1", "\\\\PC1"}}, "CORP", 0},
        {"no suffix at all", {{"\\\\PC1", "PC1"}}, "CORP", 1},
    };
    for (const Case& c : cases) {
        CNetDoc d;
        int n = 0;
        for (const auto& [unc, fqdn] : c.hosts) {
            d.m_survey.DomainOfHost.insert(unc, "CORP");
            addHost(d, {unc, fqdn, {ip("10.0.0.1") + (quint32(++n) << 24)}});
        }
        MapConstruction::MakeDomain(d, {});
        EXPECT_EQ(domainNames(d), (QStringList{kForest, c.domain})) << c.what;
        auto* domain = objectsOf<CDrawDomain>(d).last();
        EXPECT_EQ(domain->m_systems.size(), c.members) << c.what;
    }
}

TEST_F(MapConstructionTest, SystemWithoutDomainJoinsEveryDomain)
{
    host("\\\\PC1", "PC1", "CORP", 1);
    host("\\\\PC2", "PC2", "SALES", 2);
    CDrawSys* device = host("scanner", "scanner", QString(), 3);
    build();

    const QList<CDrawDomain*> all = objectsOf<CDrawDomain>(doc);
    ASSERT_EQ(all.size(), 3);
    // The domains sit at the head, the latest made first; the later one in
    // the list takes the device last and becomes its owner.
    EXPECT_EQ(all.at(0)->m_strName, "SALES");
    EXPECT_EQ(all.at(2)->m_strName, "CORP");
    EXPECT_TRUE(all.at(0)->m_systems.contains(device));
    EXPECT_TRUE(all.at(2)->m_systems.contains(device));
    EXPECT_EQ(device->GetOwner(), all.at(2));
}

TEST_F(MapConstructionTest, HostNamesAreCompletedUnlessTheyStartWithTheDomain)
{
    host("\\\\PC1", "pc1.corp.example", "CORP", 1);
    CDrawSys* prefixed = host("\\\\CORPPC", "CORPPC", "CORP", 2);
    CDrawSys* plain = host("\\\\PC3", "pc3", "CORP", 3);
    build();

    EXPECT_EQ(prefixed->m_strFqdn, "CORPPC");
    EXPECT_EQ(plain->m_strFqdn, "pc3.corp.example");
}

TEST_F(MapConstructionTest, SharedPrintersHangOnTheirHosts)
{
    struct Case {
        const char* what;
        QString share;
        QString description;
        QString host;        // UNC name of the expected host
        QStringList lines;   // the printer's label
    };
    const Case cases[] = {
        {"own printer", "\\\\PC1\\laser", "laser//HP LaserJet", "\\\\PC1",
         {"\\\\PC1\\laser", "HP LaserJet"}},
        {"host compared ignoring case", "\\\\pc2\\ink", "ink//Inkjet", "\\\\PC2",
         {"\\\\pc2\\ink"}},
        {"description without slash", "\\\\PC1\\", "HPLaser", "\\\\PC1",
         {"\\\\PC1\\", "PLaser"}},
        {"host not on the map", "\\\\GONE\\laser", "laser//x", "\\\\PC1", {"\\\\GONE\\laser"}},
        {"no host part", "laser", "laser//x", "\\\\PC1", {"laser"}},
    };
    for (const Case& c : cases) {
        CNetDoc d;
        CDrawSys* pc1 = addHost(d, {"\\\\PC1", "PC1", {ip("10.0.0.1")}});
        CDrawSys* pc2 = addHost(d, {"\\\\PC2", "PC2", {ip("10.0.0.2")}});
        pc1->m_astrSharedPrinters << c.share;
        pc1->m_astrShareLines << c.description;
        MapConstruction::MakeDomain(d, {});
        CDrawSys* owner = c.host == "\\\\PC1" ? pc1 : pc2;
        ASSERT_EQ(owner->m_subSystems.size(), 1) << c.what;
        auto* printer = static_cast<CDrawSys*>(owner->m_subSystems.first());
        EXPECT_EQ(printer->m_pOwnerSys, owner) << c.what;
        EXPECT_EQ(printer->m_strFqdn, c.share) << c.what;
        EXPECT_EQ(static_cast<CDrawText*>(printer->m_labels.first())->m_astrLines, c.lines)
            << c.what;
    }
}

TEST_F(MapConstructionTest, OneForestOwnsEveryDomainAndTheSegments)
{
    host("\\\\PC1", "PC1", "CORP", 1);
    host("\\\\PC2", "PC2", "SALES", 2);
    host("\\\\PC3", "PC3", "WORKGROUP", 3);
    auto* orphan = new CDrawSegment(Rect{});
    doc.AddObject(orphan);
    build();

    const QList<CDrawDomain*> all = objectsOf<CDrawDomain>(doc);
    CDrawDomain* forest = forestOf(doc);
    ASSERT_TRUE(forest);
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const CDrawDomain* d) { return d->m_strName == kForest; }),
              1);
    EXPECT_EQ(forest->m_subDomains.size(), 3);
    for (CDrawObj* domain : forest->m_subDomains)
        EXPECT_EQ(domain->GetOwner(), forest);
    // The hosts' own segments and the one of address 0 (any non-interface
    // object answers gateway 0).
    EXPECT_EQ(forest->m_segments.size(), 4);
    EXPECT_TRUE(forest->m_segments.contains(orphan));
}

} // namespace

namespace {

TEST_F(MapConstructionTest, HostsOfNoDomainStandBesideTheDomains)
{
    host("\\\\PC1", "pc1.corp.example", "CORP", 1);
    host("\\\\PC2", "pc2.corp.example", "CORP", 2);
    // No answer to ping, nothing resolved, no domain known.
    CDrawSys* silent = host("\\\\PC3", "\\\\PC3", "CORP", 3);
    CDrawSys* nameless = host("\\\\PC4", QString(), "CORP", 4);
    CDrawSys* stranger = host("\\\\PC5", "PC5", QString(), 5);
    build();

    EXPECT_EQ(overlappingSystems(doc), 0);
    const Rect forest = forestOf(doc)->m_rcExtent.normalized();
    for (const CDrawSys* loose : {silent, nameless})
        EXPECT_GE(loose->m_position.left, forest.right);
    // A system of no domain of its own joins the domains instead.
    EXPECT_NE(stranger->GetOwner(), nullptr);
}

TEST_F(MapConstructionTest, SurveyWithoutDomainsIsLaidOutToo)
{
    for (int i = 1; i <= 12; ++i)
        host(QStringLiteral("\\\\PC%1").arg(i), QStringLiteral("\\\\PC%1").arg(i), QString(), i);
    build();

    EXPECT_TRUE(objectsOf<CDrawDomain>(doc).isEmpty());
    EXPECT_EQ(overlappingSystems(doc), 0);
}

TEST_F(MapConstructionTest, PrinterOfAnOddShareStaysWithItsHost)
{
    CDrawSys* pc = host("\\\\PC1", "pc1.corp.example", "CORP", 1);
    pc->m_astrSharedPrinters << "laser";
    build();

    ASSERT_EQ(pc->m_subSystems.size(), 1);
    auto* printer = static_cast<CDrawSys*>(pc->m_subSystems.first());
    EXPECT_EQ(printer->GetOwner(), pc);
    for (CDrawDomain* domain : objectsOf<CDrawDomain>(doc))
        EXPECT_FALSE(domain->m_systems.contains(printer));
}

} // namespace
