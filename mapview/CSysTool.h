#pragma once

#include "mapview/CCreateTool.h"

// Drops a device of one type: whatever the drag, the device gets its type's
// default size at the drag's top-left corner, and its property sheet opens.
class CSysTool : public CCreateTool {
public:
    CSysTool(int shape, int typeCode);

    void ButtonUp(CNetView& view, int flags, QPoint point) override;

protected:
    CDrawObj* CreateObject(CNetView& view, const Rect& position) override;

private:
    const int m_nTypeCode;
};
