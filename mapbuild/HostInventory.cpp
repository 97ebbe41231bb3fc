#include "HostInventory.h"

#include "mapbuild/CsvFields.h"
#include "mapbuild/SubstringIndex.h"

#include "document/CNetDoc.h"
#include "objects/AsciiText.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace {

enum Table { kUse, kCpu, kHd, kMac, kIp, kRes, kProduct, kFixEngin, kLoginProf };

const QString kHostTable = QStringLiteral("FQDN_TABLE");
const QString kHostHeader = QStringLiteral("FQDN,OS,Type,Manufacturer,Model,TotalMemory,FreeMemory");

struct TableHeading {
    const char* name;
    const char* header;
};

const TableHeading kTables[HostInventory::kDetailTables] = {
    {"USE_TABEL", "FQDN,Service"},
    {"CPU_TABEL", "FQDN,CpuKey,CpuName,CpuModel,Speed"},
    {"HD_TABEL", "FQDN,HdKey,HdModel,Size"},
    {"MAC_TABLE", "FQDN,Mac_Ad,NicManufacturer"},
    {"IP_TABLE", "Mac_Ad,IP_Ad"},
    {"Res_TABLE", "FQDN,Resource,FirmwareVersion,SerialNumber"},
    {"Product_TABLE", "FQDN,SoftCaption,IdentifyingNumber,InstallDate,InstallLocation,InstallState,"
                      "PackageCache,SKUNumber,Vendor,Version"},
    {"FixEngin_TABLE", "FQDN,CSName,Description,FixComments,HotFixID,FixInstallDate,InstalledBy,"
                       "InstalledOn,Name,ServicePackInEffect,Status"},
    {"LoginProf_TABLE",
     "FQDN,AccountExpires, AuthorizationFlags, BadPasswordCount, LoginCaption, CodePage, Comment, "
     "CountryCode, LoginDescription, Flags, FullName, HomeDirectory, HomeDirectoryDrive, LastLogoff, "
     "LastLogon, LogonHours, LogonServer, MaximumStorage, LoginName, NumberOfLogons, Parameters, "
     "PasswordAge, PasswordExpires, PrimaryGroupId, Privileges, Profile, ScriptPath, SettingID, "
     "UnitsPerWeek, UserComment, UserId, UserType, Workstations"},
};

const QStringList kProductProperties{
    "Caption", "IdentifyingNumber", "InstallDate", "InstallLocation", "InstallState",
    "PackageCache", "SKUNumber", "Vendor", "Version"};
const QStringList kFixProperties{
    "CSName", "Description", "FixComments", "HotFixID", "InstallDate", "InstalledBy",
    "InstalledOn", "Name", "ServicePackInEffect", "Status"};
const QStringList kLoginProperties{
    "AccountExpires", "AuthorizationFlags", "BadPasswordCount", "Caption", "CodePage", "Comment",
    "CountryCode", "Description", "Flags", "FullName", "HomeDirectory", "HomeDirectoryDrive",
    "LastLogoff", "LastLogon", "LogonHours", "LogonServer", "MaximumStorage", "Name",
    "NumberOfLogons", "Parameters", "PasswordAge", "PasswordExpires", "PrimaryGroupId",
    "Privileges", "Profile", "ScriptPath", "SettingID", "UnitsPerWeek", "UserComment", "UserId",
    "UserType", "Workstations"};

constexpr int kWmiKeyWidth = 32;

bool IsPrinter(const CDrawSys& host)
{
    return host.m_nTypeCode == CDrawSys::kPrinter;
}

} // namespace

QString HostInventory::TypeName(int typeCode)
{
    switch (typeCode) {
    case CDrawSys::kTower:
        return QStringLiteral("Tower");
    case CDrawSys::kDesktop:
        return QStringLiteral("DeskTop");
    case CDrawSys::kRouter:
        return QStringLiteral("Rooter");
    case CDrawSys::kHub:
        return QStringLiteral("Hub");
    case CDrawSys::kPrinter:
        return QStringLiteral("Printer");
    case CDrawSys::kNotebook:
        return QStringLiteral("Note");
    case CDrawSys::kRackMount:
        return QStringLiteral("RackMount");
    case CDrawSys::kPocketPc:
        return QStringLiteral("PocketPC");
    default:
        return {};
    }
}

