// Handles of a system: its corners and the roundness of its outline.
#include "CDrawSys.h"

#include "DrawView.h"

namespace {

Rect rectAt(qint32 left, qint32 top, qint32 width, qint32 height)
{
    return Rect{left, top, left + width, top + height};
}

} // namespace

int CDrawSys::GetHandleCount() const
{
    switch (m_nTypeCode) {
    case kDesktop:
        return 9;
    case kHub:
        return 2;
    default:
        return 8;
    }
}

int CDrawSys::EffectiveHandle(int nHandle) const
{
    // A hub has two handles: the top-left and the bottom-right corner.
    return (m_nTypeCode == kHub && nHandle == 2) ? 5 : nHandle;
}

Point CDrawSys::GetHandle(int nHandle) const
{
    const int handle = EffectiveHandle(nHandle);
    if (m_nTypeCode == kDesktop && handle == 9) {
        return Point{std::max(m_position.left, m_position.right) - m_ptRoundness.x / 2,
                     std::max(m_position.top, m_position.bottom) - m_ptRoundness.y / 2};
    }
    return CDrawObj::GetHandle(handle);
}

HandleCursor CDrawSys::GetHandleCursor(int nHandle) const
{
    const int handle = EffectiveHandle(nHandle);
    if (m_nTypeCode == kDesktop && handle == 9)
        return HandleCursor::SizeAll;
    return CDrawObj::GetHandleCursor(handle);
}

void CDrawSys::MoveTo(const Rect& position, DrawView* view)
{
    m_nLastHandle = 0;
    CDrawObj::MoveTo(position, view);
}

void CDrawSys::MoveHandleTo(int nHandle, Point point, DrawView* view)
{
    const int handle = EffectiveHandle(nHandle);
    if (m_nTypeCode == kDesktop && handle == 9) {
        // The ninth handle shapes the corners; the desktop stays where it is.
        SetRoundnessFrom(point);
        if (view)
            view->invalidateObject(this);
    } else {
        // Dragging a handle moves the system without resizing it.
        MoveTo(RectForHandle(handle, point), view);
    }
    m_nLastHandle = handle;
}

Rect CDrawSys::RectForHandle(int nHandle, Point p) const
{
    const qint32 w = m_position.right - m_position.left;
    const qint32 h = m_position.bottom - m_position.top;
    switch (nHandle) {
    case 2:
        return rectAt(p.x - w / 2, p.y, w, h);
    case 3:
        return rectAt(p.x - w, p.y, w, h);
    case 4:
        return rectAt(p.x - w, p.y - h / 2, w, h);
    case 5:
        return rectAt(p.x - w, p.y - h, w, h);
    case 6:
        return rectAt(p.x - w / 2, p.y - h, w, h);
    case 7:
        return rectAt(p.x, p.y - h, w, h);
    case 8:
        return rectAt(p.x, p.y - h / 2, w, h);
    default:
        return rectAt(p.x, p.y, w, h);
    }
}

void CDrawSys::SetRoundnessFrom(Point point)
{
    const Rect r = m_position.normalized();
    const Point centre = r.center();
    // At most one unit inside the corner, at least the centre lines.
    const qint32 x = std::max(std::min(point.x, r.right - 1), centre.x);
    const qint32 y = std::max(std::min(point.y, r.bottom - 1), centre.y);
    m_ptRoundness = Point{2 * (r.right - x), 2 * (r.bottom - y)};
    NotifyChanged();
}
