#pragma once

#include "listview/CLVObj.h"

#include <QHash>
#include <QStringList>

#include <vector>

class CNetDoc;

// Builds the device list's rows from the inventory tables: one row per
// host of the host table, the first record of every detail table in the
// row itself and the further ones in its detail lines. The tables may come
// from a file: whatever they hold, the rows show what can be read.
class DeviceListRows {
public:
    // Start column of each detail table in a row, in table order; the
    // adapter and address tables share their own step.
    static constexpr int kUseStart = 7;
    static constexpr int kCpuStart = 8;
    static constexpr int kHdStart = 12;
    static constexpr int kMacStart = 15;
    static constexpr int kIpStart = 17;
    static constexpr int kResStart = 18;
    static constexpr int kProductStart = 21;
    static constexpr int kFixStart = 30;
    static constexpr int kLoginStart = 40;

    // The host table's records and each detail table's records, found by
    // their name lines in the combined text of the inventory.
    struct Tables {
        QStringList hosts;
        QHash<QString, QStringList> details; // table name to its records
    };

    static Tables Split(const QStringList& combined);
    static std::vector<CLVObj> Build(const Tables& tables);
    // The rows of a document's inventory tables; a document without tables
    // (one just opened: they are not kept in the file) gets them built first.
    static std::vector<CLVObj> Of(CNetDoc& document);

private:
    // Records of one table by the lower-cased first field, in table order.
    using Index = QHash<QString, QList<QStringList>>;
    static Index IndexOf(const QStringList& records);
    static int PutTable(CLVObj& row, const QString& key, const Index& index, int start);
    static int PutAdapters(CLVObj& row, const QString& key, const Index& macs, const Index& addresses);
    static CLVObj& Line(CLVObj& row, int k);
};