void HostInventory::Reset()
{
    m_astrLines = {kHostTable, kHostHeader};
    m_astrColumnNames = kHostHeader.split(QLatin1Char(','));
    for (int n = 0; n < kDetailTables; ++n) {
        const QString header = QString::fromLatin1(kTables[n].header);
        m_tables[size_t(n)] = {QString::fromLatin1(kTables[n].name), header};
        m_astrColumnNames += header.split(QLatin1Char(',')).mid(1);
    }
}

bool HostInventory::Build(const CNetDoc& document, const QList<Device>& devices, bool withWmiTables)
{
    Reset();
    if (document.m_objects.isEmpty()) {
        m_astrLines.clear();
        return false;
    }
    // Devices are matched to hosts by their names within the host names.
    SubstringIndex names;
    for (qsizetype i = 0; i < devices.size(); ++i)
        names.Add(devices.at(i).name, int(i));
    for (const CDrawObj* object : document.m_objects) {
        if (!object->IsKindOf(CDrawSys::StaticClass()) || object->IsKindOf(CDrawText::StaticClass())
            || object->IsKindOf(CDrawConnect::StaticClass())
            || object->IsKindOf(CDrawNic::StaticClass()))
            continue;
        const auto& host = static_cast<const CDrawSys&>(*object);
        if (host.m_strFqdn.isEmpty() || host.m_pOwnerSys)
            continue;
        AddHost(host, devices, names, withWmiTables);
    }
    Assemble();
    return true;
}

void HostInventory::AddHost(const CDrawSys& host, const QList<Device>& devices, const SubstringIndex& names,
                            bool withWmiTables)
{
    const QStringList* label = MainLabel(host);
    // The first device, in the search's order, whose name is in the host's.
    const int first = names.FirstWithin(host.m_strFqdn);
    const Device* device = first >= 0 ? &devices.at(first) : nullptr;
    AddHostRow(host, label, device);
    const QString& fqdn = host.m_strFqdn;
    for (qsizetype n = 1; n < host.m_astrRoles.size(); ++n)
        m_tables[kUse].append(CsvFields::Join({fqdn, host.m_astrRoles.at(n)}));
    AddProcessors(fqdn, label, IsPrinter(host));
    AddDisks(fqdn, label);
    AddInterfaces(host);
    AddResources(host, devices, names);
    if (!withWmiTables)
        return;
    AddWmiSection(host, kProduct, QStringLiteral("Product"), kProductProperties);
    AddWmiSection(host, kFixEngin, QStringLiteral("QuickFixEngineering"), kFixProperties);
    AddWmiSection(host, kLoginProf, QStringLiteral("NetworkLoginProfile"), kLoginProperties);
}

void HostInventory::AddHostRow(const CDrawSys& host, const QStringList* label, const Device* device)
{
    const bool printer = IsPrinter(host);
    const QStringList fields{
        host.m_strFqdn,
        printer ? QString() : host.m_strOs,
        TypeName(host.m_nTypeCode),
        printer ? (device ? device->manufacturer : QString())
                : Single(host, label, QStringLiteral("Manufacturer")),
        printer ? host.m_strOs : Single(host, label, QStringLiteral("Model")),
        Single(host, label, QStringLiteral("TotalMemory")),
        Single(host, label, QStringLiteral("FreeMemory")),
    };
    m_astrLines.append(CsvFields::Join(fields));
}

