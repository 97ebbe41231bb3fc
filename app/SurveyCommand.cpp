#include "SurveyCommand.h"

#include "CommandLine.h"
#include "InterruptNotifier.h"
#include "survey/platform/NetworkChoice.h"
#include "TerminalSurveyFrontEnd.h"
#include "document/CNetDoc.h"
#include "mapview/DrawingThreads.h"
#include "mapview/MapRenderer.h"
#include "shell/SettingsStore.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <utility>

#include <unistd.h>

namespace {

constexpr int kWmiSetting = 1;
constexpr int kCredentialModeSetting = 2;
constexpr int kPauseSetting = 4;
constexpr qint64 kMaxAccountFile = 4096;
constexpr int kMaxPause = 500;

} // namespace

SurveyCommand::SurveyCommand(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{
}

int SurveyCommand::run(const QStringList& arguments)
{
    Options options;
    QString problem;
    if (!parse(arguments, options) || !(problem = RangeProblem(options)).isEmpty()) {
        if (!problem.isEmpty())
            m_err << "varnex: " << problem << '\n';
        m_err << CommandLine::Usage(QStringLiteral("survey"));
        m_err.flush();
        return 2;
    }
    if (const QString unwritable = UnwritableOutput(options); !unwritable.isEmpty())
        return fail(unwritable);
    return survey(options);
}

QString SurveyCommand::RangeProblem(const Options& options)
{
    if (options.pauseGiven && (options.pause < 0 || options.pause > kMaxPause))
        return QStringLiteral("--pause takes 0 to %1 milliseconds, not %2").arg(kMaxPause).arg(options.pause);
    if (options.dpi != 0 && (options.dpi < CommandLine::kMinDpi || options.dpi > CommandLine::kMaxDpi))
        return QStringLiteral("--dpi takes %1 to %2, not %3").arg(CommandLine::kMinDpi).arg(CommandLine::kMaxDpi).arg(options.dpi);
    if ((options.wmiHttps || !options.wmiAccount.isEmpty()) && !options.wmi)
        return QStringLiteral("--wmi-https and --wmi-account go with --wmi");
    if (!options.wmiCa.isEmpty() && !options.wmiHttps)
        return QStringLiteral("--wmi-ca goes with --wmi-https");
    if (!options.wmiCa.isEmpty() && !QFileInfo(options.wmiCa).isReadable())
        return QStringLiteral("cannot read the certificates in %1").arg(options.wmiCa);
    return {};
}

// Checked before any probing: a survey that cannot write its results is
// not worth sending a packet for.
QString SurveyCommand::UnwritableOutput(const Options& options)
{
    for (const QString& path : {options.out, options.csv, options.png}) {
        if (path.isEmpty())
            continue;
        const QFileInfo file(path);
        const QFileInfo folder(file.absolutePath());
        if (!folder.isDir())
            return QStringLiteral("cannot write %1: the folder %2 does not exist").arg(path, folder.filePath());
        if (file.exists() ? !file.isWritable() || file.isDir() : !folder.isWritable())
            return QStringLiteral("cannot write %1: permission denied").arg(path);
    }
    return {};
}

bool SurveyCommand::parse(const QStringList& arguments, Options& options)
{
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--wmi") || argument == QLatin1String("--wmi-https")) {
            (argument == QLatin1String("--wmi") ? options.wmi : options.wmiHttps) = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return false;
        const QString value = arguments.at(++i);
        bool ok = true;
        if (argument == QLatin1String("--network"))
            options.network = value;
        else if (argument == QLatin1String("--out"))
            options.out = value;
        else if (argument == QLatin1String("--png"))
            options.png = value;
        else if (argument == QLatin1String("--csv"))
            options.csv = value;
        else if (argument == QLatin1String("--dpi"))
            options.dpi = value.toInt(&ok);
        else if (argument == QLatin1String("--pause")) {
            options.pause = value.toInt(&ok);
            options.pauseGiven = true;
        }
        else if (argument == QLatin1String("--community"))
            options.communities.append(value);
        else if (argument == QLatin1String("--wmi-account"))
            options.wmiAccount = value;
        else if (argument == QLatin1String("--wmi-ca"))
            options.wmiCa = value;
        else
            return false;
        if (!ok)
            return false;
    }
    return !options.out.isEmpty();
}

