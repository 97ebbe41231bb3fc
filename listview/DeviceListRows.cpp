#include "DeviceListRows.h"

#include "mapbuild/CsvFields.h"

#include "document/CNetDoc.h"
#include "mapbuild/HostInventory.h"
#include "objects/AsciiText.h"

namespace {

const QString kHostTable = QStringLiteral("FQDN_TABLE");
const QString kUseTable = QStringLiteral("USE_TABEL");
const QString kCpuTable = QStringLiteral("CPU_TABEL");
const QString kHdTable = QStringLiteral("HD_TABEL");
const QString kMacTable = QStringLiteral("MAC_TABLE");
const QString kIpTable = QStringLiteral("IP_TABLE");
const QString kResTable = QStringLiteral("Res_TABLE");
const QString kProductTable = QStringLiteral("Product_TABLE");
const QString kFixTable = QStringLiteral("FixEngin_TABLE");
const QString kLoginTable = QStringLiteral("LoginProf_TABLE");

bool IsTableName(const QString& line)
{
    if (line == kHostTable)
        return true;
    for (int n = 0; n < HostInventory::kDetailTables; ++n)
        if (line == HostInventory::TableName(n))
            return true;
    return false;
}

// The end of the host table: an empty line, a lone line feed, or the next table.
bool EndsHostTable(const QString& line)
{
    return line.isEmpty() || line == QLatin1String("\n") || line == kUseTable;
}

} // namespace

std::vector<CLVObj> DeviceListRows::Of(CNetDoc& document)
{
    if (document.m_astrHostTable.isEmpty()) {
        HostInventory inventory;
        if (inventory.Build(document, {}))
            document.m_astrHostTable = inventory.Lines();
    }
    return Build(Split(document.m_astrHostTable));
}

DeviceListRows::Tables DeviceListRows::Split(const QStringList& combined)
{
    Tables tables;
    QString current;
    qsizetype lineOfTable = 0;
    bool hostTableOpen = false;
    for (const QString& line : combined) {
        if (IsTableName(line)) {
            current = line;
            lineOfTable = 0;
            hostTableOpen = line == kHostTable;
            continue;
        }
        if (current.isEmpty() || ++lineOfTable < 2)
            continue; // before any table, or the header line
        if (current == kHostTable) {
            if (hostTableOpen && EndsHostTable(line))
                hostTableOpen = false;
            if (hostTableOpen)
                tables.hosts.append(line);
        } else if (!line.isEmpty()) {
            tables.details[current].append(line);
        }
    }
    return tables;
}

std::vector<CLVObj> DeviceListRows::Build(const Tables& tables)
{
    struct Placed {
        const QString* name;
        int start;
        Index index;
    };
    std::vector<Placed> before{{&kUseTable, kUseStart, {}}, {&kCpuTable, kCpuStart, {}}, {&kHdTable, kHdStart, {}}};
    std::vector<Placed> after{{&kResTable, kResStart, {}}, {&kProductTable, kProductStart, {}},
                              {&kFixTable, kFixStart, {}}, {&kLoginTable, kLoginStart, {}}};
    for (Placed* placed : {&before[0], &before[1], &before[2], &after[0], &after[1], &after[2], &after[3]})
        placed->index = IndexOf(tables.details.value(*placed->name));
    const Index macs = IndexOf(tables.details.value(kMacTable));
    const Index addresses = IndexOf(tables.details.value(kIpTable));

    std::vector<CLVObj> rows;
    rows.reserve(size_t(tables.hosts.size()));
    for (const QString& line : tables.hosts) {
        CLVObj row;
        row.Put(0, CsvFields::Split(line));
        const QString key = AsciiText::lowered(row.Cell(0).trimmed());
        int lines = 0;
        for (const Placed& placed : before)
            lines = std::max(lines, PutTable(row, key, placed.index, placed.start));
        lines = std::max(lines, PutAdapters(row, key, macs, addresses));
        for (const Placed& placed : after)
            lines = std::max(lines, PutTable(row, key, placed.index, placed.start));
        row.m_children.resize(size_t(lines));
        rows.push_back(std::move(row));
    }
    return rows;
}

DeviceListRows::Index DeviceListRows::IndexOf(const QStringList& records)
{
    Index index;
    for (const QString& record : records) {
        const QStringList fields = CsvFields::Split(record);
        index[AsciiText::lowered(fields.first())].append(fields);
    }
    return index;
}

int DeviceListRows::PutTable(CLVObj& row, const QString& key, const Index& index, int start)
{
    const QList<QStringList> records = index.value(key);
    for (qsizetype k = 0; k < records.size(); ++k)
        Line(row, int(k)).Put(start, records.at(k).mid(1));
    return int(std::max<qsizetype>(0, records.size() - 1));
}

int DeviceListRows::PutAdapters(CLVObj& row, const QString& key, const Index& macs, const Index& addresses)
{
    int next = 0; // the row itself, then child 1, 2, ...
    for (const QStringList& adapter : macs.value(key)) {
        const QString mac = adapter.value(1);
        bool first = true;
        for (const QStringList& address : addresses.value(AsciiText::lowered(mac))) {
            CLVObj& line = Line(row, next++);
            if (first || &line == &row)
                line.Put(kMacStart, {mac, adapter.value(2)});
            line.Put(kIpStart, {address.value(1)});
            first = false;
        }
    }
    return std::max(0, next - 1);
}

CLVObj& DeviceListRows::Line(CLVObj& row, int k)
{
    if (k == 0)
        return row;
    if (row.m_children.size() < size_t(k))
        row.m_children.resize(size_t(k));
    return row.m_children[size_t(k - 1)];
}
