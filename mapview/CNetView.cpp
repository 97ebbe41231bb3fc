#include "CNetView.h"

#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "mapview/CDrawTool.h"
#include "mapview/ChangeOverlay.h"
#include "mapview/CPolyTool.h"
#include "mapview/EmbeddedFile.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawItem.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "objects/GdiMapping.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QDir>
#include <QDropEvent>
#include <QImageReader>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <QRubberBand>
#include <QScrollBar>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <new>

const QString CNetView::kClipboardFormat = QStringLiteral("TAVRIN Varnex");

namespace {

// Map units are 0.1 mm: 254 of them to the inch.
constexpr double kUnitsPerInch = 254.0;

} // namespace

CNetView::CNetView(CNetDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_document(document)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    m_pFocusRect = new QRubberBand(QRubberBand::Rectangle, viewport());
    connect(&m_document, &CNetDoc::viewsUpdateRequested, this, &CNetView::OnUpdate);
    connect(&m_document, &CNetDoc::allObjectsDeleting, this, &CNetView::ForgetSelection);
    connect(&m_document, &CNetDoc::pageSizeChanged, this, &CNetView::UpdateScrollSizes);
    connect(&m_document, &CNetDoc::snapshotStarting, this, &CNetView::ShowBeforeSnapshot);
    UpdateScrollSizes();
}

CNetView::~CNetView() = default;

void CNetView::ShowBeforeSnapshot()
{
    if (!isVisible() || m_bShownBeforeSnapshot)
        return;
    m_bShownBeforeSnapshot = true;
    viewport()->repaint();
    QTimer::singleShot(0, this, [this] { m_bShownBeforeSnapshot = false; });
}

double CNetView::PixelsPerUnitX() const
{
    return viewport()->logicalDpiX() / kUnitsPerInch * m_dZoom;
}

double CNetView::PixelsPerUnitY() const
{
    return viewport()->logicalDpiY() / kUnitsPerInch * m_dZoom;
}

QSize CNetView::ScrollSize() const
{
    return QSize(int(double(m_document.m_sizePage.cx) * m_document.m_nPagesX * PixelsPerUnitX()),
                 int(double(m_document.m_sizePage.cy) * m_document.m_nPagesY * PixelsPerUnitY()));
}

void CNetView::SetZoom(double zoom, std::optional<QPoint> anchor)
{
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == m_dZoom)
        return;
    const QPoint at = anchor.value_or(viewport()->rect().center());
    const Point fixed = deviceToLogical(Point{at.x(), at.y()});
    m_dZoom = zoom;
    UpdateScrollSizes();
    horizontalScrollBar()->setValue(qRound(fixed.x * PixelsPerUnitX()) - at.x());
    verticalScrollBar()->setValue(qRound(fixed.y * PixelsPerUnitY()) - at.y());
    viewport()->update();
    emit zoomChanged(m_dZoom);
}

void CNetView::ZoomToFit()
{
    m_document.UpdatePageCount();
    const double width = double(m_document.m_sizePage.cx) * m_document.m_nPagesX;
    const double height = double(m_document.m_sizePage.cy) * m_document.m_nPagesY;
    if (width <= 0 || height <= 0)
        return;
    const double atOne = viewport()->logicalDpiX() / kUnitsPerInch;
    const double fit = std::min(viewport()->width() / (width * atOne), viewport()->height() / (height * atOne));
    SetZoom(fit);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void CNetView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return QAbstractScrollArea::wheelEvent(event);
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        SetZoom(m_dZoom * std::pow(kZoomStep, steps), event->position().toPoint());
    event->accept();
}

