#pragma once

#include "mapview/CCreateTool.h"

// Draws a label for a domain name, with the default placement.
class CDomainTool : public CCreateTool {
public:
    CDomainTool();

protected:
    CDrawObj* CreateObject(CNetView& view, const Rect& position) override;
};
