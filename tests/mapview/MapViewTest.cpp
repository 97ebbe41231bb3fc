#include "app/SampleMap.h"
#include "document/CNetDoc.h"
#include "mapview/CDrawTool.h"
#include "mapview/CNetView.h"
#include "mapview/EmbeddedFile.h"
#include "mapview/MapPrinter.h"
#include "mapview/MapRenderer.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawPoly.h"
#include "objects/CDrawRect.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "objects/GdiMapping.h"
#include "support/AddressSpaceLimit.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <typeinfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Drives a map view with synthetic mouse input, as a user would.
class MapViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CDrawTool::s_nActiveShape = 0;
        document.OnNewDocument();
        view = std::make_unique<CNetView>(document);
        view->resize(900, 700);
        view->show();
        view->SetViewActive(true);
        QObject::connect(view.get(), &CNetView::propertySheetRequested,
                         [this](CDrawObj* object) { sheets.append(object); });
    }

    void TearDown() override
    {
        view.reset();
        CDrawTool::s_nActiveShape = 0;
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), view->viewport()->mapToGlobal(QPointF(at)), button,
                          buttons, modifiers);
        QApplication::sendEvent(view->viewport(), &event);
    }

    void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Send(QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
        Send(QEvent::MouseButtonRelease, at, Qt::NoButton, modifiers);
    }

    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        Send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, modifiers);
        Send(QEvent::MouseMove, to, Qt::LeftButton, modifiers);
        Send(QEvent::MouseButtonRelease, to, Qt::NoButton, modifiers);
    }

    Point Map(QPoint device) const { return view->deviceToLogical(Point{device.x(), device.y()}); }

    QPoint Device(Point map) const
    {
        const Point d = view->logicalToDevice(map);
        return QPoint(d.x, d.y);
    }

    template <typename T>
    QList<T*> ObjectsOf() const
    {
        QList<T*> found;
        for (CDrawObj* object : document.m_objects)
            if (typeid(*object) == typeid(T))
                found.append(static_cast<T*>(object));
        return found;
    }

    CDrawRect* AddRect(const Rect& position)
    {
        auto* rect = new CDrawRect(position);
        document.AddObject(rect);
        return rect;
    }

    CDrawSys* FirstDevice() const
    {
        for (CDrawSys* system : ObjectsOf<CDrawSys>())
            if (!system->m_nics.isEmpty())
                return system;
        return nullptr;
    }

    CNetDoc document;
    std::unique_ptr<CNetView> view;
    QList<CDrawObj*> sheets;
};

// A device dragged by its first handle moves rather than grows, so it lands
// where the drag ends, with its type's default size.
TEST_F(MapViewTest, DeviceToolClickCreatesNothingAndDragDropsADefaultSizeDevice)
{
    CDrawTool::s_nActiveShape = 6;
    Click(QPoint(100, 100));
    EXPECT_TRUE(document.m_objects.isEmpty());
    EXPECT_EQ(CDrawTool::s_nActiveShape, 0);

    CDrawTool::s_nActiveShape = 6;
    Drag(QPoint(100, 100), QPoint(260, 220));
    const QList<CDrawSys*> systems = ObjectsOf<CDrawSys>();
    ASSERT_EQ(systems.size(), 1);
    CDrawSys* tower = systems.first();
    EXPECT_EQ(tower->m_nTypeCode, CDrawSys::kTower);
    const Rect size = *CDrawSys::DefaultRect(&document, CDrawSys::kTower);
    const Point corner = Map(QPoint(260, 220));
    EXPECT_EQ(tower->m_position, (Rect{corner.x, corner.y, corner.x + size.width(),
                                       corner.y + size.height()}));
    EXPECT_EQ(sheets, QList<CDrawObj*>{tower});
    EXPECT_EQ(CDrawTool::s_nActiveShape, 0);
    EXPECT_EQ(view->selection(), QList<CDrawObj*>{tower});
}

