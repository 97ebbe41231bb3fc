#include "CReserveBlock.h"

#include "Archive.h"
#include "JsonFields.h"

void CReserveBlock::Serialize(Archive& ar)
{
    serializeValueArrays(ar);
    serializeGeometryArrays(ar);
}

void CReserveBlock::serializeValueArrays(Archive& ar)
{
    for (auto& values : m_adwArrays)
        ar.serialize(values);
    for (auto& values : m_astrArrays)
        ar.serialize(values);
}

void CReserveBlock::serializeGeometryArrays(Archive& ar)
{
    for (auto& values : m_aptArrays)
        ar.serialize(values);
    for (auto& values : m_arcArrays)
        ar.serialize(values);
    for (auto& values : m_asizeArrays)
        ar.serialize(values);
}

QJsonObject CReserveBlock::ToJson() const
{
    QJsonArray dwords;
    for (const auto& values : m_adwArrays)
        dwords.append(JsonFields::dwords(values));
    QJsonArray strings;
    for (const auto& values : m_astrArrays)
        strings.append(JsonFields::strings(values));
    QJsonArray points;
    for (const auto& values : m_aptArrays)
        points.append(JsonFields::points(values));
    QJsonArray rects;
    for (const auto& values : m_arcArrays)
        rects.append(JsonFields::rects(values));
    QJsonArray sizes;
    for (const auto& values : m_asizeArrays)
        sizes.append(JsonFields::sizes(values));
    return QJsonObject{{"dwordArrays", dwords}, {"stringArrays", strings},
                       {"pointArrays", points},  {"rectArrays", rects},
                       {"sizeArrays", sizes}};
}
