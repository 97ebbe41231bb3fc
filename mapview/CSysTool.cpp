#include "CSysTool.h"

#include "document/CNetDoc.h"
#include "mapview/CNetView.h"
#include "objects/CDrawSys.h"

CSysTool::CSysTool(int shape, int typeCode)
    : CCreateTool(shape)
    , m_nTypeCode(typeCode)
{
}

CDrawObj* CSysTool::CreateObject(CNetView& view, const Rect& position)
{
    auto* system = new CDrawSys(position);
    system->m_nTypeCode = m_nTypeCode;
    system->m_pDocument = &view.GetDocument();
    if (const std::optional<Rect> size = CDrawSys::DefaultRect(&view.GetDocument(), m_nTypeCode))
        system->m_rcBaseSize = *size;
    return system;
}

void CSysTool::ButtonUp(CNetView& view, int flags, QPoint point)
{
    if (point == s_ptDown) {
        RemoveNewObject(view);
        SelectTool().ButtonDown(view, flags, point);
        SelectTool().ButtonUp(view, flags, point);
        return;
    }
    const QList<CDrawObj*> selected = view.selection();
    if (selected.isEmpty())
        return;
    CDrawObj* system = selected.first();
    const Rect size = CDrawSys::DefaultRect(&view.GetDocument(), m_nTypeCode).value_or(Rect{});
    view.invalidateObject(system);
    Rect position = system->m_position.normalized();
    position.right = position.left + size.width();
    position.bottom = position.top + size.height();
    system->m_position = position;
    view.ReleaseCapture();
    s_nActiveShape = 0;
    view.invalidateObject(system);
    view.GetDocument().SaveSnapshot();
    system->OnOpen(&view);
}
