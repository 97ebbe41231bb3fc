#include "HostFacts.h"

#include "mapbuild/CsvFields.h"

#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

#include <QHash>

namespace {

using RecordIndex = QHash<QString, HostFacts::Records>;

// The records of a table by the lower-cased text of their first field.
RecordIndex IndexByFirstField(const QStringList& table)
{
    RecordIndex index;
    // The table's name and header line come first.
    for (qsizetype i = 2; i < table.size(); ++i) {
        QStringList fields = CsvFields::Split(table.at(i));
        if (fields.isEmpty())
            continue;
        index[AsciiText::lowered(fields.first())].append(std::move(fields));
    }
    return index;
}

// The host table's rows: the lines after its name and header, up to the
// separator before the first detail table.
RecordIndex IndexHostRows(const QStringList& lines)
{
    RecordIndex index;
    for (qsizetype i = 2; i < lines.size() && lines.at(i) != QLatin1String("\n"); ++i) {
        QStringList fields = CsvFields::Split(lines.at(i));
        if (!fields.isEmpty())
            index[AsciiText::lowered(fields.first())].append(std::move(fields));
    }
    return index;
}

// Columns of the inventory's detail tables taken into the records: the
// key first. Free-running values (clock speed) are left out.
struct TableColumns {
    int inventoryTable;
    QList<int> columns;
};
const std::pair<HostFacts::Table, TableColumns> kInventoryTables[] = {
    {HostFacts::kRoles, {0, {1}}},
    {HostFacts::kProcessors, {1, {1, 2, 3}}},
    {HostFacts::kDisks, {2, {1, 2, 3}}},
};

// WMI listing sections: the property that names an instance and the ones
// worth reporting. Logon times and counts change by themselves.
struct SectionProperties {
    const char* section;
    const char* key;
    QList<const char*> shown;
};
const std::pair<HostFacts::Table, SectionProperties> kWmiSections[] = {
    {HostFacts::kOperatingSystem, {"OperatingSystem", "Caption", {"Version"}}},
    {HostFacts::kSoftware, {"Product", "Caption", {"Version"}}},
    {HostFacts::kHotfixes, {"QuickFixEngineering", "HotFixID", {}}},
    {HostFacts::kLoginProfiles, {"NetworkLoginProfile", "Name", {}}},
};

constexpr int kWmiNameWidth = 32;

// Where a property goes in a record of the section: 0 the key, then the
// shown ones; -1 when it is not wanted.
qsizetype WantedIndex(const SectionProperties& section, QStringView name)
{
    if (name == QLatin1String(section.key))
        return 0;
    for (qsizetype i = 0; i < section.shown.size(); ++i)
        if (name == QLatin1String(section.shown.at(i)))
            return i + 1;
    return -1;
}
const QString kSectionEnd = QStringLiteral("end end");

QStringList Columns(const QStringList& fields, const QList<int>& columns)
{
    QStringList record;
    for (const int column : columns)
        record.append(fields.value(column));
    return record;
}

bool IsDevice(const CDrawObj& object)
{
    return object.IsKindOf(CDrawSys::StaticClass()) && !object.IsKindOf(CDrawText::StaticClass())
        && !object.IsKindOf(CDrawConnect::StaticClass()) && !object.IsKindOf(CDrawNic::StaticClass());
}

} // namespace