int SurveyCommand::survey(const Options& options)
{
    WsManWmiProbe::Options wmi;
    wmi.connection.https = options.wmiHttps;
    wmi.connection.caFile = options.wmiCa;
    const NetworkChoice::Opened loaded = NetworkChoice::Open(options.network, wmi);
    if (!loaded.network)
        return fail(loaded.error);
    if (!loaded.simulatedName.isEmpty()) {
        m_err << "varnex: surveying the simulated network " << loaded.simulatedName
              << "; nothing is sent on the network\n";
        m_err.flush();
    }

    CNetDoc document;
    document.m_bSnapshotsWanted = false;
    document.OnNewDocument();
    if (options.pause >= 0) {
        if (document.m_adwSurveySettings.size() <= kPauseSetting)
            document.m_adwSurveySettings.resize(kPauseSetting + 1, 0);
        document.m_adwSurveySettings[kPauseSetting] = quint32(options.pause);
    }
    if (options.wmi) {
        const QString problem = UseWmi(document, options.wmiAccount);
        if (!problem.isEmpty())
            return fail(problem);
    }
    SurveySettings settings;
    settings.LoadAtStart(SettingsStore());
    if (!options.communities.isEmpty())
        settings.CommunityList = options.communities;

    TerminalSurveyFrontEnd frontEnd(m_err, isatty(STDERR_FILENO));
    NetworkSurvey survey(document, *loaded.network, settings, frontEnd);
    NetworkSurvey::Ending ending = NetworkSurvey::Ending::Aborted;
    QEventLoop loop;
    QObject::connect(&survey, &NetworkSurvey::ended, &loop, [&](NetworkSurvey::Ending how) {
        ending = how;
        loop.quit();
    });
    InterruptNotifier interrupt;
    QObject::connect(&interrupt, &InterruptNotifier::interrupted, &survey, &NetworkSurvey::Stop);

    survey.PickUp();
    if (survey.IsIdle()) {
        const QString reason = frontEnd.LastMessage();
        return fail(reason.isEmpty() ? QStringLiteral("the device discovery services are not ready")
                                     : reason);
    }
    loop.exec();
    if (ending == NetworkSurvey::Ending::NoHosts && survey.SearchRefused())
        return fail(QStringLiteral("the search could not start: the system refused to start its thread"));
    if (ending == NetworkSurvey::Ending::NoHosts)
        return fail(QStringLiteral("no device answered the search"), kNoHosts);
    if (ending == NetworkSurvey::Ending::Aborted || interrupt.Received())
        return fail(QStringLiteral("the survey was stopped"), kStopped);

    // The account came from a private file for this run only: the map,
    // which others may read, does not keep it.
    if (!options.wmiAccount.isEmpty())
        document.m_astrWmiAccount.clear();
    Results results;
    if (!Prepare(options, document, survey, interrupt, results))
        return m_nFailure;
    if (!Commit(options, document, results))
        return m_nFailure;
    m_out << survey.HostRecords().size() - survey.Unsurveyed() << " devices surveyed; map written to "
          << options.out << '\n';
    m_out.flush();
    if (interrupt.Received())
        return fail(QStringLiteral("the survey was stopped after its results were written"), kStopped);
    if (survey.Unsurveyed() > 0)
        return fail(QStringLiteral("the survey is incomplete: %1 of %2 devices could not be surveyed "
                                   "(the system refused to start more threads)")
                        .arg(survey.Unsurveyed())
                        .arg(survey.HostRecords().size()),
                    kIncomplete);
    return 0;
}

// Every output is made in memory first, so a stop up to here leaves no
// file behind and a failure leaves the previous files as they were.
bool SurveyCommand::Prepare(const Options& options, CNetDoc& document, const NetworkSurvey& survey,
                            const InterruptNotifier& interrupt, Results& results)
{
    const auto stopped = [&] {
        if (!interrupt.Received())
            return false;
        m_nFailure = fail(QStringLiteral("the survey was stopped"), kStopped);
        return true;
    };
    QString error;
    if (!document.FileBytes(results.map, &error)) {
        m_nFailure = fail(QStringLiteral("cannot save %1: %2").arg(options.out, error));
        return false;
    }
    if (stopped())
        return false;
    if (!options.csv.isEmpty()) {
        HostInventory inventory;
        inventory.Build(document, survey.InventoryDevices());
        results.csv = HostInventory::CsvBytes(inventory.Lines());
        if (stopped())
            return false;
    }
    if (!options.png.isEmpty()) {
        const QImage picture = options.dpi ? MapRenderer::render(document, options.dpi) : MapRenderer::render(document);
        if (stopped())
            return false;
        // Encoded here too: a large picture takes longer to compress than
        // to draw, and the writing must take no time worth stopping.
        results.png = MapRenderer::PngBytes(picture);
        if (results.png.isEmpty()) {
            const QString refusal = DrawingThreads::Refusal(options.png);
            m_nFailure = fail(refusal.isEmpty() ? QStringLiteral("cannot write %1").arg(options.png) : refusal);
            return false;
        }
    }
    return !stopped();
}

bool SurveyCommand::Commit(const Options& options, CNetDoc& document, const Results& results)
{
    QString error;
    if (!document.WriteFile(results.map, options.out, &error)) {
        m_nFailure = fail(QStringLiteral("cannot save %1: %2").arg(options.out, error));
        return false;
    }
    for (const auto& [path, bytes] : {std::pair(options.csv, &results.csv), std::pair(options.png, &results.png)}) {
        if (!path.isEmpty() && !WriteWhole(path, *bytes)) {
            m_nFailure = fail(QStringLiteral("cannot write %1").arg(path));
            return false;
        }
    }
    return true;
}

bool SurveyCommand::WriteWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QString SurveyCommand::UseWmi(CNetDoc& document, const QString& accountFile)
{
    if (document.m_adwSurveySettings.size() <= kCredentialModeSetting)
        document.m_adwSurveySettings.resize(kCredentialModeSetting + 1, 0);
    document.m_adwSurveySettings[kWmiSetting] = 1;
    if (accountFile.isEmpty())
        return {};
    // The password must not be readable by others, and never comes from
    // the command line itself.
    const QFileInfo info(accountFile);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther;
    if (!info.exists())
        return QStringLiteral("cannot read %1: no such file").arg(accountFile);
    if (info.permissions() & others)
        return QStringLiteral("%1 is readable by others; make it private (chmod 600)").arg(accountFile);
    QFile file(accountFile);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(accountFile, file.errorString());
    QStringList lines = QString::fromUtf8(file.read(kMaxAccountFile)).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    // Blanks around a password may be part of it; around names they are not.
    if (lines.size() == 3) {
        lines[0] = lines[0].trimmed();
        lines[1] = lines[1].trimmed();
    }
    if (lines.size() != 3 || lines.at(1).isEmpty())
        return QStringLiteral("%1 must hold three lines: domain, user, password").arg(accountFile);
    document.m_astrWmiAccount = lines;
    document.m_adwSurveySettings[kCredentialModeSetting] = 1;
    return {};
}

int SurveyCommand::fail(const QString& message, int code)
{
    m_err << "varnex: " << message << '\n';
    m_err.flush();
    return code;
}
