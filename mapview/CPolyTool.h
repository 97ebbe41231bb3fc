#pragma once

#include "mapview/CDrawTool.h"

class CDrawPoly;

// Draws a polygon point by point, or freehand while the button is held.
// Clicking the first point again closes it; a double click ends it open.
class CPolyTool : public CDrawTool {
public:
    CPolyTool();

    void ButtonDown(CNetView& view, int flags, QPoint point) override;
    void ButtonDblClk(CNetView& view, int flags, QPoint point) override;
    void ButtonUp(CNetView& view, int flags, QPoint point) override;
    void MouseMove(CNetView& view, int flags, QPoint point) override;
    void Cancel() override;

    CDrawPoly* Drawing() const { return m_pDrawObj; }

private:
    void Close(CNetView& view);
    void FollowMouse(CNetView& view, Point map);

    // The polygon being drawn; the document owns it.
    CDrawPoly* m_pDrawObj = nullptr;
};