std::vector<HostFacts> HostFacts::Collect(const CNetDoc& document)
{
    HostInventory inventory;
    // The WMI records are read from the listing itself, by property name.
    inventory.Build(document, {}, false);
    const RecordIndex hostRows = IndexHostRows(inventory.Lines());
    std::array<RecordIndex, HostInventory::kDetailTables> details;
    for (const auto& [table, how] : kInventoryTables)
        details[size_t(how.inventoryTable)] = IndexByFirstField(inventory.DetailTable(how.inventoryTable));

    std::vector<HostFacts> hosts;
    for (const CDrawObj* object : document.m_objects) {
        if (!object || !IsDevice(*object))
            continue;
        const auto& system = static_cast<const CDrawSys&>(*object);
        if (system.m_strFqdn.isEmpty())
            continue;
        HostFacts facts;
        facts.fqdn = system.m_strFqdn;
        facts.position = system.m_position.normalized();
        facts.ReadInterfaces(system);
        const QString key = AsciiText::lowered(system.m_strFqdn);
        // Devices hanging on a host have no row of their own: what the map
        // itself says of them stands in.
        facts.hostRow = hostRows.value(key).value(
            0, {system.m_strFqdn, system.m_strOs, HostInventory::TypeName(system.m_nTypeCode)});
        for (const auto& [table, how] : kInventoryTables)
            for (const QStringList& fields : details[size_t(how.inventoryTable)].value(key))
                if (!fields.value(how.columns.first()).isEmpty())
                    facts.records[table].append(Columns(fields, how.columns));
        facts.hasInventory = !system.WmiListing().isEmpty();
        facts.ReadWmiListing(system.WmiListing());
        hosts.push_back(std::move(facts));
    }
    return hosts;
}

void HostFacts::ReadInterfaces(const CDrawSys& system)
{
    for (const CDrawObj* object : system.m_nics) {
        if (!object || !object->IsKindOf(CDrawNic::StaticClass()))
            continue;
        const auto& nic = static_cast<const CDrawNic&>(*object);
        const QString mac = NormalMac(nic.m_strMac);
        if (!mac.isEmpty() && !macs.contains(mac))
            macs.append(mac);
        for (int n = 0; n < nic.GetAddressCount(); ++n)
            addresses.append(CDrawNic::DottedAddress(nic.GetAddressAt(n)));
        for (const QString& address : nic.Ipv6Addresses())
            addresses.append(AsciiText::lowered(address));
    }
}

void HostFacts::ReadWmiListing(const QStringList& listing)
{
    // Each instance lists the same properties in the same order, so the
    // section's first property starts the next instance. Only the wanted
    // properties are kept: a listing runs to thousands of lines.
    const SectionProperties* section = nullptr;
    Table table = kTables;
    QStringView first;
    QStringList instance;
    const auto flush = [&] {
        if (section && !instance.value(0).isEmpty())
            records[table].append(instance);
        if (section)
            instance = QStringList(section->shown.size() + 1);
    };
    bool atSectionName = true;
    for (const QString& line : listing) {
        if (line == kSectionEnd) {
            flush();
            section = nullptr;
            atSectionName = true;
            continue;
        }
        if (atSectionName) {
            atSectionName = false;
            section = nullptr;
            first = {};
            for (const auto& [kind, properties] : kWmiSections)
                if (line == QLatin1String(properties.section)) {
                    section = &properties;
                    table = kind;
                    instance = QStringList(properties.shown.size() + 1);
                }
            continue;
        }
        if (!section)
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const QStringView name = QStringView(line).left(tab < 0 ? kWmiNameWidth : tab).trimmed();
        if (first.isEmpty())
            first = name;
        else if (name == first)
            flush();
        const qsizetype wanted = WantedIndex(*section, name);
        if (wanted >= 0)
            instance[wanted] = tab < 0 ? QString() : line.mid(tab + 1);
    }
    flush();
}

QString HostFacts::TableName(int table)
{
    static const char* const kNames[kTables] = {"OS version", "roles", "processors", "disks",
                                                "software", "hotfixes", "login profiles"};
    return table >= 0 && table < kTables ? QString::fromLatin1(kNames[table]) : QString();
}

QString HostFacts::NormalMac(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c == QLatin1Char('-') || c == QLatin1Char(':') || c == QLatin1Char('.'))
            continue;
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return {};
        digits.append(c.toUpper());
    }
    if (digits.size() != 12 || digits == QLatin1String("000000000000"))
        return {};
    QString mac;
    for (int i = 0; i < 12; i += 2) {
        if (i > 0)
            mac.append(QLatin1Char('-'));
        mac.append(digits.mid(i, 2));
    }
    return mac;
}
