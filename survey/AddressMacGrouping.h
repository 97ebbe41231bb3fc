#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Groups a host's IPv4 addresses into network interfaces by MAC address.
// Addresses whose MAC is unknown share one made-up MAC per host, so that
// they still form one interface.
class AddressMacGrouping {
public:
    // The MAC text of an address from the ARP table, if any.
    using ArpLookup = std::function<std::optional<QString>(quint32 address)>;

    struct Merged {
        QList<int> adapterIndexes; // the adapter each merged list started from
        QList<QList<quint32>> addresses;
    };

    // "No-Ad-" and eight hexadecimal digits in pairs: 17 characters, like a
    // MAC text, and unique to the value.
    static QString Placeholder(quint32 unique);
    // The local machine: every address takes its adapter's MAC.
    static QMap<quint32, QString> MapAdapters(const QList<QList<quint32>>& lists,
                                              const QStringList& macs,
                                              const QString& placeholder);
    // Another host: every address takes its ARP entry's MAC.
    static QMap<quint32, QString> MapAddresses(const QList<quint32>& addresses,
                                               const ArpLookup& arpLookup,
                                               const QString& placeholder);
    // Adapter lists that share a MAC (ignoring case) become one list, in
    // the place of the first; lists without addresses drop out. The caller
    // keeps each merged list's per-adapter values by adapterIndexes.
    static Merged MergeByMac(const QList<QList<quint32>>& lists,
                             const QMap<quint32, QString>& ipToMac);
};
