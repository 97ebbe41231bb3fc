#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "document/CompoundFile.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawPoly.h"
#include "objects/CDrawRect.h"
#include "support/ArchiveBytes.h"
#include "support/FakeDrawView.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QtEndian>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

class PrimitivesTest : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    template <class T>
    T* add(T* object)
    {
        doc.AddObject(object);
        return object;
    }

    // Saves the document and loads it into a fresh one; the second save must
    // give the same bytes.
    std::unique_ptr<CNetDoc> roundTrip(bool compound = false)
    {
        const QByteArray saved = doc.SaveContents(compound);
        auto loaded = std::make_unique<CNetDoc>();
        if (compound)
            loaded->m_embeddings = doc.CollectEmbeddings();
        loaded->LoadContents(saved, compound);
        EXPECT_EQ(loaded->SaveContents(compound), saved);
        return loaded;
    }

    CNetDoc doc;
    FakeDrawView view;
};

TEST_F(PrimitivesTest, LineEndsArePulledInsideByHalfThePenWidth)
{
    struct Case {
        Rect position;
        Point width;
        QLine ends;
    };
    const Case cases[] = {
        {{100, 100, 300, 200}, {10, 1}, QLine(105, 101, 295, 200)},
        {{300, 200, 100, 100}, {10, 1}, QLine(295, 200, 105, 101)},
        {{100, 200, 300, 100}, {3, 3}, QLine(102, 199, 299, 102)},
    };
    for (const Case& c : cases) {
        CDrawRect line(c.position);
        line.m_nShape = CDrawRect::line;
        line.m_logpen.lopnWidth = c.width;
        EXPECT_EQ(line.LineEnds(), c.ends);
    }
}