void CNetView::UpdateScrollSizes()
{
    const QSize area = ScrollSize();
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, area.width() - visible.width()));
    verticalScrollBar()->setRange(0, std::max(0, area.height() - visible.height()));
    horizontalScrollBar()->setPageStep(visible.width());
    verticalScrollBar()->setPageStep(visible.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

Point CNetView::deviceToLogical(Point p) const
{
    return Point{qRound((p.x + horizontalScrollBar()->value()) / PixelsPerUnitX()),
                 qRound((p.y + verticalScrollBar()->value()) / PixelsPerUnitY())};
}

Point CNetView::logicalToDevice(Point p) const
{
    return Point{qRound(p.x * PixelsPerUnitX()) - horizontalScrollBar()->value(),
                 qRound(p.y * PixelsPerUnitY()) - verticalScrollBar()->value()};
}

QRect CNetView::DeviceArea(const Rect& logical) const
{
    const Rect r = logical.normalized();
    const Point topLeft = logicalToDevice(Point{r.left, r.top});
    const Point bottomRight = logicalToDevice(Point{r.right, r.bottom});
    return QRect(QPoint(topLeft.x, topLeft.y), QPoint(bottomRight.x, bottomRight.y)).normalized();
}

Rect CNetView::clientRectLogical() const
{
    if (m_bPainting)
        return m_rcPaintLogical;
    const QRect client = viewport()->rect();
    const Point topLeft = deviceToLogical(Point{client.left(), client.top()});
    const Point bottomRight = deviceToLogical(Point{client.right() + 1, client.bottom() + 1});
    return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CNetView::paintEvent(QPaintEvent* event)
{
    m_document.UpdatePageCount();
    const QRect clip = event->rect();
    QPainter painter(viewport());
    painter.setClipRect(clip);
    painter.fillRect(clip, GdiMapping::color(m_document.m_crBackground));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    painter.scale(PixelsPerUnitX(), PixelsPerUnitY());
    const Point topLeft = deviceToLogical(Point{clip.left() - 1, clip.top() - 1});
    const Point bottomRight = deviceToLogical(Point{clip.right() + 2, clip.bottom() + 2});
    m_rcPaintLogical = Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    if (!m_bLabelsPlaced) {
        m_document.PlaceLabels();
        m_bLabelsPlaced = true;
    }
    if (m_bShowGrid)
        DrawGrid(painter, m_document, m_crGrid, m_rcPaintLogical, PixelsPerUnitX());
    m_bPainting = true;
    m_document.DrawObjects(painter, this);
    m_bPainting = false;
    if (m_changes)
        m_changes->Draw(painter, m_document);
}

void CNetView::SetChanges(std::shared_ptr<const ChangeOverlay> changes)
{
    m_changes = std::move(changes);
    viewport()->update();
}

bool CNetView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !m_changes)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = m_changes->ToolTipAt(m_document, deviceToLogical(Point{help->pos().x(), help->pos().y()}));
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        // Names from the network are shown as text, never as markup.
        QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(tip), viewport());
    return true;
}

void CNetView::DrawGrid(QPainter& painter, const CNetDoc& document, COLORREF grid, const Rect& visible,
                        double pixelsPerUnit)
{
    constexpr qint64 kSpacing = 100; // 1 cm
    constexpr double kMinPixels = 8.0; // closer lines would only grey the map
    const qint64 width = qint64(document.m_sizePage.cx) * document.m_nPagesX;
    const qint64 height = qint64(document.m_sizePage.cy) * document.m_nPagesY;
    if (width / kSpacing < 1 || kSpacing * pixelsPerUnit < kMinPixels)
        return;
    // Only the lines that cross the painted area, each drawn whole so its
    // dashes keep their places while scrolling.
    const Rect area = visible.normalized();
    const qint64 firstX = std::max<qint64>(1, area.left / kSpacing);
    const qint64 lastX = std::min<qint64>(width / kSpacing, area.right / kSpacing + 1);
    const qint64 firstY = std::max<qint64>(1, area.top / kSpacing);
    const qint64 lastY = std::min<qint64>(height / kSpacing - 1, area.bottom / kSpacing + 1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(GdiMapping::color(grid), 0, Qt::DashLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBackground(GdiMapping::color(document.m_crBackground));
    painter.setBackgroundMode(Qt::OpaqueMode);
    for (qint64 k = firstX; k <= lastX; ++k)
        painter.drawLine(QLineF(double(kSpacing * k), 0, double(kSpacing * k), double(height)));
    for (qint64 k = firstY; k <= lastY; ++k)
        painter.drawLine(QLineF(0, double(kSpacing * k), double(width), double(kSpacing * k)));
    painter.restore();
}

void CNetView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollSizes();
}

void CNetView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CNetView::OnUpdate(int hint, CDrawObj* object)
{
    // A change the document reports is shown before the next snapshot
    // (a re-layout's second one comes in the same turn as its first).
    m_bShownBeforeSnapshot = false;
    switch (hint) {
    case 1:
        if (object)
            invalidateObject(object);
        break;
    case 2:
        InvalidateSelection();
        break;
    case 3:
        PruneSelection();
        break;
    case 4:
        for (CDrawObj* candidate : std::as_const(m_document.m_objects))
            if (candidate->IsKindOf(CDrawOleObj::StaticClass()))
                invalidateObject(candidate);
        break;
    default:
        // A whole new map (opened, surveyed, laid out again) may hold labels
        // away from their devices.
        m_bLabelsPlaced = false;
        viewport()->update();
        break;
    }
}

QRect CNetView::ObjectArea(CDrawObj* object) const
{
    Rect extent = object->m_rcExtent.normalized();
    QRect area = DeviceArea(extent);
    for (CDrawObj* candidate : std::as_const(m_document.m_objects)) {
        if (!candidate->IsConnection())
            continue;
        static_cast<CDrawConnect*>(candidate)->Route();
        const Rect route = candidate->m_rcExtent.normalized();
        if (!(route == Rect{}))
            area |= DeviceArea(route);
    }
    if (m_bViewActive && isSelected(object))
        area.adjust(-4, -5, 5, 4);
    return area.adjusted(-1, -1, 1, 1);
}

void CNetView::invalidateObject(CDrawObj* object)
{
    InvalidateArea(ObjectArea(object));
}

void CNetView::InvalidateArea(const QRect& device)
{
    viewport()->update(device);
}

bool CNetView::isSelected(const CDrawObj* object) const
{
    return m_selected.contains(const_cast<CDrawObj*>(object));
}

void CNetView::removeFromSelection(CDrawObj* object)
{
    if (m_selected.removeAll(object) > 0)
        emit selectionChanged();
}

void CNetView::openPropertySheet(CDrawObj* object)
{
    emit propertySheetRequested(object);
}

void CNetView::Select(CDrawObj* object, bool add)
{
    if (!add) {
        InvalidateSelection();
        m_selected.clear();
    }
    if (object && !m_selected.contains(object)) {
        m_selected.append(object);
        invalidateObject(object);
    }
    emit selectionChanged();
}

void CNetView::ShowObject(CDrawObj* object)
{
    if (!object)
        return;
    Select(object, false);
    const QRect area = DeviceArea(object->m_position);
    if (viewport()->rect().contains(area))
        return;
    const QPoint centre = area.center() - viewport()->rect().center();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + centre.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + centre.y());
}

