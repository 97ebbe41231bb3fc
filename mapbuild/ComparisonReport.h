#pragma once

#include "mapbuild/MapComparison.h"

#include <QByteArray>
#include <QString>

// A map comparison written out: a summary for people, a CSV table (one row
// per change) and JSON for other programs. Files are written beside their
// path and renamed over it.
class ComparisonReport {
public:
    // "new: 1, gone: 2, changed: 3" then one block per device: "+ name",
    // "- name", "~ name" with one "    table field: old → new" line per
    // change, "(none)" standing for a record that is not there.
    static QString Summary(const MapComparison& comparison);
    // The summary line of a changed device's changes, for a tooltip or a
    // list cell, with the tables' names as the user reads them.
    static QString ChangeLine(const MapComparison::FieldChange& change);
    // UTF-8 with a byte order mark, CR LF line ends; the header is
    // host,table,field,old,new. A new device is one row of table "host",
    // field "device", with its name as the new value; a gone one has it as
    // the old value.
    static QByteArray Csv(const MapComparison& comparison);
    static QByteArray Json(const MapComparison& comparison, const QString& earlierPath, const QString& laterPath);
    static bool Write(const QByteArray& bytes, const QString& path);

    static QString KindName(MapComparison::Kind kind);
};
