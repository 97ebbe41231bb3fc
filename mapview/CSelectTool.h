#pragma once

#include "mapview/CDrawTool.h"
#include "objects/CDrawObj.h"

#include <Qt>

// Selects, moves and resizes objects, and selects by rubber band.
class CSelectTool : public CDrawTool {
public:
    CSelectTool();

    void ButtonDown(CNetView& view, int flags, QPoint point) override;
    void ButtonDblClk(CNetView& view, int flags, QPoint point) override;
    void ButtonUp(CNetView& view, int flags, QPoint point) override;
    void MouseMove(CNetView& view, int flags, QPoint point) override;
    void EditProperties(CNetView& view) override;

    static Qt::CursorShape CursorShape(HandleCursor cursor);

private:
    // With several objects selected only devices and embedded objects move:
    // a device takes its labels and interfaces along itself.
    static bool MovesInGroup(const CDrawObj* object);
    static bool IsLabel(const CDrawObj* object);
    void DragSelection(CNetView& view, QPoint point);
    void HoverHandles(CNetView& view, QPoint point);
};
