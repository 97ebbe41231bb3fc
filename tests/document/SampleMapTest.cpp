#include "app/SampleMap.h"
#include "document/CNetDoc.h"
#include "document/DocumentDump.h"
#include "mapview/MapRenderer.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawPoly.h"
#include "objects/CDrawRect.h"
#include "objects/CDrawText.h"
#include "objects/CDrawDomain.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

TEST(SampleMap, EveryKindSurvivesSaveAndLoad)
{
    CNetDoc doc;
    doc.OnNewDocument();
    SampleMap::build(doc);
    int connections = 0;
    for (const CDrawObj* object : doc.m_objects)
        connections += object->IsConnection() ? 1 : 0;
    // One per device behind the router; the router is not wired to itself.
    EXPECT_EQ(connections, 4);

    const QByteArray saved = doc.SaveContents();
    CNetDoc loaded;
    loaded.LoadContents(saved);
    EXPECT_EQ(loaded.SaveContents(), saved);
    EXPECT_EQ(QJsonDocument(DocumentDump::toJson(loaded)).toJson(),
              QJsonDocument(DocumentDump::toJson(doc)).toJson());
}

// Reserve data in every block of every object, drawing primitives and an
// embedded object added to the sample.
void addEverythingElse(CNetDoc& doc)
{
    auto* rect = new CDrawRect(Rect{10, 10, 200, 100});
    rect->m_nShape = CDrawRect::roundRectangle;
    doc.AddObject(rect);
    auto* poly = new CDrawPoly(Rect{});
    doc.AddObject(poly);
    for (Point p : {Point{0, 0}, Point{50, 80}, Point{100, 0}})
        poly->AddPoint(p, nullptr);
    auto* ole = new CDrawOleObj(Rect{300, 2000, 600, 2300});
    auto* item = new CDrawItem;
    item->m_dwItemNumber = 1;
    StorageNode storage;
    storage.streams = {{QStringLiteral("CONTENTS"), QByteArray("data")}};
    item->SetStorage(storage);
    ole->SetItem(item);
    doc.AddObject(ole);
    int n = 0;
    for (CDrawObj* object : doc.m_objects) {
        ++n;
        object->m_reserve.m_adwArrays[n % 10] = {quint32(n)};
        object->m_reserve.m_arcArrays[n % 5] = {Rect{n, n, n, n}};
        if (object->IsKindOf(CDrawDomain::StaticClass())) {
            auto* domain = static_cast<CDrawDomain*>(object);
            domain->m_domainReserve.m_astrArrays[9] = {QString::number(n)};
            domain->m_domainReserve.m_aobjLists[4] = {object};
        }
        if (object->IsKindOf(CDrawSys::StaticClass()))
            static_cast<CDrawSys*>(object)->m_sysReserve.m_asizeArrays[3] = {Size{n, -n}};
        if (object->IsKindOf(CDrawNic::StaticClass()))
            static_cast<CDrawNic*>(object)->m_nicReserve.m_adwArrays[8] = {7};
        if (object->IsKindOf(CDrawText::StaticClass()))
            static_cast<CDrawText*>(object)->m_textReserve.m_aptArrays[1] = {Point{n, 1}};
        if (object->IsConnection())
            static_cast<CDrawConnect*>(object)->m_connectReserve.m_aobjLists[0] = {doc.m_objects.last()};
    }
    doc.m_reserve.m_aobjLists[9] = {doc.m_objects.first()};
}

TEST(SampleMap, EveryClassWithReserveDataSurvivesBothFileForms)
{
    CNetDoc doc;
    doc.OnNewDocument();
    SampleMap::build(doc);
    addEverythingElse(doc);
    for (bool compound : {false, true}) {
        const QByteArray saved = doc.SaveContents(compound);
        CNetDoc loaded;
        if (compound)
            loaded.m_embeddings = doc.CollectEmbeddings();
        loaded.LoadContents(saved, compound);
        EXPECT_EQ(loaded.SaveContents(compound), saved) << compound;
        EXPECT_EQ(QJsonDocument(DocumentDump::toJson(loaded)).toJson(),
                  QJsonDocument(DocumentDump::toJson(doc)).toJson());
    }
}

TEST(SampleMap, RendersOnOnePage)
{
    CNetDoc doc;
    doc.OnNewDocument();
    SampleMap::build(doc);
    const QImage image = MapRenderer::render(doc, 50);
    EXPECT_EQ(MapRenderer::pagesArea(doc), (Rect{0, 0, 2100, 2970}));
    ASSERT_EQ(image.size(), QSize(413, 585));
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    EXPECT_GT(drawn, 1000);
}

} // namespace
