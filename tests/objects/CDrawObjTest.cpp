#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "objects/CDrawObj.h"
#include "support/FakeDrawView.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Records the order in which objects are drawn.
class RecordingObj : public CDrawObj {
public:
    RecordingObj(const Rect& r, QStringList* log, QString name, bool connection = false)
        : CDrawObj(r)
        , m_log(log)
        , m_name(std::move(name))
        , m_connection(connection)
    {
    }
    void Draw(QPainter&) override { m_log->append(m_name); }
    void DrawTracker(QPainter&, TrackerState) override { m_log->append(m_name + "+handles"); }
    bool IsConnection() const override { return m_connection; }
    QList<CDrawObj*> AttachedObjects() const override { return attached; }

    QList<CDrawObj*> attached;

private:
    QStringList* m_log;
    QString m_name;
    bool m_connection;
};

class CDrawObjTest : public ::testing::Test {
protected:
    void SetUp() override { doc.OnNewDocument(); }

    CNetDoc doc;
    FakeDrawView view;
};

TEST_F(CDrawObjTest, SavingNormalisesThePositionInPlace)
{
    CDrawObj object(Rect{200, 300, 100, 50});
    QByteArray out;
    {
        Archive ar(out);
        object.Serialize(ar);
    }
    EXPECT_EQ(object.m_position, (Rect{100, 50, 200, 300}));
    Archive in(out, &doc);
    CDrawObj loaded;
    loaded.Serialize(in);
    EXPECT_EQ(loaded.m_position, (Rect{100, 50, 200, 300}));
    EXPECT_EQ(loaded.m_rcNormal, (Rect{100, 50, 200, 300}));
    EXPECT_EQ(loaded.m_ptCenter, (Point{150, 175}));
    EXPECT_EQ(loaded.m_pDocument, &doc);
    EXPECT_TRUE(in.atEnd());
}

TEST_F(CDrawObjTest, ExtremeCoordinatesFromAFileDoNotOverflow)
{
    CDrawObj object(Rect{1634878531, -2000000000, 1952671086, 2000000000});
    QByteArray out;
    {
        Archive ar(out);
        object.Serialize(ar);
    }
    Archive in(out, &doc);
    CDrawObj loaded;
    loaded.Serialize(in);
    EXPECT_EQ(loaded.m_ptCenter, (Point{1793774808, 0}));
    EXPECT_EQ(Rect({-2000000000, 0, 2000000000, 1}).width(), qint32(4000000000LL - (1LL << 32)));
}

TEST_F(CDrawObjTest, MoveToAccumulatesTheDisplacement)
{
    auto* object = new CDrawObj(Rect{100, 100, 200, 200});
    doc.AddObject(object);
    doc.SetModifiedFlag(false);
    object->MoveTo(Rect{100, 100, 200, 200}, &view);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(view.invalidated.isEmpty());

    object->MoveTo(Rect{150, 80, 250, 180}, &view);
    EXPECT_EQ(object->m_nMoveX, 50);
    EXPECT_EQ(object->m_nMoveY, -20);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.invalidated, (QList<Rect>{{100, 100, 200, 200}, {150, 80, 250, 180}}));

    // Without a view the document's views are told, before and after.
    QSignalSpy spy(&doc, &CNetDoc::viewsUpdateRequested);
    object->MoveTo(Rect{250, 180, 150, 80}, nullptr);
    EXPECT_EQ(object->m_nMoveX, 50);
    EXPECT_EQ(object->m_nMoveY, -20);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
}

