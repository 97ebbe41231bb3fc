// A surveyed map opened from its file holds its labels where the survey
// made them, before the devices were laid out. The first paint must not
// have to draw every label of the map to find out where they are.
#include "document/CNetDoc.h"
#include "mapview/CNetView.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "support/RecordingFrontEnd.h"
#include "support/TestFiles.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"
#include "survey/platform/SimulatedNetwork.h"

#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

constexpr int kPauseSetting = 4;

// The demo network surveyed and written to a file, as `varnex survey` does.
QString SurveyedDemoMap()
{
    const QString path = TestFiles::scratchPath("labels-demo.vxnj");
    if (QFile::exists(path))
        return path;
    CNetDoc document;
    document.OnNewDocument();
    document.m_adwSurveySettings[kPauseSetting] = 0;
    auto loaded = SimulatedNetwork::load(VARNEX_SOURCE_DIR "/data/demo-network.json");
    SurveySettings settings;
    RecordingFrontEnd frontEnd;
    NetworkSurvey survey(document, *loaded.network, settings, frontEnd);
    QEventLoop loop;
    QObject::connect(&survey, &NetworkSurvey::ended, &loop, &QEventLoop::quit);
    survey.PickUp();
    loop.exec();
    document.OnSaveDocument(path);
    return path;
}

const CDrawSys* DeviceOf(const CDrawText* label)
{
    if (label->m_pLabelSys)
        return label->m_pLabelSys;
    return label->m_pLabelNic ? label->m_pLabelNic->m_pNicOwner : nullptr;
}

QList<CDrawText*> Labels(const CNetDoc& document)
{
    QList<CDrawText*> labels;
    for (CDrawObj* object : document.m_objects)
        if (object->IsKindOf(CDrawText::StaticClass()) && DeviceOf(static_cast<CDrawText*>(object)))
            labels.append(static_cast<CDrawText*>(object));
    return labels;
}

} // namespace

TEST(LabelPlacement, LabelsAreWhereDrawingWouldPutThem)
{
    const QString path = SurveyedDemoMap();
    CNetDoc placed;
    CNetDoc drawn;
    ASSERT_TRUE(placed.OnOpenDocument(path));
    ASSERT_TRUE(drawn.OnOpenDocument(path));
    ASSERT_EQ(placed.m_objects.size(), drawn.m_objects.size());
    placed.PlaceLabels();
    // Drawing the whole map, as printing does, moves every label.
    QImage image(64, 64, QImage::Format_RGB32);
    QPainter painter(&image);
    drawn.DrawObjects(painter, nullptr);
    int labels = 0;
    for (qsizetype i = 0; i < placed.m_objects.size(); ++i) {
        const CDrawObj* a = placed.m_objects.at(i);
        const CDrawObj* b = drawn.m_objects.at(i);
        // Wires are routed when drawn, and always drawn.
        if (a->IsConnection())
            continue;
        // A label without an offset sits at its device's corner, and takes
        // the size the painter's font gives it when drawn (so does the
        // extent of its device).
        const auto* label = dynamic_cast<const CDrawText*>(a);
        const bool measured = label && label->m_nMoveX == 0 && label->m_nMoveY == 0;
        if (measured) {
            EXPECT_EQ(a->m_position.left, b->m_position.left) << i;
            EXPECT_EQ(a->m_position.top, b->m_position.top) << i;
        } else {
            EXPECT_EQ(a->m_position, b->m_position) << i << " " << a->GetRuntimeClass().name;
        }
        labels += label != nullptr;
    }
    EXPECT_GT(labels, 20);
}

TEST(LabelPlacement, APaintDrawsTheLabelsInViewOnly)
{
    CNetDoc document;
    ASSERT_TRUE(document.OnOpenDocument(SurveyedDemoMap()));
    CNetView view(document);
    view.resize(400, 300);
    view.show();
    view.SetZoom(2.0);
    const QList<CDrawText*> labels = Labels(document);
    ASSERT_FALSE(labels.isEmpty());
    // Scrolled to a device in the middle of the map, nothing selected,
    // before the first paint.
    document.UpdatePageCount();
    const CDrawSys* middle = DeviceOf(labels.at(labels.size() / 2));
    const Point corner = view.logicalToDevice(Point{middle->m_position.left, middle->m_position.top});
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->value() + corner.x - 50);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + corner.y - 50);
    ASSERT_TRUE(middle->m_position.normalized().intersects(view.clientRectLogical()));
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&image);
    const Rect visible = view.clientRectLogical();
    int drawn = 0;
    int passed = 0;
    for (const CDrawText* label : labels) {
        // A label is drawn with its device; the device must be in view.
        const CDrawSys* device = DeviceOf(label);
        const CDrawSys* host = device->m_pOwnerSys ? device->m_pOwnerSys : device;
        const bool inView = host->m_rcExtent.normalized().intersects(visible)
            || device->m_rcExtent.normalized().intersects(visible)
            || label->m_rcExtent.normalized().intersects(visible);
        if (label->m_bPendingDraw) {
            ++passed;
            EXPECT_FALSE(label->m_rcExtent.normalized().intersects(visible)) << label->m_astrLines.join('|').toStdString();
        } else {
            ++drawn;
            EXPECT_TRUE(inView) << label->m_astrLines.join('|').toStdString();
        }
    }
    EXPECT_GT(drawn, 0);
    EXPECT_GT(passed, drawn) << "most of the map lies out of view";
}