void HostInventory::AddProcessors(const QString& fqdn, const QStringList* label, bool printer)
{
    const QStringList names = Multiple(label, QStringLiteral("Name"));
    const QStringList captions = Multiple(label, QStringLiteral("Caption"));
    const QStringList speeds = Multiple(label, QStringLiteral("ClockSpeed"));
    for (qsizetype k = 0; k < names.size(); ++k)
        m_tables[kCpu].append(CsvFields::Join({fqdn, QString::number(k + 1), printer ? QString() : names.at(k),
                                               captions.value(k), speeds.value(k)}));
}

void HostInventory::AddDisks(const QString& fqdn, const QStringList* label)
{
    const QStringList disks = Multiple(label, QStringLiteral("Model/Size"));
    for (qsizetype k = 0; k < disks.size(); ++k) {
        const qsizetype slash = disks.at(k).indexOf(QLatin1Char('/'));
        if (slash < 0)
            continue;
        m_tables[kHd].append(CsvFields::Join({fqdn, QString::number(k + 1), disks.at(k).left(slash),
                                              disks.at(k).mid(slash + 1)}));
    }
}

void HostInventory::AddInterfaces(const CDrawSys& host)
{
    for (const CDrawObj* object : host.m_nics) {
        if (!object || !object->IsKindOf(CDrawNic::StaticClass()))
            continue;
        const auto& nic = static_cast<const CDrawNic&>(*object);
        const QString mac = nic.GetMacAddress();
        QString maker;
        if (!nic.m_nicLabels.isEmpty() && nic.m_nicLabels.first()->IsKindOf(CDrawText::StaticClass())) {
            const QStringList& lines = static_cast<const CDrawText*>(nic.m_nicLabels.first())->m_astrLines;
            if (lines.size() >= 3 && !IsHardwareAddress(lines.last()))
                maker = lines.last();
        }
        m_tables[kMac].append(CsvFields::Join({host.m_strFqdn, mac, maker}));
        QString addresses;
        for (int n = 0; n < nic.GetAddressCount(); ++n) {
            const quint32 a = nic.GetAddressAt(n);
            addresses += QStringLiteral("%1.%2.%3.%4")
                             .arg(a & 0xFF)
                             .arg((a >> 8) & 0xFF)
                             .arg((a >> 16) & 0xFF)
                             .arg(a >> 24);
        }
        const QString ipv6 = nic.GetFirstIpv6Address();
        if (addresses.isEmpty())
            addresses = ipv6;
        else if (!ipv6.isEmpty())
            addresses += QLatin1Char(',') + ipv6;
        m_tables[kIp].append(mac + QLatin1Char(',') + addresses);
    }
}

void HostInventory::AddResources(const CDrawSys& host, const QList<Device>& devices, const SubstringIndex& names)
{
    if (!IsPrinter(host)) {
        m_tables[kRes].append(host.m_strFqdn + QStringLiteral(",,,"));
        return;
    }
    for (const int index : names.Within(host.m_strFqdn)) {
        const Device& device = devices.at(index);
        for (qsizetype n = 0; n < device.categories.size(); ++n) {
            const bool first = n == 0;
            m_tables[kRes].append(CsvFields::Join({host.m_strFqdn, device.categories.at(n),
                                                   first ? device.firmwareVersion : QString(),
                                                   first ? device.serialNumber : QString()}));
        }
    }
}

void HostInventory::AddWmiSection(const CDrawSys& host, int table, const QString& section,
                                  const QStringList& properties)
{
    // Only the section's own lines are looked at closely: a listing holds
    // every class, and this runs for three of them per host.
    const QStringList& listing = host.WmiListing();
    qsizetype at = listing.indexOf(section);
    if (at < 0)
        return;
    QString record;
    for (++at; at < listing.size(); ++at) {
        QString line = listing.at(at);
        line.replace(QLatin1Char(','), QLatin1Char(' '));
        QString key = line.left(kWmiKeyWidth);
        while (!key.isEmpty() && key.back().isSpace())
            key.chop(1);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const QString value = tab < 0 ? line : line.mid(tab + 1);
        if (AsciiText::equalsIgnoringCase(key, properties.first())) {
            record = CsvFields::Join({host.m_strFqdn, value});
        } else if (std::any_of(properties.cbegin(), properties.cend(), [&key](const QString& p) {
                       return AsciiText::equalsIgnoringCase(key, p);
                   })) {
            record += QLatin1Char(',') + CsvFields::Field(value);
            if (AsciiText::equalsIgnoringCase(key, properties.last()))
                m_tables[size_t(table)].append(record);
        }
    }
}

