#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class CDrawSys;
class SubstringIndex;
class CNetDoc;

// The host inventory as comma-separated tables: one row per host (FQDN_TABLE)
// and nine detail tables (roles, processors, disks, adapters, addresses,
// resources, products, hotfixes, login profiles), built from the system
// objects of a map. Fields are joined with ',' and never quoted: the tables
// are read back by position, as the device list and spreadsheets do.
class HostInventory {
public:
    // What a discovered device announced, for printers' rows.
    struct Device {
        QString name;
        QString manufacturer;
        QString firmwareVersion;
        QString serialNumber;
        QStringList categories;
    };

    static constexpr int kDetailTables = 9;

    // Builds the tables; false (and no lines) when the map holds no objects.
    // Without the WMI tables, the product, hotfix and login profile tables
    // stay empty (they take half the time).
    bool Build(const CNetDoc& document, const QList<Device>& devices, bool withWmiTables = true);

    // FQDN_TABLE with its records, then every detail table that has
    // records, each after three separator lines.
    const QStringList& Lines() const { return m_astrLines; }
    const QStringList& ColumnNames() const { return m_astrColumnNames; }
    const QStringList& DetailTable(int n) const { return m_tables.at(size_t(n)); }

    // UTF-16 little-endian with a byte order mark, lines trimmed and ended
    // by CR LF; an empty list writes an empty file.
    static bool WriteCsv(const QStringList& lines, const QString& path);
    static QByteArray CsvBytes(const QStringList& lines);
    // The export's default name: the title without its last extension, ".csv".
    static QString DefaultCsvName(const QString& title);

    static QString TypeName(int typeCode);
    // The 72 column names of the tables in order, as Build makes them.
    static QStringList MasterColumnNames();
    // The name and header line of detail table n.
    static QString TableName(int n);
    // The value of a property in a label line; see Lookup.
    static QString LineValue(const QString& line, const QString& property);

private:
    void Reset();
    void AddHost(const CDrawSys& host, const QList<Device>& devices, const SubstringIndex& names, bool withWmiTables);
    void AddHostRow(const CDrawSys& host, const QStringList* label, const Device* device);
    void AddProcessors(const QString& fqdn, const QStringList* label, bool printer);
    void AddDisks(const QString& fqdn, const QStringList* label);
    void AddInterfaces(const CDrawSys& host);
    void AddResources(const CDrawSys& host, const QList<Device>& devices, const SubstringIndex& names);
    void AddWmiSection(const CDrawSys& host, int table, const QString& section,
                       const QStringList& properties);
    void Assemble();

    static const QStringList* MainLabel(const CDrawSys& host);
    static QString Single(const CDrawSys& host, const QStringList* label, const QString& property);
    static QStringList Multiple(const QStringList* label, const QString& property);
    static bool IsHardwareAddress(const QString& line);

    QStringList m_astrLines;
    QStringList m_astrColumnNames;
    std::array<QStringList, kDetailTables> m_tables;
};
