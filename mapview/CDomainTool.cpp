#include "CDomainTool.h"

#include "objects/CDrawText.h"

CDomainTool::CDomainTool()
    : CCreateTool(16)
{
}

CDrawObj* CDomainTool::CreateObject(CNetView&, const Rect& position)
{
    return new CDrawText(position);
}