TEST_F(MapViewTest, ShapeToolsDrawTheirKindAndStayCurrent)
{
    const std::pair<int, int> tools[] = {{1, CDrawRect::line},
                                         {2, CDrawRect::rectangle},
                                         {3, CDrawRect::roundRectangle},
                                         {4, CDrawRect::ellipse}};
    for (const auto& [shape, kind] : tools) {
        SCOPED_TRACE(shape);
        document.DeleteAllObjects();
        CDrawTool::s_nActiveShape = shape;
        Click(QPoint(50, 50));
        EXPECT_TRUE(ObjectsOf<CDrawRect>().isEmpty()) << "a click draws nothing";
        CDrawTool::s_nActiveShape = shape;
        Drag(QPoint(300, 240), QPoint(120, 80));
        const QList<CDrawRect*> rects = ObjectsOf<CDrawRect>();
        ASSERT_EQ(rects.size(), 1);
        EXPECT_EQ(rects.first()->m_nShape, kind);
        const Point a = Map(QPoint(120, 80));
        const Point b = Map(QPoint(300, 240));
        EXPECT_EQ(rects.first()->m_position.normalized(), (Rect{a.x, a.y, b.x, b.y}));
        EXPECT_EQ(CDrawTool::s_nActiveShape, shape) << "several can be drawn in a row";
    }
}

TEST_F(MapViewTest, TextToolsDrawLabelsPlacedByTheirCode)
{
    const std::pair<int, int> tools[] = {{11, CDrawText::above},   {12, CDrawText::below},
                                         {13, CDrawText::rightOf}, {14, CDrawText::leftOf},
                                         {16, CDrawText::below}};
    for (const auto& [shape, position] : tools) {
        SCOPED_TRACE(shape);
        document.DeleteAllObjects();
        CDrawTool::s_nActiveShape = shape;
        Click(QPoint(60, 60));
        EXPECT_TRUE(ObjectsOf<CDrawText>().isEmpty());
        CDrawTool::s_nActiveShape = shape;
        Drag(QPoint(100, 100), QPoint(220, 140));
        const QList<CDrawText*> labels = ObjectsOf<CDrawText>();
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.first()->m_nPosition, position);
    }
}

TEST_F(MapViewTest, PolygonClosesOnItsFirstPoint)
{
    CDrawTool::s_nActiveShape = 5;
    Click(QPoint(100, 100));
    Click(QPoint(100, 100));
    EXPECT_TRUE(ObjectsOf<CDrawPoly>().isEmpty()) << "a single point is no polygon";
    EXPECT_EQ(CDrawTool::s_nActiveShape, 0);

    CDrawTool::s_nActiveShape = 5;
    Click(QPoint(100, 100));
    Send(QEvent::MouseMove, QPoint(200, 150), Qt::NoButton);
    Click(QPoint(200, 150));
    Click(QPoint(100, 100));
    const QList<CDrawPoly*> polygons = ObjectsOf<CDrawPoly>();
    ASSERT_EQ(polygons.size(), 1);
    EXPECT_EQ(polygons.first()->m_points, (QList<Point>{Map(QPoint(100, 100)), Map(QPoint(200, 150))}));
    EXPECT_EQ(CDrawTool::s_nActiveShape, 0);
}

TEST_F(MapViewTest, ClickShiftClickAndRubberBandSelect)
{
    CDrawRect* a = AddRect(Rect{100, 100, 300, 300});
    CDrawRect* b = AddRect(Rect{600, 100, 800, 300});
    AddRect(Rect{1200, 1200, 1400, 1400});
    Click(Device(Point{200, 200}));
    EXPECT_EQ(view->selection(), QList<CDrawObj*>{a});
    Click(Device(Point{700, 200}), Qt::ShiftModifier);
    EXPECT_EQ(view->selection(), (QList<CDrawObj*>{a, b}));
    Click(Device(Point{2000, 2000}));
    EXPECT_TRUE(view->selection().isEmpty());
    Drag(Device(Point{50, 50}), Device(Point{900, 400}));
    EXPECT_EQ(view->selection(), (QList<CDrawObj*>{a, b}));
}

TEST_F(MapViewTest, DragMovesAndHandleResizes)
{
    CDrawRect* rect = AddRect(Rect{100, 100, 300, 300});
    const QPoint from = Device(Point{200, 200});
    Drag(from, from + QPoint(40, 20));
    const int dx = Map(from + QPoint(40, 20)).x - Map(from).x;
    const int dy = Map(from + QPoint(40, 20)).y - Map(from).y;
    EXPECT_EQ(rect->m_position, (Rect{100 + dx, 100 + dy, 300 + dx, 300 + dy}));

    // Handle 5 is the bottom-right corner.
    const Point corner = rect->GetHandle(5);
    Drag(Device(corner), Device(corner) + QPoint(30, 30));
    EXPECT_EQ(rect->m_position.right, Map(Device(corner) + QPoint(30, 30)).x);
    EXPECT_EQ(rect->m_position.left, 100 + dx);
}

