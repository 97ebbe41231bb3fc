#pragma once

#include <QStringList>
#include <QTextStream>

class CNetDoc;
class MapComparison;

// varnex diff OLD NEW [--csv OUT] [--json OUT] [--png OUT [--dpi N]] [--svg OUT]
// Compares two maps of the same network: prints the new, gone and changed
// devices with every change, writes them as CSV or JSON, and draws the
// later map with the changes marked. Exits as diff does: 0 without a
// change, 1 with changes, 2 on an error.
class DiffCommand {
public:
    static constexpr int kSame = 0;
    static constexpr int kDifferent = 1;
    static constexpr int kTrouble = 2;

    DiffCommand(QTextStream& out, QTextStream& err);
    int run(const QStringList& arguments);

private:
    struct Options {
        QString earlier;
        QString later;
        QString csv;
        QString json;
        QString png;
        QString svg;
        int dpi = 0;
    };

    int compare(const QStringList& arguments);
    static bool parse(const QStringList& arguments, Options& options);
    bool Open(CNetDoc& document, const QString& path);
    bool WriteOutputs(const Options& options, const MapComparison& comparison, CNetDoc& later);
    int fail(const QString& message);

    QTextStream& m_out;
    QTextStream& m_err;
};
