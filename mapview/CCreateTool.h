#pragma once

#include "mapview/CDrawTool.h"

class CDrawObj;

// What the tools that draw a new object share: the object exists from the
// button press on, and dragging moves its first corner while the other stays
// at the press point. A click without a drag takes the object away again.
class CCreateTool : public CDrawTool {
public:
    using CDrawTool::CDrawTool;

    void ButtonDown(CNetView& view, int flags, QPoint point) override;
    void ButtonUp(CNetView& view, int flags, QPoint point) override;
    void MouseMove(CNetView& view, int flags, QPoint point) override;

protected:
    // The new object with the given position, not yet in the document.
    virtual CDrawObj* CreateObject(CNetView& view, const Rect& position) = 0;
    // Takes the object of a click without drag out of the document.
    static void RemoveNewObject(CNetView& view);
};
