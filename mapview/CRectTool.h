#pragma once

#include "mapview/CCreateTool.h"

// Draws lines, rectangles, rounded rectangles and ellipses.
class CRectTool : public CCreateTool {
public:
    CRectTool(int shape, int rectShape);

protected:
    CDrawObj* CreateObject(CNetView& view, const Rect& position) override;

private:
    const int m_nRectShape;
};