TEST_F(PrimitivesTest, DrawingForcesThePenOfLinesAndShapes)
{
    QImage image(400, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    CDrawRect line(Rect{0, 0, 100, 100});
    line.m_nShape = CDrawRect::line;
    line.Draw(painter);
    EXPECT_EQ(line.m_logpen.lopnWidth.x, 10);
    EXPECT_EQ(line.m_logpen.lopnColor, 0x00C0C0C0u);
    CDrawRect ellipse(Rect{0, 0, 100, 100});
    ellipse.m_nShape = CDrawRect::ellipse;
    ellipse.m_logpen = LogPen{0, Point{7, 7}, 0x0000FF};
    ellipse.Draw(painter);
    EXPECT_EQ(ellipse.m_logpen.lopnWidth.x, 1);
    EXPECT_EQ(ellipse.m_logpen.lopnColor, 0u);
}

TEST_F(PrimitivesTest, HandlesOfLinesAndRoundedRectangles)
{
    CDrawRect line(Rect{0, 0, 100, 50});
    line.m_nShape = CDrawRect::line;
    EXPECT_EQ(line.GetHandleCount(), 2);
    EXPECT_EQ(line.GetHandle(2), (Point{100, 50}));
    EXPECT_EQ(line.GetHandleCursor(2), HandleCursor::SizeNWSE);
    line.MoveHandleTo(2, Point{120, 70}, nullptr);
    EXPECT_EQ(line.m_position, (Rect{0, 0, 120, 70}));

    auto* round = add(new CDrawRect(Rect{0, 0, 100, 60}));
    round->m_nShape = CDrawRect::roundRectangle;
    EXPECT_EQ(round->GetHandleCount(), 9);
    EXPECT_EQ(round->GetHandle(9), (Point{90, 50}));
    EXPECT_EQ(round->GetHandleCursor(9), HandleCursor::SizeAll);
    doc.SetModifiedFlag(false);
    round->MoveHandleTo(9, Point{80, 40}, &view);
    EXPECT_EQ(round->m_position, (Rect{0, 0, 100, 60}));
    EXPECT_EQ(round->m_roundness, (Point{40, 40}));
    EXPECT_TRUE(doc.IsModified());
    // Clamped to the centre lines and one unit inside the corner.
    round->MoveHandleTo(9, Point{-500, 500}, &view);
    EXPECT_EQ(round->m_roundness, (Point{100, 2}));

    CDrawRect plain(Rect{0, 0, 10, 10});
    EXPECT_EQ(plain.GetHandleCount(), 8);
}

TEST_F(PrimitivesTest, IntersectsFollowsTheShape)
{
    struct Case {
        int shape;
        Rect probe;
        bool hit;
    };
    const Case cases[] = {
        {CDrawRect::rectangle, {1, 1, 2, 2}, true},
        {CDrawRect::ellipse, {1, 1, 2, 2}, false},
        {CDrawRect::ellipse, {50, 50, 51, 51}, true},
        {CDrawRect::roundRectangle, {0, 0, 2, 2}, false},
        {CDrawRect::line, {50, 50, 51, 51}, true},
        {CDrawRect::line, {90, 5, 91, 6}, false},
        {CDrawRect::rectangle, {200, 200, 201, 201}, false},
    };
    for (const Case& c : cases) {
        CDrawRect shape(Rect{0, 0, 100, 100});
        shape.m_nShape = c.shape;
        EXPECT_EQ(shape.Intersects(c.probe), c.hit) << c.shape << " " << c.probe.left;
    }
}

TEST_F(PrimitivesTest, PolygonGrowsByTenAndIgnoresRepeatedPoints)
{
    auto* poly = add(new CDrawPoly(Rect{}));
    EXPECT_EQ(poly->m_bBrush, 0);
    poly->AddPoint(Point{10, 10}, nullptr);
    poly->AddPoint(Point{10, 10}, nullptr);
    EXPECT_EQ(poly->m_nPoints, 1);
    for (int i = 1; i < 11; ++i)
        poly->AddPoint(Point{10 + i * 10, 10 + (i % 2) * 50}, nullptr);
    EXPECT_EQ(poly->m_nPoints, 11);
    EXPECT_EQ(poly->m_nAllocPoints, 20);
    EXPECT_EQ(poly->m_position, (Rect{10, 10, 110, 60}));
    EXPECT_EQ(poly->m_rcExtent, poly->m_position);

    auto loaded = roundTrip();
    auto* copy = static_cast<CDrawPoly*>(loaded->m_objects.at(0));
    EXPECT_EQ(copy->m_nPoints, 11);
    EXPECT_EQ(copy->m_nAllocPoints, 20);
    EXPECT_EQ(copy->m_points, poly->m_points);
}

TEST_F(PrimitivesTest, PolygonMovesItsVerticesAndHandles)
{
    auto* poly = add(new CDrawPoly(Rect{}));
    for (Point p : {Point{0, 0}, Point{100, 0}, Point{50, 80}})
        poly->AddPoint(p, nullptr);
    EXPECT_EQ(poly->GetHandleCount(), 3);
    EXPECT_EQ(poly->GetHandle(3), (Point{50, 80}));
    EXPECT_EQ(poly->GetHandleCursor(1), HandleCursor::Arrow);
    EXPECT_THROW(poly->GetHandle(4), ArchiveException);

    poly->MoveTo(Rect{10, 20, 110, 100}, &view);
    EXPECT_EQ(poly->m_points, (QList<Point>{{10, 20}, {110, 20}, {60, 100}}));
    poly->MoveHandleTo(3, Point{60, 200}, &view);
    EXPECT_EQ(poly->m_position, (Rect{10, 20, 110, 200}));
    EXPECT_TRUE(poly->Intersects(Rect{55, 50, 56, 51}));
    EXPECT_FALSE(poly->Intersects(Rect{12, 190, 13, 191}));
}

TEST_F(PrimitivesTest, PolygonRecordsAreReadSafely)
{
    const auto polyRecord = [](quint16 points, quint16 alloc, int written) {
        ArchiveBytes b;
        b.newClass("CDrawPoly").drawObjRecord(0, 0, 10, 10).word(points).word(alloc);
        for (int i = 0; i < written; ++i)
            b.dword(quint32(i)).dword(quint32(i));
        return b.bytes();
    };
    // More vertices than the recorded capacity: read, kept and written back.
    {
        const QByteArray bytes = polyRecord(3, 1, 3);
        Archive ar(bytes, &doc);
        auto* poly = static_cast<CDrawPoly*>(ar.readObject(nullptr));
        ASSERT_EQ(poly->m_points.size(), 3);
        QByteArray out;
        {
            Archive again(out);
            again.writeObject(poly);
        }
        EXPECT_EQ(out, bytes);
    }
    // A vertex count the input cannot hold.
    const QByteArray cut = polyRecord(60000, 60000, 2);
    Archive ar(cut, &doc);
    EXPECT_THROW(ar.readObject(nullptr), ArchiveException);
}

QByteArray pngBytes(QColor color)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

CDrawOleObj* embeddedPicture(CNetDoc& doc, quint32 number)
{
    auto* object = new CDrawOleObj(Rect{100, 100, 100, 100});
    auto* item = new CDrawItem;
    item->m_dwType = 1;
    item->m_dwItemNumber = number;
    item->m_dwAspect = 1;
    item->m_dwDrawAspect = 1;
    StorageNode storage;
    storage.classId = QByteArray::fromHex("0c00030000000000c000000000000046");
    storage.streams = {{QStringLiteral("CONTENTS"), pngBytes(Qt::red)}};
    item->SetStorage(storage);
    object->SetItem(item);
    doc.AddObject(object);
    object->UpdateExtent(Size{5000, 3000});
    return object;
}

TEST_F(PrimitivesTest, EmbeddedObjectTakesItsSizeFromTheItemExtent)
{
    CDrawOleObj* object = embeddedPicture(doc, 1);
    EXPECT_EQ(object->m_position, (Rect{100, 100, 600, 400}));
    EXPECT_EQ(object->m_rcExtent, object->m_position);
    object->UpdateExtent(Size{10000, 1500});
    EXPECT_EQ(object->m_position, (Rect{100, 100, 1100, 250}));
}

TEST_F(PrimitivesTest, EmbeddedItemsSurviveCompoundAndPlainArchives)
{
    embeddedPicture(doc, 1);
    embeddedPicture(doc, 2)->m_pClientItem->m_wMoniker = 1;

    auto plain = roundTrip(false);
    auto compound = roundTrip(true);
    for (CNetDoc* loaded : {plain.get(), compound.get()}) {
        ASSERT_EQ(loaded->m_objects.size(), 2);
        auto* object = static_cast<CDrawOleObj*>(loaded->m_objects.at(1));
        ASSERT_NE(object->m_pClientItem, nullptr);
        EXPECT_EQ(object->m_pClientItem->m_pDrawObj, object);
        EXPECT_EQ(object->m_pClientItem->m_wMoniker, 1);
        EXPECT_EQ(object->m_pClientItem->Storage().name, "Embedding 2");
        EXPECT_EQ(object->m_pClientItem->Storage().streams,
                  static_cast<CDrawOleObj*>(doc.m_objects.at(1))->m_pClientItem->Storage().streams);
        EXPECT_TRUE(loaded->m_embeddings.isEmpty());
    }

    // Through a real map file as well.
    const QString path = TestFiles::scratchPath("embedded-items.vxnj");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CNetDoc reopened;
    QString error;
    ASSERT_TRUE(reopened.OnOpenDocument(path, &error)) << error.toStdString();
    EXPECT_EQ(reopened.CollectEmbeddings().size(), 2);
    EXPECT_EQ(reopened.SaveContents(true), doc.SaveContents(true));
}

TEST_F(PrimitivesTest, EmbeddedObjectDrawsItsPictureOrAFrame)
{
    CDrawOleObj* object = embeddedPicture(doc, 1);
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    object->Draw(painter);
    EXPECT_EQ(image.pixelColor(300, 250), QColor(Qt::red));

    CDrawOleObj bare(Rect{0, 0, 50, 50});
    bare.Draw(painter);
    painter.end();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
}

// A presentation stream holding a 2x2 picture as a device-independent
// bitmap: 8 bits a pixel, a palette of usedColors entries (red first).
QByteArray presentationOfDib(quint32 usedColors)
{
    QByteArray dib;
    const auto dword = [&dib](quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        dib.append(bytes, 4);
    };
    dword(40);
    dword(2);
    dword(2);
    dword(1 | (8 << 16)); // planes, bits a pixel
    for (int n = 0; n < 4; ++n)
        dword(0); // compression, image size, resolution
    dword(usedColors);
    dword(0);
    dword(0x00FF0000); // palette entry 0: red, as blue-green-red-reserved
    dword(0x0000FF00);
    dib.append(QByteArray(8, '\0')); // two rows of two pixels, padded to 4
    QByteArray stream;
    const auto header = [&stream](quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        stream.append(bytes, 4);
    };
    header(0xFFFFFFFFu);
    header(8); // a device-independent bitmap
    header(4); // no target device
    for (int n = 0; n < 6; ++n)
        header(n == 4 || n == 5 ? 2 : 0);
    header(quint32(dib.size()));
    return stream + dib;
}

TEST_F(PrimitivesTest, AnEmbeddedPictureIsReadFromItsPresentationAndABogusPaletteIsRefused)
{
    for (const auto& [usedColors, drawn] : {std::pair(2u, true), std::pair(0x40000001u, false)}) {
        CDrawItem item;
        StorageNode storage;
        storage.streams = {{QStringLiteral("\002OlePres000"), presentationOfDib(usedColors)}};
        item.SetStorage(storage);
        const QImage picture = item.Picture();
        EXPECT_EQ(!picture.isNull(), drawn) << usedColors;
        if (drawn) {
            EXPECT_EQ(picture.size(), QSize(2, 2));
            EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::red));
        }
    }
}

