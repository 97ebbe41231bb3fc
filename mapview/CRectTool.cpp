#include "CRectTool.h"

#include "objects/CDrawRect.h"

CRectTool::CRectTool(int shape, int rectShape)
    : CCreateTool(shape)
    , m_nRectShape(rectShape)
{
}

CDrawObj* CRectTool::CreateObject(CNetView&, const Rect& position)
{
    auto* rect = new CDrawRect(position);
    rect->m_nShape = m_nRectShape;
    rect->m_roundness = Point{20, 20};
    return rect;
}
