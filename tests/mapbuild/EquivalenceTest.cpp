// The indexed map construction against the literal one on random surveys:
// the same objects in the same order with the same fields, owners, lists and
// connections, the same host table and status lines, after construction,
// re-layout and re-wiring.
#include "LiteralMapConstruction.h"
#include "MapBuildTesting.h"
#include "SurveyGenerator.h"
#include "document/CNetDoc.h"
#include "document/DocumentDump.h"
#include "mapbuild/MapConstruction.h"
#include "mapbuild/MapRebuild.h"
#include "objects/CDrawSys.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

constexpr int kSeeds = 400;

// What the random surveys led to, summed over all seeds, so that a change of
// the generator cannot quietly stop reaching a part of the construction.
struct Coverage {
    int routers = 0;
    int hostedPrinters = 0;
    int domains = 0;
    int connections = 0;
    int hostsWithExtraInterface = 0;
    int overlaps = 0;

    void Add(const CNetDoc& doc)
    {
        overlaps += MapBuildTesting::overlappingSystems(doc);
        for (const CDrawObj* object : doc.m_objects) {
            const QString cls = QString::fromLatin1(object->GetRuntimeClass().name);
            if (cls == "CDrawDomain")
                ++domains;
            if (cls == "CDrawConnect")
                ++connections;
            if (cls != "CDrawSys")
                continue;
            const auto* system = static_cast<const CDrawSys*>(object);
            if (system->m_nTypeCode == CDrawSys::kRouter)
                ++routers;
            if (system->m_pOwnerSys)
                ++hostedPrinters;
            if (!system->m_strUncName.isEmpty() && system->m_nics.size() > qsizetype(system->m_adapterAddresses.size()))
                ++hostsWithExtraInterface;
        }
    }
};

struct Survey {
    Survey(quint32 seed, int hosts)
    {
        doc.m_bSnapshots = false;
        SurveyGenerator(seed).Fill(doc, hosts);
    }

    CNetDoc doc;
    QStringList status;
};

// The first difference of the two maps, or nothing. The archive holds every
// object's fields, owners, lists and connections; the listing, slower,
// only tells where they differ.
QString firstDifference(CNetDoc& a, CNetDoc& b)
{
    if (a.m_survey.DomainOfHost != b.m_survey.DomainOfHost)
        return QStringLiteral("DomainOfHost");
    if (a.m_survey.GatewayHostName != b.m_survey.GatewayHostName)
        return QStringLiteral("GatewayHostName");
    if (a.SaveContents() == b.SaveContents())
        return {};
    const QJsonObject da = DocumentDump::toJson(a);
    const QJsonObject db = DocumentDump::toJson(b);
    if (da == db)
        return {};
    const QJsonArray oa = da.value("objects").toArray();
    const QJsonArray ob = db.value("objects").toArray();
    for (qsizetype i = 0; i < std::min(oa.size(), ob.size()); ++i) {
        if (oa.at(i) != ob.at(i)) {
            return QString::fromUtf8(QJsonDocument(oa.at(i).toObject()).toJson()) + "\nversus\n"
                   + QString::fromUtf8(QJsonDocument(ob.at(i).toObject()).toJson());
        }
    }
    return QStringLiteral("object lists of %1 and %2 entries").arg(oa.size()).arg(ob.size());
}

// Moves some systems as the user would, the same ones in both maps.
void moveSome(CNetDoc& doc)
{
    for (qsizetype i = 0; i < doc.m_objects.size(); i += 7) {
        CDrawObj* object = doc.m_objects.at(i);
        if (&object->GetRuntimeClass() == &CDrawSys::StaticClass())
            object->MoveTo(object->m_position.translated(333, 77), nullptr);
    }
}

TEST(EquivalenceTest, IndexedConstructionMatchesTheLiteralOneOnRandomSurveys)
{
    Coverage coverage;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        const int hosts = 3 + seed % 67;
        Survey indexed(quint32(seed), hosts);
        Survey literal(quint32(seed), hosts);
        MapConstruction::MakeDomain(indexed.doc,
                                    [&](const QString& line) { indexed.status << line; });
        LiteralMapConstruction::MakeDomain(literal.doc,
                                           [&](const QString& line) { literal.status << line; });
        ASSERT_EQ(indexed.status, literal.status) << "seed " << seed;
        ASSERT_EQ(firstDifference(indexed.doc, literal.doc), QString()) << "seed " << seed;
        coverage.Add(indexed.doc);

        moveSome(indexed.doc);
        moveSome(literal.doc);
        MapRebuild::Relayout(indexed.doc);
        LiteralMapConstruction::Relayout(literal.doc);
        ASSERT_EQ(firstDifference(indexed.doc, literal.doc), QString())
            << "seed " << seed << " after re-layout";

        MapRebuild::Rewire(indexed.doc);
        LiteralMapConstruction::Rewire(literal.doc);
        ASSERT_EQ(firstDifference(indexed.doc, literal.doc), QString())
            << "seed " << seed << " after re-wiring";
    }
    EXPECT_GT(coverage.routers, kSeeds / 4);
    EXPECT_GT(coverage.hostedPrinters, kSeeds / 4);
    EXPECT_GT(coverage.domains, 2 * kSeeds);
    EXPECT_GT(coverage.connections, 10 * kSeeds);
    EXPECT_GT(coverage.hostsWithExtraInterface, 10);
    EXPECT_EQ(coverage.overlaps, 0);
    ::testing::Test::RecordProperty("routers", coverage.routers);
    ::testing::Test::RecordProperty("connections", coverage.connections);
}

TEST(EquivalenceTest, LargerSurveysToo)
{
    for (int seed = 1000; seed < 1004; ++seed) {
        Survey indexed(quint32(seed), 400);
        Survey literal(quint32(seed), 400);
        MapConstruction::MakeDomain(indexed.doc, {});
        LiteralMapConstruction::MakeDomain(literal.doc, [](const QString&) {});
        ASSERT_EQ(firstDifference(indexed.doc, literal.doc), QString()) << "seed " << seed;
    }
}

} // namespace
