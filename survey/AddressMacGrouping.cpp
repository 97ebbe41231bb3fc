#include "AddressMacGrouping.h"

#include <QHash>

QString AddressMacGrouping::Placeholder(quint32 unique)
{
    const QString hex = QStringLiteral("%1").arg(unique, 8, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("No-Ad-%1-%2-%3-%4")
        .arg(hex.mid(0, 2), hex.mid(2, 2), hex.mid(4, 2), hex.mid(6, 2));
}

QMap<quint32, QString> AddressMacGrouping::MapAdapters(const QList<QList<quint32>>& lists,
                                                       const QStringList& macs,
                                                       const QString& placeholder)
{
    QMap<quint32, QString> map;
    for (qsizetype j = 0; j < lists.size(); ++j) {
        const QString mac = macs.value(j);
        for (const quint32 address : lists.at(j))
            map.insert(address, mac.size() < 10 ? placeholder : mac);
    }
    return map;
}

QMap<quint32, QString> AddressMacGrouping::MapAddresses(const QList<quint32>& addresses,
                                                        const ArpLookup& arpLookup,
                                                        const QString& placeholder)
{
    QMap<quint32, QString> map;
    for (const quint32 address : addresses) {
        const std::optional<QString> mac = arpLookup(address);
        map.insert(address, mac && mac->size() > 10 ? *mac : placeholder);
    }
    return map;
}

AddressMacGrouping::Merged AddressMacGrouping::MergeByMac(const QList<QList<quint32>>& lists,
                                                          const QMap<quint32, QString>& ipToMac)
{
    Merged merged;
    QHash<QString, qsizetype> groupOfMac;
    for (qsizetype j = 0; j < lists.size(); ++j) {
        const QList<quint32>& list = lists.at(j);
        if (list.isEmpty())
            continue;
        QStringList keys;
        for (const quint32 address : list)
            keys.append(ipToMac.value(address).toLower());
        qsizetype group = -1;
        for (const QString& key : std::as_const(keys)) {
            if (groupOfMac.contains(key)) {
                group = groupOfMac.value(key);
                break;
            }
        }
        if (group < 0) {
            group = merged.addresses.size();
            merged.adapterIndexes.append(int(j));
            merged.addresses.append(list);
        } else {
            merged.addresses[group].append(list);
        }
        for (const QString& key : std::as_const(keys))
            groupOfMac.insert(key, group);
    }
    return merged;
}