void HostInventory::Assemble()
{
    if (m_astrLines.size() < 3) {
        m_astrLines.clear();
        return;
    }
    for (const QStringList& table : m_tables) {
        if (table.size() < 3)
            continue;
        m_astrLines += QStringList(3, QStringLiteral("\n"));
        m_astrLines += table;
    }
}

const QStringList* HostInventory::MainLabel(const CDrawSys& host)
{
    for (const CDrawObj* object : host.m_labels) {
        if (!object || !object->IsKindOf(CDrawText::StaticClass()))
            continue;
        const QStringList& lines = static_cast<const CDrawText*>(object)->m_astrLines;
        if (lines.size() >= 2 && AsciiText::equalsIgnoringCase(lines.first(), host.m_strFqdn))
            return &lines;
    }
    return nullptr;
}

QString HostInventory::LineValue(const QString& line, const QString& property)
{
    const qsizetype at = line.indexOf(property);
    const qsizetype blank = at < 0 ? -1 : line.indexOf(QLatin1Char(' '), at);
    if (blank < 0)
        return {};
    QString value = line.mid(blank).trimmed();
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    value.replace(QStringLiteral("プロセッサ"), QStringLiteral("Processor"));
    return value;
}

QString HostInventory::Single(const CDrawSys& host, const QStringList* label, const QString& property)
{
    if (!label)
        return {};
    // Hosts known only by their UNC name carry their facts on the second line.
    if (host.m_strFqdn.startsWith(QLatin1String("\\\\")))
        return label->value(1);
    for (const QString& line : *label)
        if (line.contains(property))
            return LineValue(line, property);
    return {};
}

QStringList HostInventory::Multiple(const QStringList* label, const QString& property)
{
    QStringList values;
    if (!label)
        return values;
    for (const QString& line : *label)
        if (line.contains(property))
            values.append(LineValue(line, property));
    return values;
}

bool HostInventory::IsHardwareAddress(const QString& line)
{
    if (line.size() < 15)
        return false;
    for (const int at : {2, 5, 8, 11, 14})
        if (line.at(at) != QLatin1Char('-'))
            return false;
    return true;
}

QString HostInventory::DefaultCsvName(const QString& title)
{
    if (title.isEmpty())
        return QStringLiteral("*.csv");
    const qsizetype dot = title.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? title : title.left(dot)) + QStringLiteral(".csv");
}

bool HostInventory::WriteCsv(const QStringList& lines, const QString& path)
{
    // Written beside and renamed: an interrupted export leaves the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = CsvBytes(lines);
    return file.write(bytes) == bytes.size() && file.commit();
}

QByteArray HostInventory::CsvBytes(const QStringList& lines)
{
    QByteArray bytes;
    if (!lines.isEmpty())
        bytes.append("\xFF\xFE", 2);
    for (const QString& line : lines) {
        // Names from the network must not become formulas in a spreadsheet.
        const QString text = CsvFields::NeutralisedLine(line.trimmed()) + QStringLiteral("\r\n");
        for (const QChar c : text) {
            const char16_t unit = c.unicode();
            bytes.append(char(unit & 0xFF));
            bytes.append(char(unit >> 8));
        }
    }
    return bytes;
}

QStringList HostInventory::MasterColumnNames()
{
    QStringList names = kHostHeader.split(QLatin1Char(','));
    for (const TableHeading& table : kTables)
        names += QString::fromLatin1(table.header).split(QLatin1Char(',')).mid(1);
    return names;
}

QString HostInventory::TableName(int n)
{
    return QString::fromLatin1(kTables[n].name);
}
