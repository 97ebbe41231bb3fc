#include "CReserveBlockEx.h"

#include "Archive.h"
#include "objects/CDrawObj.h"

#include <QJsonArray>

void CReserveBlockEx::Serialize(Archive& ar)
{
    serializeValueArrays(ar);
    m_aobjLists.serialize(ar, [](Archive& a, QList<CDrawObj*>& list) {
        a.serializeObjectList(list, CDrawObj::StaticClass());
    });
    serializeGeometryArrays(ar);
}

QJsonObject CReserveBlockEx::ToJson(const std::function<quint32(const Persistent*)>& indexOf) const
{
    QJsonObject out = CReserveBlock::ToJson();
    out["objectLists"] = m_aobjLists.toJson([&](const QList<CDrawObj*>& list) {
        QJsonArray indexes;
        for (const CDrawObj* object : list)
            indexes.append(qint64(indexOf(object)));
        return indexes;
    });
    return out;
}
