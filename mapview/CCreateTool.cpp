#include "CCreateTool.h"

#include "document/CNetDoc.h"
#include "mapview/CNetView.h"
#include "objects/CDrawObj.h"

void CCreateTool::ButtonDown(CNetView& view, int flags, QPoint point)
{
    CDrawTool::ButtonDown(view, flags, point);
    const Point map = view.deviceToLogical(Point{point.x(), point.y()});
    CDrawObj* object = CreateObject(view, Rect{map.x, map.y, map.x, map.y});
    view.GetDocument().AddObject(object);
    view.Select(object, false);
    s_nSelectMode = size;
    s_nDragHandle = 1;
    s_ptLastMap = map;
}

void CCreateTool::ButtonUp(CNetView& view, int flags, QPoint point)
{
    if (point == s_ptDown) {
        RemoveNewObject(view);
        SelectTool().ButtonDown(view, flags, point);
    } else {
        view.GetDocument().SaveSnapshot();
    }
    SelectTool().ButtonUp(view, flags, point);
}

void CCreateTool::MouseMove(CNetView& view, int flags, QPoint point)
{
    view.viewport()->setCursor(Qt::CrossCursor);
    SelectTool().MouseMove(view, flags, point);
}

void CCreateTool::RemoveNewObject(CNetView& view)
{
    const QList<CDrawObj*> selected = view.selection();
    if (selected.isEmpty())
        return;
    CDrawObj* object = selected.last();
    view.invalidateObject(object);
    view.GetDocument().RemoveObject(object, &view);
    object->Remove();
}