void CNetView::SelectWithinRect(const QRect& device)
{
    const Point topLeft = deviceToLogical(Point{device.left(), device.top()});
    const Point bottomRight = deviceToLogical(Point{device.right() + 1, device.bottom() + 1});
    const Rect area{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (object->Intersects(area) && !m_selected.contains(object)) {
            m_selected.append(object);
            invalidateObject(object);
        }
    }
    emit selectionChanged();
}

void CNetView::InvalidateSelection()
{
    for (CDrawObj* object : std::as_const(m_selected))
        invalidateObject(object);
}

void CNetView::CloneSelection()
{
    for (CDrawObj* object : std::as_const(m_selected)) {
        if (object->IsKindOf(CDrawText::StaticClass()) || object->IsConnection())
            continue;
        object->Clone(&m_document);
    }
}

void CNetView::SelectAll()
{
    for (CDrawObj* object : std::as_const(m_document.m_objects)) {
        const bool device = object->IsKindOf(CDrawSys::StaticClass())
            && !object->IsKindOf(CDrawText::StaticClass())
            && !static_cast<CDrawSys*>(object)->m_nics.isEmpty();
        const bool embedded = object->IsKindOf(CDrawOleObj::StaticClass());
        if ((device || embedded) && !m_selected.contains(object)) {
            m_selected.append(object);
            invalidateObject(object);
        }
    }
    emit selectionChanged();
}

// Objects deleted through another view leave this view's selection too.
void CNetView::PruneSelection()
{
    const QSet<CDrawObj*> present(m_document.m_objects.cbegin(), m_document.m_objects.cend());
    if (m_selected.removeIf([&present](CDrawObj* object) { return !present.contains(object); }) > 0)
        emit selectionChanged();
    InvalidateSelection();
}

void CNetView::ForgetSelection()
{
    m_selected.clear();
    if (auto* poly = static_cast<CPolyTool*>(CDrawTool::FindTool(5)); poly && poly->Drawing())
        poly->Cancel();
    ReleaseCapture();
    emit selectionChanged();
}

void CNetView::OnEditClear()
{
    InvalidateSelection();
    while (!m_selected.isEmpty()) {
        CDrawObj* object = m_selected.takeFirst();
        // Objects deleted along with an earlier one (a device's labels)
        // have left the document already.
        if (!m_document.m_objects.contains(object))
            continue;
        m_document.RemoveObject(object, this);
        m_selected.removeAll(object);
        const qsizetype before = m_document.m_objects.size();
        object->Remove();
        if (m_document.m_objects.size() != before)
            PruneSelection();
    }
    m_document.SaveSnapshot();
    m_document.UpdateAllViews(3, nullptr);
    emit selectionChanged();
}

