#include "ClassRegistry.h"

#include "CDrawConnect.h"
#include "CDrawDomain.h"
#include "CDrawItem.h"
#include "CDrawNic.h"
#include "CDrawObj.h"
#include "CDrawOleObj.h"
#include "CDrawPoly.h"
#include "CDrawRect.h"
#include "CDrawSegment.h"
#include "CDrawSys.h"
#include "CDrawText.h"
#include "document/CDWordArray.h"

#include <array>

const ClassInfo* ClassRegistry::find(QByteArrayView name)
{
    static const std::array<const ClassInfo*, 12> classes{
        &CDrawObj::classInfoCDrawObj,
        &CDrawRect::classInfoCDrawRect,
        &CDrawPoly::classInfoCDrawPoly,
        &CDrawOleObj::classInfoCDrawOleObj,
        &CDrawItem::classInfoCDrawItem,
        &CDrawDomain::classInfoCDrawDomain,
        &CDrawSegment::classInfoCDrawSegment,
        &CDrawSys::classInfoCDrawSys,
        &CDrawNic::classInfoCDrawNic,
        &CDrawText::classInfoCDrawText,
        &CDrawConnect::classInfoCDrawConnect,
        &CDWordArray::classInfoCDWordArray,
    };
    for (const ClassInfo* info : classes) {
        if (name == QByteArrayView(info->name))
            return info;
    }
    return nullptr;
}
