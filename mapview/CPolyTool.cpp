#include "CPolyTool.h"

#include "document/CNetDoc.h"
#include "mapview/CNetView.h"
#include "objects/CDrawPoly.h"

CPolyTool::CPolyTool()
    : CDrawTool(5)
{
}

void CPolyTool::ButtonDown(CNetView& view, int flags, QPoint point)
{
    CDrawTool::ButtonDown(view, flags, point);
    const Point map = view.deviceToLogical(Point{point.x(), point.y()});
    if (m_pDrawObj && map == m_pDrawObj->m_points.first()) {
        Close(view);
        return;
    }
    if (!m_pDrawObj) {
        m_pDrawObj = new CDrawPoly(Rect{map.x, map.y, map.x, map.y});
        view.GetDocument().AddObject(m_pDrawObj);
        view.Select(m_pDrawObj, false);
        m_pDrawObj->AddPoint(map, &view);
    }
    FollowMouse(view, Point{map.x + 1, map.y});
}

// The last point of the polygon follows the mouse until the next press.
void CPolyTool::FollowMouse(CNetView& view, Point map)
{
    m_pDrawObj->AddPoint(map, &view);
    s_nSelectMode = size;
    s_nDragHandle = m_pDrawObj->m_nPoints;
    s_ptLastMap = map;
}

void CPolyTool::Close(CNetView& view)
{
    view.ReleaseCapture();
    m_pDrawObj->DropLastPoint(&view);
    if (m_pDrawObj->m_nPoints <= 1) {
        view.invalidateObject(m_pDrawObj);
        view.GetDocument().RemoveObject(m_pDrawObj, &view);
        m_pDrawObj->Remove();
    } else {
        view.GetDocument().SaveSnapshot();
    }
    m_pDrawObj = nullptr;
    s_nActiveShape = 0;
}

void CPolyTool::MouseMove(CNetView& view, int flags, QPoint point)
{
    if (!m_pDrawObj || !(flags & kLeftButton)) {
        view.viewport()->setCursor(Qt::CrossCursor);
        SelectTool().MouseMove(view, flags, point);
        return;
    }
    const Point map = view.deviceToLogical(Point{point.x(), point.y()});
    m_pDrawObj->AddPoint(map, &view);
    s_nDragHandle = m_pDrawObj->m_nPoints;
    s_ptLastMap = map;
    s_ptLast = point;
    view.viewport()->setCursor(Qt::PointingHandCursor);
}

void CPolyTool::ButtonUp(CNetView&, int, QPoint)
{
}

void CPolyTool::ButtonDblClk(CNetView& view, int, QPoint)
{
    view.ReleaseCapture();
    if (m_pDrawObj && m_pDrawObj->m_nPoints > 2) {
        const Point last = m_pDrawObj->m_points.last();
        const Point before = m_pDrawObj->m_points.at(m_pDrawObj->m_nPoints - 2);
        const bool follower = last == before || (last.y == before.y && last.x == before.x + 1);
        if (follower)
            m_pDrawObj->DropLastPoint(&view);
    }
    if (m_pDrawObj)
        view.GetDocument().SaveSnapshot();
    m_pDrawObj = nullptr;
    s_nActiveShape = 0;
}

void CPolyTool::Cancel()
{
    m_pDrawObj = nullptr;
    CDrawTool::Cancel();
}