TEST_F(MapViewTest, GroupMoveTakesDevicesWithTheirLabelsButNotLooseLabels)
{
    SampleMap::build(document);
    view->SelectAll();
    const QList<CDrawObj*> devices = view->selection();
    ASSERT_GE(devices.size(), 2);
    auto* loose = new CDrawText(Rect{5000, 5000, 5300, 5100});
    document.AddObject(loose);
    view->Select(loose, true);
    auto* device = static_cast<CDrawSys*>(devices.first());
    ASSERT_FALSE(device->m_labels.isEmpty());
    const Rect devicePlace = device->m_position;
    const Rect labelPlace = device->m_labels.first()->m_position;
    const Rect loosePlace = loose->m_position;

    const QPoint from = Device(devicePlace.center());
    Drag(from, from + QPoint(50, 0));
    const int dx = Map(from + QPoint(50, 0)).x - Map(from).x;
    EXPECT_EQ(device->m_position, devicePlace.translated(dx, 0));
    // Labels take their place beside their device when drawn.
    view->viewport()->grab();
    EXPECT_NE(device->m_labels.first()->m_position, labelPlace) << "labels go with their device";
    EXPECT_EQ(loose->m_position, loosePlace);
}

TEST_F(MapViewTest, ControlDragLeavesACopyBehind)
{
    CDrawRect* rect = AddRect(Rect{100, 100, 300, 300});
    const QPoint from = Device(Point{200, 200});
    Drag(from, from + QPoint(60, 0), Qt::ControlModifier);
    const QList<CDrawRect*> rects = ObjectsOf<CDrawRect>();
    ASSERT_EQ(rects.size(), 2);
    EXPECT_NE(rect->m_position, (Rect{100, 100, 300, 300}));
    EXPECT_EQ(rects.at(1)->m_position, (Rect{100, 100, 300, 300}));
}

TEST_F(MapViewTest, LabelsShowHandlesButKeepTheirSize)
{
    auto* label = new CDrawText(Rect{100, 100, 400, 160});
    document.AddObject(label);
    view->Select(label, false);
    const Rect before = label->m_position;
    const Point corner = label->GetHandle(5);
    Drag(Device(corner), Device(corner) + QPoint(40, 40));
    EXPECT_EQ(label->m_position, before);
}

TEST_F(MapViewTest, PastingTwiceGivesTwoIndependentCopiesInAnyDocument)
{
    SampleMap::build(document);
    CDrawSys* device = FirstDevice();
    ASSERT_NE(device, nullptr);
    const qsizetype objectsBefore = document.m_objects.size();
    view->Select(device, false);
    view->OnEditCopy();
    ASSERT_TRUE(view->CanPaste());

    view->OnEditPaste();
    const QList<CDrawObj*> first = view->selection();
    view->OnEditPaste();
    const QList<CDrawObj*> second = view->selection();
    ASSERT_EQ(first.size(), 1);
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(first.first(), second.first());
    EXPECT_NE(first.first(), device);
    // Each copy steps away from the one before, so the user sees it.
    EXPECT_EQ(first.first()->m_position, device->m_position.translated(100, 100));
    EXPECT_EQ(second.first()->m_position, device->m_position.translated(200, 200));
    const qsizetype perCopy = (document.m_objects.size() - objectsBefore) / 2;
    EXPECT_EQ(document.m_objects.size(), objectsBefore + 2 * perCopy);
    EXPECT_EQ(perCopy, 1 + qsizetype(device->AttachedObjects().size()) + device->m_nics.size())
        << "a device comes with its labels and interfaces, not with the rest of the map";

    const Rect place = second.first()->m_position;
    first.first()->MoveTo(first.first()->m_position.translated(500, 0), view.get());
    EXPECT_EQ(second.first()->m_position, place);

    CNetDoc other;
    other.OnNewDocument();
    CNetView otherView(other);
    otherView.OnEditPaste();
    ASSERT_EQ(otherView.selection().size(), 1);
    EXPECT_EQ(otherView.selection().first()->m_position, device->m_position) << "nothing to step away from";
    EXPECT_EQ(other.m_objects.size(), perCopy);
    EXPECT_EQ(otherView.selection().first()->m_pDocument, &other);
}

