#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTextStream>

class CNetDoc;
class InterruptNotifier;
class NetworkSurvey;

// varnex survey [--network live|demo|sim:FILE] --out MAP [--csv FILE] [--png FILE]
//               [--dpi N] [--pause MS] [--community NAME]... [--wmi [--wmi-account FILE]]
// Surveys a network without windows and writes the map. Without --network
// the live network around this machine is surveyed. Ctrl+C stops the survey.
class SurveyCommand {
public:
    // Exit codes besides 0 and the usage error 2.
    static constexpr int kFailed = 1;
    static constexpr int kNoHosts = 3;
    static constexpr int kStopped = 4;
    static constexpr int kIncomplete = 5; // the map is written, some devices are missing

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
        bool pauseGiven = false;
        QStringList communities;
        bool wmi = false;
        QString wmiAccount; // file: domain, user, password
        bool wmiHttps = false; // WS-Management over HTTPS (5986) instead of sealed HTTP (5985)
        QString wmiCa; // the certificates HTTPS trusts; empty: the system's
    };

    // What a survey writes, made before any of it is written.
    struct Results {
        QByteArray map;
        QByteArray csv;
        QByteArray png;
    };

    bool parse(const QStringList& arguments, Options& options);
    // Empty when every option is within its range; else which is not.
    static QString RangeProblem(const Options& options);
    // Empty when every output file can be written; else why not.
    static QString UnwritableOutput(const Options& options);
    int survey(const Options& options);
    bool Prepare(const Options& options, CNetDoc& document, const NetworkSurvey& survey,
                 const InterruptNotifier& interrupt, Results& results);
    bool Commit(const Options& options, CNetDoc& document, const Results& results);
    static bool WriteWhole(const QString& path, const QByteArray& bytes);
    int fail(const QString& message, int code = kFailed);
    // Turns the WMI inventory on; the account comes from a private file.
    static QString UseWmi(CNetDoc& document, const QString& accountFile);

    QTextStream& m_out;
    QTextStream& m_err;
    int m_nFailure = kFailed; // the exit code of a failed Prepare or Commit
};
