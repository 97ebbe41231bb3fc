#include "DocumentDump.h"

#include "CNetDoc.h"
#include "JsonFields.h"
#include "objects/CDrawObj.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace {

using Indexes = QHash<const Persistent*, quint32>;

QJsonObject Entry(const Persistent& object, quint32 index, const Indexes& indexes)
{
    const auto indexOf = [&indexes](const Persistent* target) -> quint32 {
        return target ? indexes.value(target, 0) : 0;
    };
    QJsonObject entry{{"index", qint64(index)}, {"class", QString::fromLatin1(object.GetRuntimeClass().name)}};
    object.DescribeTo(entry, indexOf);
    return entry;
}

Indexes IndexesOf(const QList<QPair<quint32, const Persistent*>>& written)
{
    Indexes indexes;
    for (const auto& [index, object] : written)
        indexes.insert(object, index);
    return indexes;
}

// Every line after the first moved right by the given number of blanks.
QByteArray Indented(const QByteArray& text, int blanks)
{
    QByteArray result = text;
    result.replace("\n", "\n" + QByteArray(blanks, ' '));
    return result;
}

} // namespace

QJsonObject DocumentDump::toJson(CNetDoc& document)
{
    QJsonObject json = Members(document);
    const QList<QPair<quint32, const Persistent*>> written = document.ArchiveIndexes();
    const Indexes indexes = IndexesOf(written);
    QJsonArray objects;
    for (const auto& [index, object] : written)
        objects.append(Entry(*object, index, indexes));
    json.insert("objects", objects);
    return json;
}

bool DocumentDump::Write(CNetDoc& document, QTextStream& out)
{
    const QJsonObject members = Members(document);
    const QList<QPair<quint32, const Persistent*>> written = document.ArchiveIndexes();
    const Indexes indexes = IndexesOf(written);
    // An indented document lists its members by name; "objects" comes
    // between "m_sizePage" and "reserve".
    QList<QByteArray> parts;
    for (auto it = members.constBegin(); it != members.constEnd(); ++it) {
        if (it.key() > QLatin1String("objects") && !parts.contains("objects"))
            parts.append("objects");
        parts.append(it.key().toUtf8());
    }
    if (!parts.contains("objects"))
        parts.append("objects");
    out << "{\n";
    for (qsizetype p = 0; p < parts.size(); ++p) {
        if (parts.at(p) == "objects") {
            if (written.isEmpty()) {
                out << MemberText(QStringLiteral("objects"), QJsonArray());
            } else {
                out << "    \"objects\": [\n";
                for (qsizetype i = 0; i < written.size(); ++i) {
                    const QByteArray entry =
                        QJsonDocument(Entry(*written.at(i).second, written.at(i).first, indexes)).toJson(QJsonDocument::Indented);
                    out << "        " << Indented(entry.chopped(1), 8) << (i + 1 < written.size() ? ",\n" : "\n");
                }
                out << "    ]";
            }
        } else {
            out << MemberText(QString::fromUtf8(parts.at(p)), members.value(QString::fromUtf8(parts.at(p))));
        }
        out << (p + 1 < parts.size() ? ",\n" : "\n");
    }
    out << "}\n";
    out.flush();
    return out.status() == QTextStream::Ok;
}

QByteArray DocumentDump::MemberText(const QString& key, const QJsonValue& value)
{
    const QByteArray text = QJsonDocument(QJsonObject{{key, value}}).toJson(QJsonDocument::Indented);
    // "{\n" + the member + "\n}\n": keep the member.
    return text.mid(2, text.size() - 2 - 3);
}

QJsonObject DocumentDump::Members(CNetDoc& document)
{
    const QList<QPair<quint32, const Persistent*>> written = document.ArchiveIndexes();
    const Indexes indexes = IndexesOf(written);
    const auto indexOf = [&indexes](const Persistent* object) -> quint32 {
        return object ? indexes.value(object, 0) : 0;
    };

    QJsonArray defaultSizes;
    for (const Rect& r : document.m_rcDefaultSize)
        defaultSizes.append(JsonFields::rect(r));
    QJsonArray objectList;
    for (const CDrawObj* object : std::as_const(document.m_objects))
        objectList.append(qint64(indexOf(object)));

    return QJsonObject{
        {"m_crBackground", qint64(document.m_crBackground)},
        {"m_rcDefaultSize", defaultSizes},
        {"m_dwReserved", qint64(document.m_dwReserved)},
        {"m_sizePage", JsonFields::size(document.m_sizePage)},
        {"m_objects", objectList},
        {"m_astrWsdNames", JsonFields::strings(document.m_astrWsdNames)},
        {"m_astrSurveyHosts", JsonFields::strings(document.m_astrSurveyHosts)},
        {"reserve", document.m_reserve.ToJson(indexOf)},
    };
}