TEST_F(MapViewTest, APasteThatRunsOutOfMemoryPastesNothingAndKeepsTheMap)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer reserves terabytes of shadow memory: no address-space limit can hold it";
#endif
    SampleMap::build(document);
    CDrawSys* device = FirstDevice();
    ASSERT_NE(device, nullptr);
    view->Select(device, false);
    view->OnEditCopy();
    const qsizetype objectsBefore = document.m_objects.size();
    {
        // No room for the stack of the thread a paste reads its archive on.
        const AddressSpaceLimit limit(4 * 1024 * 1024);
        EXPECT_NO_THROW(view->OnEditPaste());
    }
    EXPECT_EQ(document.m_objects.size(), objectsBefore);
    EXPECT_TRUE(view->selection().isEmpty());
    view->OnEditPaste();
    EXPECT_EQ(view->selection().size(), 1) << "with room again, the paste works";
}

TEST_F(MapViewTest, CutAndDeleteRemoveEachObjectOnce)
{
    SampleMap::build(document);
    CDrawSys* device = FirstDevice();
    ASSERT_NE(device, nullptr);
    ASSERT_FALSE(device->m_labels.isEmpty());
    CDrawObj* label = device->m_labels.first();
    view->Select(label, false);
    view->Select(device, true);
    const qsizetype before = document.m_objects.size();
    view->OnEditCut();
    EXPECT_TRUE(view->selection().isEmpty());
    EXPECT_LT(document.m_objects.size(), before);
    EXPECT_FALSE(document.m_objects.contains(device));
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(CNetView::kClipboardFormat));

    CDrawSys* next = FirstDevice();
    ASSERT_NE(next, nullptr);
    view->Select(next, false);
    for (CDrawObj* own : next->AttachedObjects())
        view->Select(own, true);
    view->OnEditClear();
    EXPECT_FALSE(document.m_objects.contains(next));
}

TEST_F(MapViewTest, SelectAllTakesDevicesWithInterfacesOnly)
{
    auto* label = new CDrawText(Rect{100, 100, 400, 160});
    document.AddObject(label);
    document.AddObject(new CDrawDomain(Rect{0, 0, 1000, 1000}));
    view->SelectAll();
    EXPECT_TRUE(view->selection().isEmpty());
}

TEST_F(MapViewTest, ObjectOrderCommands)
{
    CDrawRect* a = AddRect(Rect{0, 0, 10, 10});
    CDrawRect* b = AddRect(Rect{0, 0, 20, 20});
    CDrawRect* c = AddRect(Rect{0, 0, 30, 30});
    view->Select(a, false);
    view->MoveForward();
    EXPECT_EQ(document.m_objects, (QList<CDrawObj*>{b, a, c}));
    view->MoveToFront();
    EXPECT_EQ(document.m_objects, (QList<CDrawObj*>{b, c, a}));
    view->MoveForward();
    EXPECT_EQ(document.m_objects, (QList<CDrawObj*>{b, c, a})) << "already the last";
    view->MoveToBack();
    EXPECT_EQ(document.m_objects, (QList<CDrawObj*>{a, b, c}));
    view->MoveBack();
    EXPECT_EQ(document.m_objects, (QList<CDrawObj*>{a, b, c})) << "already the first";
}

TEST_F(MapViewTest, UndoAndRedoStepThroughTheEdits)
{
    CDrawTool::s_nActiveShape = 2;
    Drag(QPoint(100, 100), QPoint(200, 200));
    CDrawTool::s_nActiveShape = 2;
    Drag(QPoint(300, 100), QPoint(400, 200));
    ASSERT_EQ(ObjectsOf<CDrawRect>().size(), 2);
    view->Select(ObjectsOf<CDrawRect>().first(), false);

    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(view->selection().isEmpty()) << "the undone objects are gone";
    EXPECT_EQ(ObjectsOf<CDrawRect>().size(), 1);
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(ObjectsOf<CDrawRect>().isEmpty());
    EXPECT_FALSE(document.CanUndo());
    ASSERT_TRUE(document.Redo());
    EXPECT_EQ(ObjectsOf<CDrawRect>().size(), 1);

    CDrawTool::s_nActiveShape = 4;
    Drag(QPoint(500, 100), QPoint(600, 200));
    EXPECT_FALSE(document.CanRedo()) << "a new edit drops what was undone";
    ASSERT_TRUE(document.Undo());
    const QList<CDrawRect*> rects = ObjectsOf<CDrawRect>();
    ASSERT_EQ(rects.size(), 1);
    EXPECT_EQ(rects.first()->m_nShape, CDrawRect::rectangle);
}

