#include "CReserveBlock.h"

#include "Archive.h"
#include "JsonFields.h"

namespace {

const auto kPlainArray = [](Archive& ar, auto& values) { ar.serialize(values); };

} // namespace

void CReserveBlock::Serialize(Archive& ar)
{
    serializeValueArrays(ar);
    serializeGeometryArrays(ar);
}

void CReserveBlock::serializeValueArrays(Archive& ar)
{
    m_adwArrays.serialize(ar, kPlainArray);
    m_astrArrays.serialize(ar, kPlainArray);
}

void CReserveBlock::serializeGeometryArrays(Archive& ar)
{
    m_aptArrays.serialize(ar, kPlainArray);
    m_arcArrays.serialize(ar, kPlainArray);
    m_asizeArrays.serialize(ar, kPlainArray);
}

QJsonObject CReserveBlock::ToJson() const
{
    return QJsonObject{{"dwordArrays", m_adwArrays.toJson(JsonFields::dwords)},
                       {"stringArrays", m_astrArrays.toJson(JsonFields::strings)},
                       {"pointArrays", m_aptArrays.toJson(JsonFields::points)},
                       {"rectArrays", m_arcArrays.toJson(JsonFields::rects)},
                       {"sizeArrays", m_asizeArrays.toJson(JsonFields::sizes)}};
}
