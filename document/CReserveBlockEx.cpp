#include "CReserveBlockEx.h"

#include "Archive.h"
#include "objects/CDrawObj.h"

#include <QJsonArray>

void CReserveBlockEx::Serialize(Archive& ar)
{
    serializeValueArrays(ar);
    for (auto& list : m_aobjLists)
        ar.serializeObjectList(list, CDrawObj::classInfoCDrawObj);
    serializeGeometryArrays(ar);
}

QJsonObject CReserveBlockEx::ToJson(const std::function<quint32(const Persistent*)>& indexOf) const
{
    QJsonObject out = CReserveBlock::ToJson();
    QJsonArray lists;
    for (const auto& list : m_aobjLists) {
        QJsonArray indexes;
        for (const CDrawObj* object : list)
            indexes.append(qint64(indexOf(object)));
        lists.append(indexes);
    }
    out["objectLists"] = lists;
    return out;
}