TEST_F(CDrawObjTest, HandlesAndTheirMoves)
{
    struct Case {
        int handle;
        Point point;      // where GetHandle puts it on (0, 0, 100, 50)
        HandleCursor cursor;
        Rect afterMoveTo; // MoveHandleTo(handle, (-10, -20))
    };
    const Case cases[] = {
        {0, {0, 0}, HandleCursor::SizeNWSE, {-10, -20, 100, 50}},
        {1, {0, 0}, HandleCursor::SizeNWSE, {-10, -20, 100, 50}},
        {2, {50, 0}, HandleCursor::SizeNS, {0, -20, 100, 50}},
        {3, {100, 0}, HandleCursor::SizeNESW, {0, -20, -10, 50}},
        {4, {100, 25}, HandleCursor::SizeWE, {0, 0, -10, 50}},
        {5, {100, 50}, HandleCursor::SizeNWSE, {0, 0, -10, -20}},
        {6, {50, 50}, HandleCursor::SizeNS, {0, 0, 100, -20}},
        {7, {0, 50}, HandleCursor::SizeNESW, {-10, 0, 100, -20}},
        {8, {0, 25}, HandleCursor::SizeWE, {-10, 0, 100, 50}},
        {9, {0, 0}, HandleCursor::SizeNWSE, {-10, -20, 100, 50}},
    };
    for (const Case& c : cases) {
        CDrawObj object(Rect{0, 0, 100, 50});
        EXPECT_EQ(object.GetHandle(c.handle), c.point) << c.handle;
        EXPECT_EQ(object.GetHandleCursor(c.handle), c.cursor) << c.handle;
        object.MoveHandleTo(c.handle, Point{-10, -20}, nullptr);
        EXPECT_EQ(object.m_position, c.afterMoveTo) << c.handle;
    }
    EXPECT_EQ(CDrawObj().GetHandleCount(), 8);
}

