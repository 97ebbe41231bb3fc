#include "MapComparison.h"

#include "mapbuild/HostMatcher.h"

#include "objects/AsciiText.h"

#include <QHash>

#include <algorithm>

namespace {

// The host row's fields worth comparing; free memory changes by itself.
// OS and type come from the survey itself, the rest from the inventory.
const std::pair<int, const char*> kHostFields[] = {
    {1, "OS"}, {2, "type"}, {3, "manufacturer"}, {4, "model"}, {5, "memory"},
};
constexpr int kLastSurveyField = 2;

const QString kPresent = QStringLiteral("present");

// A record's reported fields, or that it is there when it has none.
QString Describe(const QStringList& record)
{
    QStringList parts;
    for (qsizetype field = 1; field < record.size(); ++field)
        if (!record.at(field).isEmpty())
            parts.append(record.at(field));
    return parts.isEmpty() ? kPresent : parts.join(QStringLiteral(" / "));
}

using Grouped = QHash<QString, QList<const QStringList*>>;

// Records by their key, keeping the keys' first-seen order.
Grouped GroupByKey(const HostFacts::Records& records, QStringList& order)
{
    Grouped groups;
    for (const QStringList& record : records) {
        const QString name = record.value(0);
        if (name.isEmpty())
            continue;
        auto& group = groups[name];
        if (group.isEmpty())
            order.append(name);
        group.append(&record);
    }
    return groups;
}

} // namespace

MapComparison MapComparison::Compare(const CNetDoc& earlier, const CNetDoc& later)
{
    return Compare(HostFacts::Collect(earlier), HostFacts::Collect(later));
}

MapComparison MapComparison::Compare(const std::vector<HostFacts>& earlier, const std::vector<HostFacts>& later)
{
    MapComparison comparison;
    const std::vector<int> pairs = HostMatcher::Match(earlier, later);
    std::vector<bool> kept(earlier.size(), false);
    for (size_t k = 0; k < later.size(); ++k) {
        HostChange host;
        host.newName = later[k].fqdn;
        if (pairs[k] < 0) {
            host.kind = Kind::Added;
        } else {
            const HostFacts& before = earlier[size_t(pairs[k])];
            kept[size_t(pairs[k])] = true;
            host.oldName = before.fqdn;
            host.changes = Differences(before, later[k]);
            if (host.changes.isEmpty())
                continue;
        }
        comparison.m_hosts.append(std::move(host));
    }
    for (size_t i = 0; i < earlier.size(); ++i) {
        if (kept[i])
            continue;
        HostChange host;
        host.kind = Kind::Gone;
        host.oldName = earlier[i].fqdn;
        host.oldPosition = earlier[i].position;
        comparison.m_hosts.append(std::move(host));
    }
    return comparison;
}

qsizetype MapComparison::Count(Kind kind) const
{
    return std::count_if(m_hosts.cbegin(), m_hosts.cend(), [kind](const HostChange& host) { return host.kind == kind; });
}

QList<MapComparison::FieldChange> MapComparison::Differences(const HostFacts& earlier, const HostFacts& later)
{
    QList<FieldChange> changes;
    // What only the inventory tells is compared only where both surveys
    // got it.
    const bool inventories = earlier.hasInventory && later.hasInventory;
    CompareHostRow(earlier, later, inventories, changes);
    CompareSets(QStringLiteral("adapters"), earlier.macs, later.macs, changes);
    CompareSets(QStringLiteral("addresses"), earlier.addresses, later.addresses, changes);
    for (int table = 0; table < HostFacts::kTables; ++table)
        if (inventories || table == HostFacts::kRoles)
            CompareRecords(table, earlier.records[size_t(table)], later.records[size_t(table)], changes);
    return changes;
}

void MapComparison::CompareHostRow(const HostFacts& earlier, const HostFacts& later, bool inventories,
                                   QList<FieldChange>& changes)
{
    const QString host = QStringLiteral("host");
    if (!AsciiText::equalsIgnoringCase(earlier.fqdn, later.fqdn))
        changes.append({host, QStringLiteral("name"), earlier.fqdn, later.fqdn});
    for (const auto& [field, name] : kHostFields) {
        if (field > kLastSurveyField && !inventories)
            continue;
        const QString before = earlier.hostRow.value(field);
        const QString after = later.hostRow.value(field);
        if (before != after)
            changes.append({host, QString::fromLatin1(name), before, after});
    }
}

// The whole set as one change, so a readdressed host reads as one line.
void MapComparison::CompareSets(const QString& table, QStringList earlier, QStringList later,
                                QList<FieldChange>& changes)
{
    if (earlier == later)
        return;
    earlier.sort();
    earlier.removeDuplicates();
    later.sort();
    later.removeDuplicates();
    if (earlier != later)
        changes.append({table, table, earlier.join(QStringLiteral(", ")), later.join(QStringLiteral(", "))});
}

void MapComparison::CompareRecords(int kind, const HostFacts::Records& earlier, const HostFacts::Records& later,
                                   QList<FieldChange>& changes)
{
    const QString table = HostFacts::TableName(kind);
    if (kind == HostFacts::kOperatingSystem) {
        const QString was = earlier.value(0).join(QLatin1Char(' '));
        const QString is = later.value(0).join(QLatin1Char(' '));
        if (was != is)
            changes.append({table, table, was, is});
        return;
    }
    if (earlier == later)
        return;
    QStringList earlierKeys;
    QStringList laterKeys;
    const Grouped before = GroupByKey(earlier, earlierKeys);
    const Grouped after = GroupByKey(later, laterKeys);
    // Records of a key found alike on both sides are no change; the others
    // of the key pair in order, and the rest came or went.
    for (const QString& key : earlierKeys) {
        QList<const QStringList*> olds = before[key];
        QList<const QStringList*> news = after.value(key);
        for (qsizetype n = olds.size() - 1; n >= 0; --n) {
            const auto same = std::find_if(news.cbegin(), news.cend(),
                                           [&](const QStringList* record) { return *record == *olds.at(n); });
            if (same == news.cend())
                continue;
            news.erase(same);
            olds.removeAt(n);
        }
        for (qsizetype n = 0; n < std::max(olds.size(), news.size()); ++n) {
            const QString was = n < olds.size() ? Describe(*olds.at(n)) : QString();
            const QString is = n < news.size() ? Describe(*news.at(n)) : QString();
            if (was != is)
                changes.append({table, key, was, is});
        }
    }
    for (const QString& key : laterKeys) {
        if (before.contains(key))
            continue;
        for (const QStringList* record : after[key])
            changes.append({table, key, QString(), Describe(*record)});
    }
}

QString MapComparison::TableTitle(const QString& table)
{
    static const QHash<QString, QString> kTitles{
        {QStringLiteral("host"), QStringLiteral("機器")},
        {QStringLiteral("adapters"), QStringLiteral("アダプター")},
        {QStringLiteral("addresses"), QStringLiteral("アドレス")},
        {QStringLiteral("OS version"), QStringLiteral("OS バージョン")},
        {QStringLiteral("roles"), QStringLiteral("役割")},
        {QStringLiteral("processors"), QStringLiteral("プロセッサ")},
        {QStringLiteral("disks"), QStringLiteral("ディスク")},
        {QStringLiteral("software"), QStringLiteral("ソフトウェア")},
        {QStringLiteral("hotfixes"), QStringLiteral("修正プログラム")},
        {QStringLiteral("login profiles"), QStringLiteral("ログイン プロファイル")},
    };
    return kTitles.value(table, table);
}
