#include "CTextTool.h"

#include "objects/CDrawText.h"

CTextTool::CTextTool(int shape, int position)
    : CCreateTool(shape)
    , m_nPosition(position)
{
}

CDrawObj* CTextTool::CreateObject(CNetView&, const Rect& position)
{
    auto* text = new CDrawText(position);
    text->m_nPosition = m_nPosition;
    return text;
}
