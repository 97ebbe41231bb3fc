#pragma once

#include "mapbuild/HostFacts.h"

#include "document/Geometry.h"

#include <QList>
#include <QString>

#include <vector>

class CNetDoc;

// What changed between two maps of the same network: devices that are
// new, devices that are gone, and for the devices in both every field of
// the host row and every record of the inventory tables that differs.
// Fields that change on their own between two surveys (free memory, last
// logon, logon counts) are not compared, nor what the inventory tells of a
// device whose inventory one of the surveys did not get.
class MapComparison {
public:
    struct FieldChange {
        QString table; // "host", "adapters", "addresses", "roles", "processors", ...
        QString field;
        QString oldValue; // empty: the record was not there
        QString newValue; // empty: the record is not there any more
    };
    enum class Kind { Added, Gone, Changed };
    struct HostChange {
        Kind kind = Kind::Changed;
        QString oldName;
        QString newName;
        Rect oldPosition; // where a gone device was on the earlier map
        QList<FieldChange> changes;
        const QString& Name() const { return newName.isEmpty() ? oldName : newName; }
    };

    static MapComparison Compare(const CNetDoc& earlier, const CNetDoc& later);
    static MapComparison Compare(const std::vector<HostFacts>& earlier, const std::vector<HostFacts>& later);

    // New and changed devices in the later map's order, then the gone ones
    // in the earlier map's order.
    const QList<HostChange>& Hosts() const { return m_hosts; }
    bool IsEmpty() const { return m_hosts.isEmpty(); }
    qsizetype Count(Kind kind) const;

    // A table's name as the user reads it.
    static QString TableTitle(const QString& table);

private:
    static QList<FieldChange> Differences(const HostFacts& earlier, const HostFacts& later);
    static void CompareHostRow(const HostFacts& earlier, const HostFacts& later, bool inventories,
                               QList<FieldChange>& changes);
    static void CompareSets(const QString& table, QStringList earlier, QStringList later,
                            QList<FieldChange>& changes);
    static void CompareRecords(int table, const HostFacts::Records& earlier, const HostFacts::Records& later,
                               QList<FieldChange>& changes);

    QList<HostChange> m_hosts;
};