TEST_F(MapViewTest, EscapeCancelsTheCurrentTool)
{
    CDrawTool::s_nActiveShape = 7;
    view->CancelTool();
    EXPECT_EQ(CDrawTool::s_nActiveShape, 0);
}

// Two pages side by side, a red box on the first and a blue one on the second.
TEST_F(MapViewTest, AMoveIsOneUndoStep)
{
    CDrawRect* rect = AddRect(Rect{200, 200, 600, 600});
    document.SaveSnapshot();
    const QByteArray before = document.SaveContents();
    const Point corner = view->logicalToDevice(Point{400, 400});
    Drag(QPoint(corner.x, corner.y), QPoint(corner.x + 80, corner.y + 40));
    ASSERT_NE(rect->m_position, (Rect{200, 200, 600, 600})) << "the drag moved it";
    ASSERT_TRUE(document.CanUndo());
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.SaveContents(), before);
}

// Records how many snapshots the document had at each paint of a widget.
class PaintWatcher : public QObject {
public:
    explicit PaintWatcher(const CNetDoc& document) : m_document(document) {}
    QList<int> snapshotsAtPaint;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            snapshotsAtPaint.append(m_document.m_nSnapshot);
        return false;
    }

private:
    const CNetDoc& m_document;
};

TEST_F(MapViewTest, AnEditIsShownBeforeItsSnapshotIsTaken)
{
    AddRect(Rect{200, 200, 600, 600});
    document.SaveSnapshot();
    QApplication::processEvents();
    PaintWatcher watcher(document);
    view->viewport()->installEventFilter(&watcher);
    const int before = document.m_nSnapshot;
    const Point corner = view->logicalToDevice(Point{400, 400});
    Drag(QPoint(corner.x, corner.y), QPoint(corner.x + 80, corner.y + 40));
    ASSERT_EQ(document.m_nSnapshot, before + 1);
    // Serialising a large map takes a while: the moved device is on the
    // screen by then.
    EXPECT_TRUE(watcher.snapshotsAtPaint.contains(before)) << watcher.snapshotsAtPaint.size();
    view->viewport()->removeEventFilter(&watcher);
}

TEST_F(MapViewTest, AnEditOfSeveralSnapshotsIsShownOnce)
{
    // A clone takes a snapshot for each object it adds; the half-made copy
    // is not painted after every one of them.
    AddRect(Rect{200, 200, 600, 600});
    QApplication::processEvents();
    PaintWatcher watcher(document);
    view->viewport()->installEventFilter(&watcher);
    for (int step = 0; step < 3; ++step)
        document.SaveSnapshot();
    EXPECT_EQ(watcher.snapshotsAtPaint.size(), 1);
    // A change the document reports in the same turn (a re-layout between
    // its two snapshots) is shown before the next one.
    document.UpdateAllViews(0, nullptr);
    document.SaveSnapshot();
    EXPECT_EQ(watcher.snapshotsAtPaint.size(), 2);
    QApplication::processEvents();
    watcher.snapshotsAtPaint.clear();
    document.SaveSnapshot();
    EXPECT_EQ(watcher.snapshotsAtPaint.size(), 1) << "the next edit is shown again";
    view->viewport()->removeEventFilter(&watcher);
}

