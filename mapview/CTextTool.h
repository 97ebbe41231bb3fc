#pragma once

#include "mapview/CCreateTool.h"

// Draws a free label, placed by its position code as if it had an owner.
class CTextTool : public CCreateTool {
public:
    CTextTool(int shape, int position);

protected:
    CDrawObj* CreateObject(CNetView& view, const Rect& position) override;

private:
    const int m_nPosition;
};
