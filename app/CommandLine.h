#pragma once

#include <QStringList>
#include <QTextStream>

// The sub-commands of the varnex executable that work without windows:
//   varnex new FILE          writes a new, empty map file
//   varnex sample FILE       writes a small example office map
//   varnex dump FILE         prints the whole map as JSON
//   varnex convert IN OUT    reads any map file, writes a compound map file
//   varnex render FILE --png OUT [--dpi N]
//                            draws the whole map into a PNG picture
//   varnex survey ...        surveys a network and writes its map (SurveyCommand)
// Each returns the process exit code; errors are one line on err.
class CommandLine {
public:
    // Resolutions a rendered picture may have; beyond that it would not fit
    // in memory. Every sub-command that draws takes them.
    static constexpr int kMinDpi = 10;
    static constexpr int kMaxDpi = 1200;

    CommandLine(QTextStream& out, QTextStream& err);

    // True when the arguments name one of these commands.
    static bool handles(const QStringList& arguments);
    // Every form of the command line, or those of one sub-command.
    static QString Usage(const QString& command = {});
    static bool AsksForHelp(const QStringList& arguments);
    int run(const QStringList& arguments);

private:
    int runNew(const QString& path, bool sample);
    int runDump(const QString& path, bool showPassword);
    int runConvert(const QString& in, const QString& out);
    int runRender(const QStringList& arguments);
    // Wrong usage: the problem, when there is one, then how to call.
    int usage(const QString& problem = QString());
    int fail(const QString& message);

    QTextStream& m_out;
    QTextStream& m_err;
};
