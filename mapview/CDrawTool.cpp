#include "CDrawTool.h"

#include "mapview/CDomainTool.h"
#include "mapview/CNetView.h"
#include "mapview/CPolyTool.h"
#include "mapview/CRectTool.h"
#include "mapview/CSelectTool.h"
#include "mapview/CSysTool.h"
#include "mapview/CTextTool.h"
#include "objects/CDrawRect.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

int CDrawTool::s_nActiveShape = 0;
QPoint CDrawTool::s_ptDown;
QPoint CDrawTool::s_ptLast;
Point CDrawTool::s_ptLastMap;
int CDrawTool::s_nSelectMode = none;
int CDrawTool::s_nDragHandle = 0;

CDrawTool::CDrawTool(int shape)
    : m_nShape(shape)
{
}

const std::vector<std::unique_ptr<CDrawTool>>& CDrawTool::Registry()
{
    static const std::vector<std::unique_ptr<CDrawTool>> tools = [] {
        std::vector<std::unique_ptr<CDrawTool>> list;
        list.push_back(std::make_unique<CSelectTool>());
        list.push_back(std::make_unique<CRectTool>(1, CDrawRect::line));
        list.push_back(std::make_unique<CRectTool>(2, CDrawRect::rectangle));
        list.push_back(std::make_unique<CRectTool>(3, CDrawRect::roundRectangle));
        list.push_back(std::make_unique<CRectTool>(4, CDrawRect::ellipse));
        list.push_back(std::make_unique<CPolyTool>());
        list.push_back(std::make_unique<CSysTool>(6, CDrawSys::kTower));
        list.push_back(std::make_unique<CSysTool>(7, CDrawSys::kDesktop));
        list.push_back(std::make_unique<CSysTool>(8, CDrawSys::kRouter));
        list.push_back(std::make_unique<CSysTool>(9, CDrawSys::kHub));
        list.push_back(std::make_unique<CSysTool>(10, CDrawSys::kPrinter));
        list.push_back(std::make_unique<CSysTool>(17, CDrawSys::kNotebook));
        list.push_back(std::make_unique<CSysTool>(18, CDrawSys::kRackMount));
        list.push_back(std::make_unique<CSysTool>(19, CDrawSys::kPocketPc));
        list.push_back(std::make_unique<CTextTool>(11, CDrawText::above));
        list.push_back(std::make_unique<CTextTool>(12, CDrawText::below));
        list.push_back(std::make_unique<CTextTool>(13, CDrawText::rightOf));
        list.push_back(std::make_unique<CTextTool>(14, CDrawText::leftOf));
        list.push_back(std::make_unique<CDomainTool>());
        return list;
    }();
    return tools;
}

CDrawTool* CDrawTool::FindTool(int shape)
{
    for (const std::unique_ptr<CDrawTool>& tool : Registry())
        if (tool->m_nShape == shape)
            return tool.get();
    return nullptr;
}

CDrawTool& CDrawTool::SelectTool()
{
    return *FindTool(0);
}

void CDrawTool::ButtonDown(CNetView& view, int, QPoint point)
{
    view.SetCapture();
    s_ptDown = point;
    s_ptLast = point;
}

void CDrawTool::ButtonDblClk(CNetView&, int, QPoint)
{
}

void CDrawTool::ButtonUp(CNetView& view, int, QPoint point)
{
    view.ReleaseCapture();
    if (point == s_ptDown)
        s_nActiveShape = 0;
}

void CDrawTool::MouseMove(CNetView& view, int, QPoint point)
{
    s_ptLast = point;
    view.viewport()->setCursor(Qt::ArrowCursor);
}

void CDrawTool::EditProperties(CNetView&)
{
}

void CDrawTool::Cancel()
{
    s_nActiveShape = 0;
}
