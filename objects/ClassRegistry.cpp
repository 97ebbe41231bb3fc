#include "ClassRegistry.h"

#include "CDrawObj.h"
#include "document/CDWordArray.h"

#include <array>

const ClassInfo* ClassRegistry::find(QByteArrayView name)
{
    static const std::array<const ClassInfo*, 2> classes{
        &CDrawObj::classInfoCDrawObj,
        &CDWordArray::classInfoCDWordArray,
    };
    for (const ClassInfo* info : classes) {
        if (name == QByteArrayView(info->name))
            return info;
    }
    return nullptr;
}
