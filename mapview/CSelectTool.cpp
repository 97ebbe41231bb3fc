#include "CSelectTool.h"

#include "document/CNetDoc.h"
#include "mapview/CNetView.h"
#include "objects/CDrawOleObj.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

CSelectTool::CSelectTool()
    : CDrawTool(0)
{
}

Qt::CursorShape CSelectTool::CursorShape(HandleCursor cursor)
{
    switch (cursor) {
    case HandleCursor::SizeNWSE:
        return Qt::SizeFDiagCursor;
    case HandleCursor::SizeNS:
        return Qt::SizeVerCursor;
    case HandleCursor::SizeNESW:
        return Qt::SizeBDiagCursor;
    case HandleCursor::SizeWE:
        return Qt::SizeHorCursor;
    case HandleCursor::SizeAll:
        return Qt::SizeAllCursor;
    case HandleCursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

bool CSelectTool::IsLabel(const CDrawObj* object)
{
    return object->IsKindOf(CDrawText::StaticClass());
}

bool CSelectTool::MovesInGroup(const CDrawObj* object)
{
    if (object->IsKindOf(CDrawOleObj::StaticClass()))
        return true;
    return object->IsKindOf(CDrawSys::StaticClass()) && !IsLabel(object)
        && !static_cast<const CDrawSys*>(object)->m_nics.isEmpty();
}

void CSelectTool::ButtonDown(CNetView& view, int flags, QPoint point)
{
    const Point map = view.deviceToLogical(Point{point.x(), point.y()});
    s_nSelectMode = none;
    const QList<CDrawObj*> selected = view.selection();
    if (selected.size() == 1) {
        s_nDragHandle = selected.first()->HitTest(map, &view, true);
        if (s_nDragHandle != 0)
            s_nSelectMode = size;
    }
    if (s_nSelectMode == none) {
        if (CDrawObj* object = view.GetDocument().ObjectAt(map)) {
            s_nSelectMode = move;
            if (!view.isSelected(object))
                view.Select(object, (flags & kShift) != 0);
            if (flags & kControl) {
                view.CloneSelection();
                view.GetDocument().SaveSnapshot();
            }
        }
    }
    if (s_nSelectMode == none) {
        if (!(flags & kShift)) {
            view.InvalidateSelection();
            view.Select(nullptr, false);
        }
        s_nSelectMode = netSelect;
        view.ShowFocusRect(QRect(point, QSize()));
    }
    s_ptLastMap = map;
    CDrawTool::ButtonDown(view, flags, point);
}

void CSelectTool::MouseMove(CNetView& view, int flags, QPoint point)
{
    if (!view.HasCapture()) {
        if (s_nActiveShape == 0)
            HoverHandles(view, point);
        return;
    }
    if (s_nSelectMode == netSelect) {
        view.ShowFocusRect(QRect(s_ptDown, point).normalized());
        s_ptLast = point;
        view.viewport()->setCursor(Qt::ArrowCursor);
        return;
    }
    DragSelection(view, point);
    if (s_nActiveShape != 0)
        return;
    const QList<CDrawObj*> selected = view.selection();
    if (s_nSelectMode == size && s_nDragHandle != 0 && !selected.isEmpty())
        view.viewport()->setCursor(CursorShape(selected.first()->GetHandleCursor(s_nDragHandle)));
    else
        CDrawTool::MouseMove(view, flags, point);
}

void CSelectTool::DragSelection(CNetView& view, QPoint point)
{
    const Point map = view.deviceToLogical(Point{point.x(), point.y()});
    const Point delta{map.x - s_ptLastMap.x, map.y - s_ptLastMap.y};
    const QList<CDrawObj*> selected = view.selection();
    for (CDrawObj* object : selected) {
        if (s_nSelectMode == move) {
            if (selected.size() >= 2 && !MovesInGroup(object))
                continue;
            object->MoveTo(object->m_position.translated(delta.x, delta.y), &view);
        } else if (s_nDragHandle != 0) {
            // Labels show handles, but their size follows their text.
            if (IsLabel(object))
                return;
            object->MoveHandleTo(s_nDragHandle, map, &view);
        }
    }
    s_ptLastMap = map;
    s_ptLast = point;
}

void CSelectTool::HoverHandles(CNetView& view, QPoint point)
{
    const QList<CDrawObj*> selected = view.selection();
    if (selected.size() == 1) {
        const Point map = view.deviceToLogical(Point{point.x(), point.y()});
        CDrawObj* object = selected.first();
        const int handle = object->HitTest(map, &view, true);
        if (handle != 0) {
            if (!IsLabel(object))
                view.viewport()->setCursor(CursorShape(object->GetHandleCursor(handle)));
            return;
        }
    }
    s_ptLast = point;
    view.viewport()->setCursor(Qt::ArrowCursor);
}

void CSelectTool::ButtonUp(CNetView& view, int flags, QPoint point)
{
    if (view.HasCapture()) {
        if (s_nSelectMode == netSelect) {
            view.ShowFocusRect(QRect());
            view.SelectWithinRect(QRect(s_ptDown, s_ptLast).normalized());
        } else if (s_nSelectMode != none) {
            view.GetDocument().UpdateAllViews(0, nullptr);
            // A move or a resize is one undo step of its own (a drawing
            // tool that hands over here has recorded its own).
            if (point != s_ptDown && s_nActiveShape == 0)
                view.GetDocument().SaveSnapshot();
        }
    }
    CDrawTool::ButtonUp(view, flags, point);
}

void CSelectTool::ButtonDblClk(CNetView& view, int flags, QPoint point)
{
    if (flags & kShift) {
        const Point map = view.deviceToLogical(Point{point.x(), point.y()});
        CDrawObj* object = view.GetDocument().ObjectAt(map);
        if (object && view.isSelected(object)) {
            view.invalidateObject(object);
            view.removeFromSelection(object);
        }
        return;
    }
    const QList<CDrawObj*> selected = view.selection();
    if (selected.size() == 1) {
        selected.first()->OnOpen(&view);
        view.viewport()->update();
    } else if (selected.isEmpty()) {
        emit view.surveySettingsRequested();
    }
}

void CSelectTool::EditProperties(CNetView& view)
{
    const QList<CDrawObj*> selected = view.selection();
    if (selected.size() == 1)
        selected.first()->EditProperties(&view);
}
