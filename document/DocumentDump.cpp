#include "DocumentDump.h"

#include "CNetDoc.h"
#include "JsonFields.h"
#include "objects/CDrawObj.h"

#include <QHash>
#include <QJsonArray>

QJsonObject DocumentDump::toJson(CNetDoc& document)
{
    const QList<QPair<quint32, const Persistent*>> written = document.ArchiveIndexes();
    QHash<const Persistent*, quint32> indexes;
    for (const auto& [index, object] : written)
        indexes.insert(object, index);
    const auto indexOf = [&indexes](const Persistent* object) -> quint32 {
        return object ? indexes.value(object, 0) : 0;
    };

    QJsonArray defaultSizes;
    for (const Rect& r : document.m_rcDefaultSize)
        defaultSizes.append(JsonFields::rect(r));
    QJsonArray objectList;
    for (const CDrawObj* object : std::as_const(document.m_objects))
        objectList.append(qint64(indexOf(object)));

    QJsonArray objects;
    for (const auto& [index, object] : written) {
        QJsonObject entry{{"index", qint64(index)},
                          {"class", QString::fromLatin1(object->GetRuntimeClass().name)}};
        object->DescribeTo(entry, indexOf);
        objects.append(entry);
    }

    return QJsonObject{
        {"m_crBackground", qint64(document.m_crBackground)},
        {"m_rcDefaultSize", defaultSizes},
        {"m_dwReserved", qint64(document.m_dwReserved)},
        {"m_sizePage", JsonFields::size(document.m_sizePage)},
        {"m_objects", objectList},
        {"m_astrWsdNames", JsonFields::strings(document.m_astrWsdNames)},
        {"m_astrSurveyHosts", JsonFields::strings(document.m_astrSurveyHosts)},
        {"reserve", document.m_reserve.ToJson(indexOf)},
        {"objects", objects},
    };
}