TEST_F(MapViewTest, ZoomKeepsThePointUnderTheCursorAndFitsTheWholeMap)
{
    SampleMap::build(document);
    const QPoint cursor(300, 200);
    const Point under = view->deviceToLogical(Point{cursor.x(), cursor.y()});
    const Point before = view->logicalToDevice(Point{under.x + 1000, under.y});
    QWheelEvent wheel(QPointF(cursor), view->viewport()->mapToGlobal(QPointF(cursor)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_DOUBLE_EQ(view->Zoom(), CNetView::kZoomStep);
    const Point stays = view->logicalToDevice(under);
    EXPECT_NEAR(stays.x, cursor.x(), 2);
    EXPECT_NEAR(stays.y, cursor.y(), 2);
    const Point after = view->logicalToDevice(Point{under.x + 1000, under.y});
    EXPECT_NEAR(after.x - stays.x, (before.x - cursor.x()) * CNetView::kZoomStep, 3);

    view->ZoomToFit();
    const Rect pages{0, 0, document.m_sizePage.cx * document.m_nPagesX, document.m_sizePage.cy * document.m_nPagesY};
    const Point topLeft = view->logicalToDevice(Point{pages.left, pages.top});
    const Point bottomRight = view->logicalToDevice(Point{pages.right, pages.bottom});
    const QRect shown(QPoint(topLeft.x, topLeft.y), QPoint(bottomRight.x, bottomRight.y));
    EXPECT_LE(shown.width(), view->viewport()->width() + 1);
    EXPECT_LE(shown.height(), view->viewport()->height() + 1);
    EXPECT_TRUE(shown.width() >= view->viewport()->width() - 2 || shown.height() >= view->viewport()->height() - 2);
    for (int i = 0; i < 100; ++i)
        view->ZoomOut();
    EXPECT_DOUBLE_EQ(view->Zoom(), CNetView::kMinZoom);
    view->ZoomReset();
    EXPECT_DOUBLE_EQ(view->Zoom(), 1.0);
}

// The grid draws the lines of the painted area only, and none where they
// would stand a few pixels apart.
TEST_F(MapViewTest, TheGridDrawsOnlyTheLinesItCanShow)
{
    document.m_sizePage = Size{2000, 3000};
    document.m_nPagesX = 3;
    document.m_nPagesY = 2;
    // The size of what the grid records, beyond an empty recording.
    const auto lines = [this](const Rect& visible, double pixelsPerUnit) {
        QPicture empty;
        QPainter(&empty).end();
        QPicture picture;
        QPainter painter(&picture);
        CNetView::DrawGrid(painter, document, 0x00C0C0C0, visible, pixelsPerUnit);
        painter.end();
        return int(picture.size()) - int(empty.size());
    };
    const int everything = lines(Rect{0, 0, 6000, 6000}, 0.4);
    const int part = lines(Rect{1000, 1000, 1500, 1400}, 0.4);
    EXPECT_GT(everything, 0);
    EXPECT_GT(part, 0);
    EXPECT_LT(part * 5, everything) << "a small area draws a small part of the grid";
    EXPECT_EQ(lines(Rect{0, 0, 6000, 6000}, 0.02), 0) << "lines 2 pixels apart are not drawn";
}

// Wires pass under a device's label, not through its text.
TEST_F(MapViewTest, ADevicesLabelCoversTheWiresUnderIt)
{
    SampleMap::build(document);
    CDrawText* label = nullptr;
    for (CDrawObj* object : document.m_objects)
        if (auto* text = dynamic_cast<CDrawText*>(object); text && text->m_pLabelSys && !text->m_astrLines.isEmpty())
            label = text;
    ASSERT_NE(label, nullptr);
    QImage image(1600, 1600, QImage::Format_RGB32);
    image.fill(Qt::blue); // a wire everywhere
    QPainter painter(&image);
    painter.scale(0.25, 0.25);
    label->Draw(painter);
    painter.end();
    const Rect r = label->m_position.normalized();
    const QPoint inside(int((r.left + 2) * 0.25), int((r.bottom - 2) * 0.25));
    ASSERT_TRUE(image.rect().contains(inside));
    EXPECT_EQ(image.pixelColor(inside), GdiMapping::color(document.m_crBackground));
}

// A dark look gives widgets white text; the map's labels stay black.
TEST_F(MapViewTest, LabelsStayBlackUnderADarkLook)
{
    SampleMap::build(document);
    view->viewport()->update();
    const auto darkPixelsShown = [this] {
        const QImage shot = view->viewport()->grab().toImage();
        int count = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                count += qGray(shot.pixel(x, y)) < 64;
        return count;
    };
    const int plain = darkPixelsShown();
    ASSERT_GT(plain, 20);
    QPalette dark = view->palette();
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    view->setPalette(dark);
    view->viewport()->setPalette(dark);
    EXPECT_EQ(darkPixelsShown(), plain) << "the label's text is drawn as dark as before";
}

TEST_F(MapViewTest, PrintingPutsObjectsOnTheirPages)
{
    auto* forest = new CDrawDomain(Rect{});
    forest->m_strName = QStringLiteral("FOREST_TREE_TAVRIN");
    document.AddObject(forest);
    ASSERT_EQ(document.FindDomain(QString()), forest);
    const Size page = document.m_sizePage;
    CDrawRect* first = AddRect(Rect{200, 200, 600, 600});
    first->m_logbrush.lbColor = 0x000000FF;
    CDrawRect* second = AddRect(Rect{page.cx + 200, 200, page.cx + 600, 600});
    second->m_logbrush.lbColor = 0x00FF0000;

    const QString pdf = TestFiles::scratchPath("two-pages.pdf");
    {
        QPdfWriter writer(pdf);
        MapPrinter printer(document);
        ASSERT_TRUE(printer.Print(writer));
    }
    const QByteArray bytes = TestFiles::readAll(pdf);
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")), 2);

    MapPrinter printer(document);
    ASSERT_EQ(printer.PreparePages(), 2);
    const int dpi = 50;
    for (int n = 1; n <= 2; ++n) {
        QImage image(page.cx * dpi / 254, page.cy * dpi / 254, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        printer.PrintPage(painter, n, dpi, dpi);
        painter.end();
        const QColor inside = image.pixelColor(400 * dpi / 254, 400 * dpi / 254);
        EXPECT_EQ(inside, n == 1 ? QColor(Qt::red) : QColor(Qt::blue)) << "page " << n;
    }
}

TEST_F(MapViewTest, EmbeddedFilesKeepTheirBytesThroughTheMapFile)
{
    const QString picture = TestFiles::scratchPath("red.png");
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture));
    const QString notes = TestFiles::scratchPath("notes.txt");
    TestFiles::writeAll(notes, "配線メモ\n");

    QString error;
    ASSERT_TRUE(view->InsertFile(picture, QPoint(10, 10), &error)) << error.toStdString();
    ASSERT_TRUE(view->InsertFile(notes, QPoint(200, 10), &error)) << error.toStdString();
    const QList<CDrawOleObj*> objects = ObjectsOf<CDrawOleObj>();
    ASSERT_EQ(objects.size(), 2);
    EXPECT_EQ(view->selection(), QList<CDrawObj*>{objects.at(1)});
    EXPECT_FALSE(objects.at(0)->m_pClientItem->Picture().isNull()) << "a picture is drawn";
    EXPECT_TRUE(objects.at(1)->m_pClientItem->Picture().isNull());
    EXPECT_EQ(objects.at(1)->m_pClientItem->TypeName(), "notes.txt") << "other files show their name";
    EXPECT_NE(objects.at(0)->m_pClientItem->m_dwItemNumber, objects.at(1)->m_pClientItem->m_dwItemNumber);

    const QString map = TestFiles::scratchPath("embedded.vxnj");
    ASSERT_TRUE(document.OnSaveDocument(map));
    CNetDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(map));
    QList<CDrawItem*> items;
    for (CDrawObj* object : reopened.m_objects)
        if (object->IsKindOf(CDrawOleObj::StaticClass()))
            items.append(static_cast<CDrawOleObj*>(object)->m_pClientItem);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(EmbeddedFile::FileName(*items.at(1)), "notes.txt");
    EXPECT_EQ(EmbeddedFile::FileData(*items.at(1)), TestFiles::readAll(notes));
    EXPECT_EQ(EmbeddedFile::FileData(*items.at(0)), TestFiles::readAll(picture));
}