void CNetView::OnEditCopy()
{
    if (m_selected.isEmpty())
        return;
    auto* data = new QMimeData;
    data->setData(kClipboardFormat, m_document.CopyObjects(m_selected));
    QApplication::clipboard()->setMimeData(data);
}

void CNetView::OnEditCut()
{
    OnEditCopy();
    OnEditClear();
}

bool CNetView::CanPaste() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(kClipboardFormat);
}

void CNetView::OnEditPaste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(kClipboardFormat))
        return;
    Select(nullptr, false);
    try {
        m_selected = m_document.PasteObjects(data->data(kClipboardFormat));
    } catch (const ArchiveException&) {
        return;
    } catch (const std::bad_alloc&) {
        // Nothing is pasted: the archive took apart what it had made, and
        // the map stays as it was.
        return;
    }
    OffsetFromOriginals();
    m_document.SetModifiedFlag(true);
    m_document.SaveSnapshot();
    InvalidateSelection();
    emit selectionChanged();
}

void CNetView::OffsetFromOriginals()
{
    // A copy pasted onto its original (or an earlier copy) steps down and
    // to the right, so the user sees that it arrived.
    constexpr qint32 kStep = 100; // 10 mm
    constexpr int kMaxSteps = 50;
    QSet<QPair<qint32, qint32>> taken;
    for (const CDrawObj* object : std::as_const(m_document.m_objects))
        if (!m_selected.contains(object))
            taken.insert({object->m_position.left, object->m_position.top});
    for (int step = 0; step < kMaxSteps; ++step) {
        bool onTop = false;
        for (const CDrawObj* object : std::as_const(m_selected))
            onTop = onTop || taken.contains({object->m_position.left + step * kStep, object->m_position.top + step * kStep});
        if (onTop)
            continue;
        if (step > 0)
            for (CDrawObj* object : std::as_const(m_selected))
                object->MoveTo(object->m_position.translated(step * kStep, step * kStep), this);
        return;
    }
}

void CNetView::MoveInList(CDrawObj* object, qsizetype to)
{
    QList<CDrawObj*>& objects = m_document.m_objects;
    const qsizetype from = objects.indexOf(object);
    if (from < 0 || to < 0 || to >= objects.size() || from == to)
        return;
    objects.move(from, to);
    invalidateObject(object);
    m_document.SetModifiedFlag(true);
    m_document.SaveSnapshot();
}

void CNetView::MoveForward()
{
    if (!m_selected.isEmpty())
        MoveInList(m_selected.first(), m_document.m_objects.indexOf(m_selected.first()) + 1);
}

void CNetView::MoveBack()
{
    if (m_selected.size() == 1)
        MoveInList(m_selected.first(), m_document.m_objects.indexOf(m_selected.first()) - 1);
}

void CNetView::MoveToFront()
{
    if (!m_selected.isEmpty())
        MoveInList(m_selected.first(), m_document.m_objects.size() - 1);
}

void CNetView::MoveToBack()
{
    if (!m_selected.isEmpty())
        MoveInList(m_selected.first(), 0);
}

void CNetView::SetBackgroundColor(COLORREF color)
{
    m_document.m_crBackground = color;
    m_document.SetModifiedFlag(true);
    m_document.SaveSnapshot();
    m_document.UpdateAllViews(0, nullptr);
}

void CNetView::SetShowGrid(bool show)
{
    m_bShowGrid = show;
    viewport()->update();
}

void CNetView::CancelTool()
{
    ReleaseCapture();
    if (CDrawTool* tool = CDrawTool::CurrentTool())
        tool->Cancel();
    CDrawTool::s_nActiveShape = 0;
}

void CNetView::SetViewActive(bool active)
{
    if (active == m_bViewActive)
        return;
    if (active)
        m_bViewActive = true;
    InvalidateSelection();
    m_bViewActive = active;
}

void CNetView::ShowFocusRect(const QRect& device)
{
    if (device.isEmpty() && device.width() <= 1 && device.height() <= 1) {
        m_pFocusRect->hide();
        return;
    }
    m_pFocusRect->setGeometry(device);
    m_pFocusRect->show();
}