TEST_F(PrimitivesTest, AnItemSharedByTwoObjectsIsRefused)
{
    embeddedPicture(doc, 1);
    // Point a second object at the first one's item, by index.
    CNetDoc probe;
    auto* second = new CDrawOleObj(Rect{0, 0, 1, 1});
    probe.AddObject(second);
    QByteArray bytes;
    {
        Archive ar(bytes);
        ar.writeObject(doc.m_objects.at(0));
        ar.writeObject(second);
    }
    // The second object's item reference (a null tag, its last two bytes
    // before the end) becomes the index of the first item (class CDrawOleObj
    // 1, object 2, class CDrawItem 3, item 4).
    bytes.chop(2);
    bytes.append(ArchiveBytes().word(4).bytes());
    Archive ar(bytes, &doc);
    ar.readObject(nullptr);
    try {
        ar.readObject(nullptr);
        FAIL() << "loaded";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.cause(), ArchiveException::Cause::BadClass);
    }
}

TEST_F(PrimitivesTest, ClonesCopyTheirShapeData)
{
    auto* round = add(new CDrawRect(Rect{0, 0, 10, 10}));
    round->m_nShape = CDrawRect::roundRectangle;
    round->m_roundness = Point{4, 6};
    round->m_nMoveX = 99;
    auto* copy = static_cast<CDrawRect*>(round->Clone(&doc));
    EXPECT_EQ(copy->m_nShape, CDrawRect::roundRectangle);
    EXPECT_EQ(copy->m_roundness, (Point{4, 6}));
    EXPECT_EQ(copy->m_nMoveX, 0);

    CDrawOleObj* object = embeddedPicture(doc, 7);
    auto* objectCopy = static_cast<CDrawOleObj*>(object->Clone(&doc));
    ASSERT_NE(objectCopy->m_pClientItem, nullptr);
    EXPECT_EQ(objectCopy->m_pClientItem->m_dwItemNumber, 8u);
    EXPECT_FALSE(objectCopy->m_pClientItem->Picture().isNull());
    EXPECT_EQ(doc.m_objects.size(), 4);
}

} // namespace
