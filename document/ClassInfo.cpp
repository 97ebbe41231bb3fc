#include "ClassInfo.h"

bool ClassInfo::IsDerivedFrom(const ClassInfo& other) const
{
    for (const ClassInfo* c = this; c; c = c->base) {
        if (c == &other)
            return true;
    }
    return false;
}