int CNetView::Flags(const QMouseEvent* event)
{
    int flags = 0;
    if (event->buttons() & Qt::LeftButton)
        flags |= CDrawTool::kLeftButton;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= CDrawTool::kShift;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= CDrawTool::kControl;
    return flags;
}

void CNetView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bViewActive)
        return;
    if (CDrawTool* tool = CDrawTool::CurrentTool())
        tool->ButtonDown(*this, Flags(event), event->position().toPoint());
}

void CNetView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bViewActive)
        return;
    const int shape = CDrawTool::s_nActiveShape;
    if (CDrawTool* tool = CDrawTool::CurrentTool())
        tool->ButtonUp(*this, Flags(event), event->position().toPoint());
    // A tool that placed its object hands back to the selection tool.
    if (CDrawTool::s_nActiveShape != shape)
        emit toolChanged();
}

void CNetView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bViewActive)
        return;
    if (CDrawTool* tool = CDrawTool::CurrentTool())
        tool->ButtonDblClk(*this, Flags(event), event->position().toPoint());
}

void CNetView::mouseMoveEvent(QMouseEvent* event)
{
    if (CDrawTool* tool = CDrawTool::CurrentTool())
        tool->MouseMove(*this, Flags(event), event->position().toPoint());
}

void CNetView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_bViewActive) {
        const Point map = deviceToLogical(Point{event->pos().x(), event->pos().y()});
        CDrawObj* object = m_document.ObjectAt(map);
        const bool pickable = object && !object->IsKindOf(CDrawNic::StaticClass())
            && !object->IsConnection() && !object->IsKindOf(CDrawText::StaticClass());
        if (pickable && !isSelected(object))
            Select(object, false);
    }
    QMenu menu(this);
    QAction* cut = menu.addAction(QStringLiteral("切り取り(&T)\tCtrl+X"), this, &CNetView::OnEditCut);
    QAction* copy = menu.addAction(QStringLiteral("コピー(&C)\tCtrl+C"), this, &CNetView::OnEditCopy);
    QAction* paste = menu.addAction(QStringLiteral("貼り付け(&P)\tCtrl+V"), this, &CNetView::OnEditPaste);
    cut->setEnabled(!m_selected.isEmpty());
    copy->setEnabled(!m_selected.isEmpty());
    paste->setEnabled(CanPaste());
    menu.exec(event->globalPos());
}

void CNetView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    SetViewActive(true);
}

void CNetView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        CancelTool();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool CNetView::InsertFile(const QString& path, QPoint at, QString* error)
{
    if (EmbeddedFile::IsOwnMapFile(path)) {
        if (error)
            *error = EmbeddedFile::RefusalMessage();
        return false;
    }
    CDrawItem* item = EmbeddedFile::ItemFromFile(m_document, path, error);
    if (!item)
        return false;
    const Point topLeft = deviceToLogical(Point{at.x(), at.y()});
    auto* object = new CDrawOleObj(Rect{topLeft.x, topLeft.y, topLeft.x, topLeft.y});
    object->SetItem(item);
    m_document.AddObject(object);
    // Extents are in 0.01 mm: a picture keeps its size at screen resolution,
    // any other file shows as a name tag.
    const QSize pixels = QImageReader(path).size();
    const Size extent = pixels.isValid()
        ? Size{pixels.width() * 2540 / viewport()->logicalDpiX(),
               pixels.height() * 2540 / viewport()->logicalDpiY()}
        : Size{3000, 1200};
    object->UpdateExtent(extent);
    Select(object, false);
    m_document.SaveSnapshot();
    m_document.UpdateAllViews(0, nullptr);
    return true;
}

void CNetView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasImage())
        event->acceptProposedAction();
}

void CNetView::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void CNetView::dropEvent(QDropEvent* event)
{
    // Drops reach the view through its viewport, in viewport coordinates.
    DropData(*event->mimeData(), event->position().toPoint());
    event->acceptProposedAction();
}

void CNetView::DropData(const QMimeData& data, QPoint at)
{
    QStringList files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    QTemporaryDir scratch;
    if (files.isEmpty() && data.hasImage() && scratch.isValid()) {
        const QString picture = scratch.filePath(QStringLiteral("image.png"));
        if (qvariant_cast<QImage>(data.imageData()).save(picture))
            files.append(picture);
    }
    for (const QString& file : std::as_const(files)) {
        QString error;
        if (!InsertFile(file, at, &error))
            QMessageBox::warning(this, QStringLiteral("Varnex"), error);
    }
}
