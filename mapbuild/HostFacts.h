#pragma once

#include "mapbuild/HostInventory.h"

#include "document/Geometry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class CDrawSys;
class CNetDoc;

// What a map says about one device, in the form two maps are compared in:
// its identities (name, hardware and network addresses), its row of the
// host table and its records of every detail table.
class HostFacts {
public:
    // The tables compared record by record. Each record is its key (what
    // names it within the host) followed by the fields worth reporting;
    // the operating system has one record, compared whole.
    enum Table {
        kOperatingSystem,
        kRoles,
        kProcessors,
        kDisks,
        kSoftware,
        kHotfixes,
        kLoginProfiles,
        kTables
    };
    using Records = QList<QStringList>;
    static QString TableName(int table);

    // Every device of a map with a name, in the map's order: the hosts of
    // the inventory and the devices hanging on them.
    static std::vector<HostFacts> Collect(const CNetDoc& document);
    // A MAC address as "00-11-22-33-44-55", or empty when the text holds
    // no usable one (missing, all zero, the survey's placeholder).
    static QString NormalMac(const QString& text);

    QString fqdn;
    Rect position;
    QStringList macs;
    QStringList addresses;
    // FQDN, OS, Type, Manufacturer, Model, TotalMemory, FreeMemory.
    QStringList hostRow;
    std::array<Records, kTables> records;
    // Whether the survey got the device's inventory (its WMI listing): a
    // device whose inventory failed once has not lost its software.
    bool hasInventory = false;

private:
    void ReadInterfaces(const CDrawSys& system);
    // The operating system, software, hotfix and login profile records of
    // the WMI listing.
    void ReadWmiListing(const QStringList& listing);
};
