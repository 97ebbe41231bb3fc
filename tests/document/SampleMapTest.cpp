#include "app/SampleMap.h"
#include "document/CNetDoc.h"
#include "document/DocumentDump.h"
#include "mapview/MapRenderer.h"
#include "objects/CDrawConnect.h"

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
    EXPECT_EQ(connections, 5);

    const QByteArray saved = doc.SaveContents();
    CNetDoc loaded;
    loaded.LoadContents(saved);
    EXPECT_EQ(loaded.SaveContents(), saved);
    EXPECT_EQ(QJsonDocument(DocumentDump::toJson(loaded)).toJson(),
              QJsonDocument(DocumentDump::toJson(doc)).toJson());
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
