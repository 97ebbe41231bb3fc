#pragma once

#include <QString>
#include <QStringList>

// The fields of the inventory tables' comma-separated lines. Names and
// texts come from the network, so a field that holds a comma, a quote or a
// line break is quoted (RFC 4180); every other field is written as it is.
class CsvFields {
public:
    static QString Field(const QString& text);
    static QString Join(const QStringList& fields);
    // The fields of a line, quoted ones unquoted.
    static QStringList Split(const QString& line);
    // A cell a spreadsheet would run as a formula (leading =, +, -, @, tab
    // or CR) starts with an apostrophe; a lone surrogate becomes U+FFFD.
    static QString Neutralised(const QString& field);
    // A whole line made safe for a spreadsheet, field by field.
    static QString NeutralisedLine(const QString& line);
};
