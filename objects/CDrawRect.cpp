#include "CDrawRect.h"

#include "DrawView.h"
#include "GdiMapping.h"
#include "document/Archive.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"

#include <QPainter>
#include <QPainterPath>

VX_IMPLEMENT_SERIAL(CDrawRect, &CDrawObj::classInfoCDrawObj)

namespace {

// The pen a line and the other shapes are always drawn with.
constexpr qint32 kLinePenWidth = 10;
constexpr COLORREF kLinePenColor = 0x00C0C0C0;
constexpr int kRoundnessHandle = 9;

} // namespace

CDrawRect::CDrawRect(const Rect& position)
    : CDrawObj(position)
{
}

void CDrawRect::Serialize(Archive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeWord(quint16(m_nShape));
        ar.writePoint(m_roundness);
    } else {
        m_nShape = ar.readWord();
        m_roundness = ar.readPoint();
    }
}

int CDrawRect::GetHandleCount() const
{
    if (m_nShape == line)
        return 2;
    return CDrawObj::GetHandleCount() + (m_nShape == roundRectangle ? 1 : 0);
}

int CDrawRect::effectiveHandle(int nHandle) const
{
    // A line's second handle is its end point, the bottom-right corner.
    return (m_nShape == line && nHandle == 2) ? 5 : nHandle;
}

Point CDrawRect::GetHandle(int nHandle) const
{
    if (m_nShape == roundRectangle && nHandle == kRoundnessHandle) {
        return Point{std::max(m_position.left, m_position.right) - m_roundness.x / 2,
                     std::max(m_position.top, m_position.bottom) - m_roundness.y / 2};
    }
    return CDrawObj::GetHandle(effectiveHandle(nHandle));
}

HandleCursor CDrawRect::GetHandleCursor(int nHandle) const
{
    if (m_nShape == roundRectangle && nHandle == kRoundnessHandle)
        return HandleCursor::SizeAll;
    return CDrawObj::GetHandleCursor(effectiveHandle(nHandle));
}

void CDrawRect::MoveTo(const Rect& position, DrawView* view)
{
    CDrawObj::MoveTo(position, view);
    m_rcExtent = m_position;
}

void CDrawRect::MoveHandleTo(int nHandle, Point point, DrawView* view)
{
    if (m_nShape != roundRectangle || nHandle != kRoundnessHandle) {
        CDrawObj::MoveHandleTo(effectiveHandle(nHandle), point, view);
        return;
    }
    const Rect r = m_position.normalized();
    point.x = std::max(std::min(point.x, r.right - 1), r.left + r.width() / 2);
    point.y = std::max(std::min(point.y, r.bottom - 1), r.top + r.height() / 2);
    m_roundness = Point{2 * (r.right - point.x), 2 * (r.bottom - point.y)};
    MarkModified();
    if (view)
        view->invalidateObject(this);
    else if (m_pDocument)
        m_pDocument->UpdateAllViews(1, this);
}

QLine CDrawRect::LineEnds() const
{
    const Rect& r = m_position;
    const qint32 wx = m_logpen.lopnWidth.x;
    const qint32 wy = m_logpen.lopnWidth.y;
    const bool reversedX = r.right < r.left;
    const bool reversedY = r.bottom < r.top;
    const qint32 x1 = reversedX ? r.left - wx / 2 : r.left + (wx + 1) / 2;
    const qint32 y1 = reversedY ? r.top - wy / 2 : r.top + (wy + 1) / 2;
    const qint32 x2 = reversedX ? r.right + (wx + 1) / 2 : r.right - wx / 2;
    const qint32 y2 = reversedY ? r.bottom + (wy + 1) / 2 : r.bottom - wy / 2;
    return QLine(x1, y1, x2, y2);
}

void CDrawRect::Draw(QPainter& painter)
{
    // Lines are always drawn thick and grey, the other shapes thin and black;
    // the forced pen is kept and saved.
    m_logpen.lopnWidth.x = m_nShape == line ? kLinePenWidth : 1;
    m_logpen.lopnColor = m_nShape == line ? kLinePenColor : 0;
    painter.save();
    GdiMapping::select(painter, *this);
    const QRectF r = GdiMapping::rectF(m_position.normalized());
    switch (m_nShape) {
    case rectangle:
        painter.drawRect(r);
        break;
    case roundRectangle:
        painter.drawRoundedRect(r, m_roundness.x / 2.0, m_roundness.y / 2.0);
        break;
    case ellipse:
        painter.drawEllipse(r);
        break;
    case line:
        painter.drawLine(LineEnds());
        break;
    default:
        break;
    }
    painter.restore();
}

bool CDrawRect::Intersects(const Rect& rect) const
{
    const Rect fixed = m_position.normalized();
    const Rect r = rect.normalized();
    if (!fixed.intersects(r))
        return false;
    QPainterPath region;
    switch (m_nShape) {
    case roundRectangle:
        region.addRoundedRect(GdiMapping::rectF(fixed), m_roundness.x / 2.0, m_roundness.y / 2.0);
        break;
    case ellipse:
        region.addEllipse(GdiMapping::rectF(fixed));
        break;
    case line: {
        const qint32 a = (m_logpen.lopnWidth.x + 5) / 2;
        const qint32 b = (m_logpen.lopnWidth.y + 5) / 2;
        QPolygonF quad;
        quad << QPointF(fixed.left - a, fixed.top - b) << QPointF(fixed.left + a, fixed.top + b)
             << QPointF(fixed.right + a, fixed.bottom + b)
             << QPointF(fixed.right - a, fixed.bottom - b);
        region.addPolygon(quad);
        region.closeSubpath();
        break;
    }
    default:
        return true;
    }
    return region.intersects(GdiMapping::rectF(r));
}

CDrawObj* CDrawRect::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawRect(m_position);
    CopyPenAndBrushTo(copy);
    copy->m_nShape = m_nShape;
    copy->m_roundness = m_roundness;
    FileClone(copy, document);
    return copy;
}

void CDrawRect::DescribeTo(QJsonObject& out,
                           const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawObj::DescribeTo(out, indexOf);
    out["m_nShape"] = m_nShape;
    out["m_roundness"] = JsonFields::point(m_roundness);
}
