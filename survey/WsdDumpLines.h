#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <variant>

// The text lines of the device dump: one line per device property and the
// lines the discovery notifications add. The record parser reads them back,
// so their layout is fixed to the column.
class WsdDumpLines {
public:
    // A value type the dump does not spell out; written with its type code.
    struct OtherType {
        quint16 typeCode = 0;
    };

    using Value = std::variant<std::monostate, qint32, quint32, bool, quint64, QString, QUuid,
                               QStringList, QByteArray, OtherType>;

    struct Property {
        QUuid formatId;
        quint32 propertyId = 0;
        Value value;
    };

    static QStringList PropertyLines(const QList<Property>& properties);
    static QStringList PropertyLines(const Property& property);
    // "<name right-justified in 30 columns> = <text>\n".
    static QString Line(const QString& name, const QString& text);

    static QString Added(const QString& providerInstanceId);
    static QString AddResult(bool succeeded);
    static QString Error(quint32 result);
    static QString EventNotification(const QString& provider, quint32 eventId);
    static QString InstancesFound(int count);
    static QString SearchComplete(quint32 eventId);
    static QString Event(quint32 eventId);

private:
    static QString Hex32(quint32 value);
    static QStringList VectorLines(const QString& name, const QStringList& elements);
};