TEST_F(MapViewTest, AnEmbeddedFileIsOpenedFromAFolderOnlyTheUserCanEnter)
{
    const QString notes = TestFiles::scratchPath("open-me.txt");
    TestFiles::writeAll(notes, "配線メモ\n");
    QString error;
    ASSERT_TRUE(view->InsertFile(notes, QPoint(10, 10), &error)) << error.toStdString();
    const QList<CDrawOleObj*> objects = ObjectsOf<CDrawOleObj>();
    ASSERT_EQ(objects.size(), 1);
    const CDrawItem& item = *objects.first()->m_pClientItem;
    const QString first = EmbeddedFile::WriteToPrivateFolder(item);
    const QString second = EmbeddedFile::WriteToPrivateFolder(item);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(QFileInfo(first).fileName(), "open-me.txt");
    EXPECT_EQ(TestFiles::readAll(first), TestFiles::readAll(notes));
    // A new folder of a name nobody can guess each time: no other local
    // user can have made it or a link in it beforehand.
    EXPECT_NE(QFileInfo(first).absolutePath(), QFileInfo(second).absolutePath());
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(QFileInfo(first).absolutePath()).constData(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(status.st_uid, ::getuid());
    for (const QString& path : {first, second})
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
}

TEST_F(MapViewTest, UndoingAPictureResizeKeepsThePicture)
{
    const QString picture = TestFiles::scratchPath("green.png");
    QImage green(40, 20, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(picture));
    QString error;
    ASSERT_TRUE(view->InsertFile(picture, QPoint(20, 20), &error)) << error.toStdString();
    ASSERT_EQ(ObjectsOf<CDrawOleObj>().size(), 1);
    const Rect inserted = ObjectsOf<CDrawOleObj>().first()->m_position;

    // Handle 5 is the bottom-right corner.
    const Point corner = ObjectsOf<CDrawOleObj>().first()->GetHandle(5);
    Drag(Device(corner), Device(corner) + QPoint(60, 40));
    ASSERT_NE(ObjectsOf<CDrawOleObj>().first()->m_position, inserted) << "the drag resized it";
    ASSERT_TRUE(document.Undo());
    const QList<CDrawOleObj*> after = ObjectsOf<CDrawOleObj>();
    ASSERT_EQ(after.size(), 1) << "undo takes back the resize, not the picture";
    EXPECT_EQ(after.first()->m_position.normalized(), inserted.normalized());
    EXPECT_FALSE(after.first()->m_pClientItem->Picture().isNull());
    EXPECT_EQ(EmbeddedFile::FileData(*after.first()->m_pClientItem), TestFiles::readAll(picture));
}

TEST_F(MapViewTest, OwnMapFilesAreNeverEmbedded)
{
    for (const char* name : {"office.vxnj", "OLD.VXN"}) {
        const QString path = TestFiles::scratchPath(name);
        TestFiles::writeAll(path, "map");
        QString error;
        EXPECT_FALSE(view->InsertFile(path, QPoint(10, 10), &error)) << name;
        EXPECT_EQ(error, "OLE Varnex Document ファイルを呼出す事は出来ません。");
    }
    EXPECT_TRUE(document.m_objects.isEmpty());
}

TEST_F(MapViewTest, DroppedFilesAreEmbeddedWhereTheyFall)
{
    const QString notes = TestFiles::scratchPath("dropped.txt");
    TestFiles::writeAll(notes, "text");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(notes)});
    view->DropData(data, QPoint(120, 80));
    const QList<CDrawOleObj*> objects = ObjectsOf<CDrawOleObj>();
    ASSERT_EQ(objects.size(), 1);
    const Point corner = Map(QPoint(120, 80));
    EXPECT_EQ(objects.first()->m_position.left, corner.x);
    EXPECT_EQ(objects.first()->m_position.top, corner.y);
}

} // namespace

TEST(MapRenderer, AMapSpreadFarIsDrawnSmallerNotIntoGigabytes)
{
    const struct {
        double width;
        double height;
        double scale;
        bool bounded;
    } cases[] = {
        {2100, 2970, 96 / 254.0, false},
        {5'000'000, 2970, 96 / 254.0, true},
        {200'000, 200'000, 96 / 254.0, true},
    };
    for (const auto& c : cases) {
        const double scale = MapRenderer::BoundedScale(c.width, c.height, c.scale);
        EXPECT_LE(c.width * scale, 32000.5);
        EXPECT_LE(c.height * scale, 32000.5);
        EXPECT_LE(c.width * c.height * scale * scale, 150e6 + 1);
        EXPECT_EQ(scale < c.scale, c.bounded) << c.width;
    }
    CNetDoc document;
    document.OnNewDocument();
    document.AddObject(new CDrawRect(Rect{4'000'000, 100, 4'000'100, 200}));
    const QImage picture = MapRenderer::render(document);
    ASSERT_FALSE(picture.isNull());
    EXPECT_LE(picture.width(), 32000);
    EXPECT_LE(qint64(picture.width()) * picture.height(), qint64(150e6));
}
