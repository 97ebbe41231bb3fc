#pragma once

#include "objects/CDrawSys.h"

// The device tools of the map: command id, tool shape, device type, text.
struct DeviceTool {
    int id;
    int shape;
    int typeCode;
    const char* text;
};

inline constexpr DeviceTool kDeviceTools[] = {
    {32822, 18, CDrawSys::kRackMount, "ラックマウント"},
    {32789, 6, CDrawSys::kTower, "タワー"},
    {32790, 7, CDrawSys::kDesktop, "デスクトップ"},
    {32823, 17, CDrawSys::kNotebook, "ノート"},
    {32824, 19, CDrawSys::kPocketPc, "ポケットPC"},
    {32791, 8, CDrawSys::kRouter, "ルーター"},
    {32792, 9, CDrawSys::kHub, "ハブ"},
    {32793, 10, CDrawSys::kPrinter, "プリンタ"},
};

