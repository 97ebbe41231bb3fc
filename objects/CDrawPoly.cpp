#include "CDrawPoly.h"

#include "DrawView.h"
#include "GdiMapping.h"
#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"

#include <QPainter>
#include <QPainterPath>

VX_IMPLEMENT_SERIAL(CDrawPoly, &CDrawObj::classInfoCDrawObj)

CDrawPoly::CDrawPoly()
{
    m_bBrush = 0;
}

CDrawPoly::CDrawPoly(const Rect& position)
    : CDrawObj(position)
{
    m_bBrush = 0;
}

void CDrawPoly::Serialize(Archive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeWord(quint16(m_nPoints));
        ar.writeWord(quint16(m_nAllocPoints));
        for (const Point& p : std::as_const(m_points))
            ar.writePoint(p);
        return;
    }
    m_nPoints = ar.readWord();
    m_nAllocPoints = ar.readWord();
    if (m_nPoints > ar.remaining() / 8)
        throw ArchiveException(ArchiveException::Cause::EndOfFile, "polygon vertices");
    m_points.resize(m_nPoints);
    for (Point& p : m_points)
        p = ar.readPoint();
}

int CDrawPoly::GetHandleCount() const
{
    return m_nPoints;
}

Point CDrawPoly::GetHandle(int nHandle) const
{
    CheckIndex(nHandle - 1, m_nPoints);
    return m_points.at(nHandle - 1);
}

HandleCursor CDrawPoly::GetHandleCursor(int) const
{
    return HandleCursor::Arrow;
}

void CDrawPoly::Invalidate(DrawView* view)
{
    if (view)
        view->invalidateObject(this);
    else if (m_pDocument)
        m_pDocument->UpdateAllViews(1, this);
}

void CDrawPoly::MoveHandleTo(int nHandle, Point point, DrawView* view)
{
    CheckIndex(nHandle - 1, m_nPoints);
    if (m_points.at(nHandle - 1) == point)
        return;
    m_points[nHandle - 1] = point;
    RecalcBounds(view);
    Invalidate(view);
    MarkModified();
}

void CDrawPoly::AddPoint(Point point, DrawView* view)
{
    if (m_nPoints == m_nAllocPoints)
        m_nAllocPoints += kGrowBy;
    if (m_nPoints == 0 || !(m_points.last() == point)) {
        m_points.append(point);
        ++m_nPoints;
    }
    if (!RecalcBounds(view))
        Invalidate(view);
    MarkModified();
}

void CDrawPoly::DropLastPoint(DrawView* view)
{
    if (m_nPoints == 0)
        return;
    Invalidate(view);
    m_points.removeLast();
    --m_nPoints;
    RecalcBounds(view);
    Invalidate(view);
    MarkModified();
}

bool CDrawPoly::RecalcBounds(DrawView* view)
{
    if (m_nPoints == 0)
        return false;
    Rect bounds{m_points.first().x, m_points.first().y, m_points.first().x, m_points.first().y};
    for (const Point& p : std::as_const(m_points)) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.right = std::max(bounds.right, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    if (bounds == m_position)
        return false;
    Invalidate(view);
    m_position = bounds;
    SetNormal(bounds.normalized());
    m_rcExtent = bounds;
    Invalidate(view);
    return true;
}

void CDrawPoly::MoveTo(const Rect& position, DrawView* view)
{
    if (position == m_position)
        return;
    Invalidate(view);
    const qint32 dx = position.left - m_position.left;
    const qint32 dy = position.top - m_position.top;
    for (Point& p : m_points)
        p = Point{p.x + dx, p.y + dy};
    m_position = position;
    SetNormal(position.normalized());
    m_rcExtent = position;
    Invalidate(view);
    MarkModified();
}

QPolygonF CDrawPoly::Polygon() const
{
    QPolygonF polygon;
    for (const Point& p : m_points)
        polygon << QPointF(p.x, p.y);
    return polygon;
}

void CDrawPoly::Draw(QPainter& painter)
{
    painter.save();
    GdiMapping::select(painter, *this);
    painter.drawPolygon(Polygon(), Qt::OddEvenFill);
    painter.restore();
}

bool CDrawPoly::Intersects(const Rect& rect) const
{
    const Rect r = rect.normalized();
    QPainterPath region;
    region.setFillRule(Qt::OddEvenFill);
    region.addPolygon(Polygon());
    region.closeSubpath();
    return region.intersects(GdiMapping::rectF(r));
}

CDrawObj* CDrawPoly::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawPoly(m_position);
    CopyPenAndBrushTo(copy);
    copy->m_nPoints = m_nPoints;
    copy->m_nAllocPoints = m_nAllocPoints;
    copy->m_points = m_points;
    FileClone(copy, document);
    return copy;
}

void CDrawPoly::DescribeTo(QJsonObject& out,
                           const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawObj::DescribeTo(out, indexOf);
    out["m_nPoints"] = m_nPoints;
    out["m_nAllocPoints"] = m_nAllocPoints;
    out["m_points"] = JsonFields::points(m_points);
}