TEST_F(CDrawObjTest, HandleHitAreaIsSixBySixDevicePixels)
{
    CDrawObj object(Rect{100, 100, 200, 200});
    // Handle 1 at (100, 100): hit for x in 97..102 and y in 98..103.
    struct Case {
        Point point;
        int hit;
    };
    const Case cases[] = {{{97, 98}, 1},  {{102, 103}, 1}, {{96, 100}, 0}, {{103, 100}, 0},
                          {{100, 97}, 0}, {{100, 104}, 0}, {{150, 203}, 6}, {{150, 150}, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(object.HitTest(c.point, &view, true), c.hit) << c.point.x << "," << c.point.y;

    // At a scale of 10 logical units per pixel the area grows with it.
    view.scale = 10;
    EXPECT_EQ(object.HitTest(Point{125, 125}, &view, true), 1);
}

TEST_F(CDrawObjTest, UnselectedHitTestExpectsTopAboveBottom)
{
    CDrawObj yDown(Rect{0, 0, 100, 100});
    EXPECT_EQ(yDown.HitTest(Point{50, 50}, &view, false), 0);
    CDrawObj yUp(Rect{0, 100, 100, 0});
    EXPECT_EQ(yUp.HitTest(Point{50, 50}, &view, false), 1);
    EXPECT_EQ(yUp.HitTest(Point{50, 0}, &view, false), 0);
    EXPECT_EQ(yUp.HitTest(Point{50, 100}, &view, false), 1);
}

TEST_F(CDrawObjTest, IntersectsUsesNormalisedRectangles)
{
    CDrawObj object(Rect{100, 100, 0, 0});
    EXPECT_TRUE(object.Intersects(Rect{50, 50, 51, 51}));
    EXPECT_TRUE(object.Intersects(Rect{60, 60, 40, 40}));
    EXPECT_FALSE(object.Intersects(Rect{100, 100, 101, 101}));
}

TEST_F(CDrawObjTest, CloneCopiesFieldsButNotTheReserve)
{
    CDrawObj original(Rect{1, 2, 3, 4});
    original.m_nSpacing = 17;
    original.m_nMoveX = 5;
    original.m_dwReserved = 9;
    original.m_logbrush.lbColor = 0x123456;
    original.m_reserve.m_adwArrays[0] = {1};

    CDrawObj* loose = original.Clone(nullptr);
    EXPECT_EQ(loose->m_position, original.m_position);
    EXPECT_EQ(loose->m_nSpacing, 17);
    EXPECT_EQ(loose->m_nMoveX, 5);
    EXPECT_EQ(loose->m_dwReserved, 9u);
    EXPECT_EQ(loose->m_logbrush, original.m_logbrush);
    EXPECT_TRUE(loose->m_reserve.m_adwArrays[0].isEmpty());
    EXPECT_EQ(loose->m_pDocument, nullptr);
    EXPECT_TRUE(doc.m_objects.isEmpty());
    loose->Remove();

    const int snapshots = doc.m_nSnapshot;
    CDrawObj* filed = original.Clone(&doc);
    EXPECT_EQ(doc.m_objects, QList<CDrawObj*>{filed});
    EXPECT_EQ(doc.m_nSnapshot, snapshots + 1);
}

TEST_F(CDrawObjTest, ColourChangesNotifyAndMarkModified)
{
    auto* object = new CDrawObj(Rect{0, 0, 1, 1});
    doc.AddObject(object);
    doc.SetModifiedFlag(false);
    QSignalSpy spy(&doc, &CNetDoc::viewsUpdateRequested);
    object->SetLineColor(0x0000FF);
    object->SetFillColor(0x00FF00);
    EXPECT_EQ(object->m_logpen.lopnColor, 0x0000FFu);
    EXPECT_EQ(object->m_logbrush.lbColor, 0x00FF00u);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CDrawObjTest, IndexOutsideAnArrayIsAnInvalidArgument)
{
    EXPECT_NO_THROW(CDrawObj::CheckIndex(0, 1));
    for (qsizetype index : {qsizetype(-1), qsizetype(1), qsizetype(5)}) {
        try {
            CDrawObj::CheckIndex(index, 1);
            ADD_FAILURE() << index;
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.cause(), ArchiveException::Cause::InvalidArgument);
        }
    }
}

TEST_F(CDrawObjTest, DrawObjectsClipsButAlwaysDrawsConnectionsAndTheSelection)
{
    QStringList log;
    auto* inside = new RecordingObj(Rect{10, 10, 20, 20}, &log, "inside");
    auto* outside = new RecordingObj(Rect{5000, 5000, 5100, 5100}, &log, "outside");
    auto* selectedOutside = new RecordingObj(Rect{6000, 6000, 6100, 6100}, &log, "selected");
    auto* connection = new RecordingObj(Rect{7000, 7000, 7100, 7100}, &log, "connection", true);
    auto* label = new RecordingObj(Rect{9000, 9000, 9100, 9100}, &log, "label");
    inside->attached = {label};
    selectedOutside->attached = {label};
    for (CDrawObj* o : {static_cast<CDrawObj*>(inside), static_cast<CDrawObj*>(outside),
                        static_cast<CDrawObj*>(selectedOutside), static_cast<CDrawObj*>(connection),
                        static_cast<CDrawObj*>(label)})
        doc.AddObject(o);
    view.selected = {selectedOutside};

    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    doc.DrawObjects(painter, &view);
    EXPECT_EQ(log, (QStringList{"connection", "inside", "label", "selected", "selected+handles"}));

    log.clear();
    view.printing = true;
    doc.DrawObjects(painter, &view);
    EXPECT_EQ(log, (QStringList{"connection", "inside", "outside", "selected", "label"}));
}

TEST_F(CDrawObjTest, TrackerInvertsAndASecondPassRestores)
{
    CDrawObj object(Rect{10, 10, 40, 40});
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage before = image.copy();
    QPainter painter(&image);
    object.DrawTracker(painter, TrackerState::Selected);
    painter.end();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(7, 7), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(6, 6), QColor(Qt::white));
    painter.begin(&image);
    object.DrawTracker(painter, TrackerState::Selected);
    object.DrawTracker(painter, TrackerState::Normal);
    painter.end();
    EXPECT_EQ(image, before);
}

} // namespace
