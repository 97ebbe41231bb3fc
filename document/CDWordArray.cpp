#include "CDWordArray.h"

#include "Archive.h"

VX_IMPLEMENT_SERIAL(CDWordArray, nullptr)

void CDWordArray::Serialize(Archive& ar)
{
    ar.serialize(m_values);
}
