#include "CDWordArray.h"

#include "Archive.h"
#include "JsonFields.h"

VX_IMPLEMENT_SERIAL(CDWordArray, nullptr)

void CDWordArray::Serialize(Archive& ar)
{
    ar.serialize(m_values);
}

void CDWordArray::DescribeTo(QJsonObject& out,
                             const std::function<quint32(const Persistent*)>&) const
{
    out["m_values"] = JsonFields::dwords(m_values);
}
