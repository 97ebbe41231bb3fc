#pragma once

#include <QStringList>
#include <QTextStream>

// varnex survey [--network live|demo|sim:FILE] --out MAP [--csv FILE] [--png FILE]
//               [--dpi N] [--pause MS] [--community NAME]...
// Surveys a network without windows and writes the map. Without --network
// the live network around this machine is surveyed. Ctrl+C stops the survey.
class SurveyCommand {
public:
    // Exit codes besides 0 and the usage error 2.
    static constexpr int kFailed = 1;
    static constexpr int kNoHosts = 3;
    static constexpr int kStopped = 4;

    SurveyCommand(QTextStream& out, QTextStream& err);
    int run(const QStringList& arguments);

private:
    struct Options {
        QString network = QStringLiteral("live");
        QString out;
        QString png;
        QString csv;
        int dpi = 0;
        int pause = -1;
        QStringList communities;
    };

    bool parse(const QStringList& arguments, Options& options);
    int survey(const Options& options);
    int fail(const QString& message, int code = kFailed);

    QTextStream& m_out;
    QTextStream& m_err;
};
