#include "document/CNetDoc.h"
#include "app/TerminalSurveyFrontEnd.h"
#include "document/DocumentDump.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"
#include "support/SimulatedLan.h"
#include "support/TestFiles.h"
#include "support/VarnexRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTextStream>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <typeinfo>

#include <csignal>
#include <unistd.h>

namespace {

using Outcome = VarnexRun;

Outcome survey(const QStringList& arguments)
{
    return VarnexRun::Of(QStringList{"survey"} + arguments);
}

} // namespace

TEST(SurveyCommand, DemoNetworkGivesAMapAndAPicture)
{
    const QString map = TestFiles::scratchPath("demo-survey.vxnj");
    const QString png = TestFiles::scratchPath("demo-survey.png");
    const QString csv = TestFiles::scratchPath("demo-survey.csv");
    const Outcome outcome =
        survey({"--network", "demo", "--out", map, "--png", png, "--csv", csv, "--pause", "0"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains("surveying the simulated network デモネットワーク"));
    EXPECT_TRUE(outcome.out.contains("23 devices surveyed")) << outcome.out.toStdString();
    // Not a terminal: plain progress lines.
    EXPECT_TRUE(outcome.err.contains("調査スレッドが正常終了しました。"));
    EXPECT_FALSE(outcome.err.contains('\r'));

    CNetDoc document;
    QString error;
    ASSERT_TRUE(document.OnOpenDocument(map, &error)) << error.toStdString();
    int systems = 0;
    for (const CDrawObj* object : document.m_objects)
        systems += typeid(*object) == typeid(CDrawSys);
    EXPECT_GE(systems, 23);
    EXPECT_EQ(document.m_astrSurveyHosts.size(), 23);
    EXPECT_FALSE(QImage(png).isNull());
    const QByteArray table = TestFiles::readAll(csv);
    ASSERT_TRUE(table.startsWith("\xFF\xFE"));
    const QStringList lines = QString::fromUtf16(reinterpret_cast<const char16_t*>(table.constData() + 2),
                                                 (table.size() - 2) / 2)
                                  .split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.at(0), "FQDN_TABLE");
    EXPECT_TRUE(lines.contains("tvdc01.tavrin-demo.local,DOMAIN_CTRL"));
}

TEST(SurveyCommand, FailuresExitWithAReason)
{
    const QString map = TestFiles::scratchPath("failed-survey.vxnj");
    const QString empty = TestFiles::scratchFile("empty-network.json", SimulatedLan().Json());
    const QString manual = TestFiles::scratchFile(
        "manual-network.json", SimulatedLan()
                                   .Local([](QJsonObject& local) {
                                       local["discoveryServices"] = QJsonObject{
                                           {"fdPHost", SimulatedLan::Service(false)},
                                           {"FDResPub", SimulatedLan::Service(true)}};
                                   })
                                   .Json());
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--network", "sim:" + TestFiles::scratchPath("missing.json"), "--out", map}, 1, "missing.json"},
        {{"--network", "lab", "--out", map}, 1, "live, demo or sim:FILE"},
        {{"--network", "sim:" + empty, "--out", map}, 3, "nbtstat -c"},
        {{"--network", "sim:" + manual, "--out", map}, 1, "fdPHostサービスは自動起動になってません。"},
        {{"--out"}, 2, "usage"},
        {{"--network", "sim:" + empty}, 2, "usage"},
        {{"--out", map, "--pause", "501"}, 2, "--pause takes 0 to 500 milliseconds, not 501"},
        {{"--out", map, "--pause", "-5"}, 2, "--pause takes 0 to 500 milliseconds, not -5"},
        {{"--out", map, "--dpi", "5"}, 2, "--dpi takes 10 to 1200"},
        // Checked before anything is sent: the live network is the default.
        {{"--out", "/nonexistent-folder/map.vxnj"}, 1, "the folder /nonexistent-folder does not exist"},
        {{"--out", map, "--png", "/nonexistent-folder/map.png"}, 1, "/nonexistent-folder/map.png"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = survey(c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(c.message))) << outcome.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(map));
}

TEST(SurveyCommand, WmiAccountComesFromAPrivateFileAndStaysOutOfTheMap)
{
    const QString map = TestFiles::scratchPath("wmi-survey.vxnj");
    const QString account = TestFiles::scratchPath("account.txt");
    TestFiles::writeAll(account, "CORP\n admin \n  s3cret with blanks  \n");
    QFile::setPermissions(account, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    Outcome outcome = survey({"--network", "demo", "--wmi", "--wmi-account", account, "--out", map, "--pause", "0"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.contains("chmod 600")) << outcome.err.toStdString();
    EXPECT_FALSE(QFile::exists(map));

    QFile::setPermissions(account, QFile::ReadOwner | QFile::WriteOwner);
    outcome = survey({"--network", "demo", "--wmi", "--wmi-account", account, "--out", map, "--pause", "0"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains("のハードウェア情報を取得しました。"));
    CNetDoc document;
    QString error;
    ASSERT_TRUE(document.OnOpenDocument(map, &error)) << error.toStdString();
    EXPECT_TRUE(document.m_astrWmiAccount.isEmpty()) << "the password is not written into the map";
    const QString secret = QStringLiteral("s3cret");
    EXPECT_FALSE(TestFiles::readAll(map).contains(
        QByteArray(reinterpret_cast<const char*>(secret.utf16()), secret.size() * 2)));
    EXPECT_EQ(document.m_adwSurveySettings.value(1), 1u);
}

TEST(PrintListTo, TheDeviceListPrintsAcrossFirstWithEveryHostOnce)
{
    if (!QFile::exists(QStringLiteral("/usr/bin/pdftotext")))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString map = TestFiles::scratchPath("list-survey.vxnj");
    const QString pdf = TestFiles::scratchPath("list.pdf");
    ASSERT_EQ(survey({"--network", "demo", "--wmi", "--out", map, "--pause", "0"}).exitCode, 0);
    QProcess print;
    print.start(QStringLiteral(VARNEX_BINARY), {"--print-list-to", pdf, map});
    ASSERT_TRUE(print.waitForFinished(60000));
    ASSERT_EQ(print.exitCode(), 0) << print.readAllStandardError().toStdString();

    const auto pageText = [&pdf](int page) {
        QProcess text;
        text.start(QStringLiteral("/usr/bin/pdftotext"),
                   {"-f", QString::number(page), "-l", QString::number(page), "-layout", pdf, "-"});
        text.waitForFinished(30000);
        return QString::fromUtf8(text.readAllStandardOutput());
    };
    const QString first = pageText(1);
    const QRegularExpression label(QStringLiteral("(\\d+) - 1\\s+(\\d+) - 1\\( 1/(\\d+) \\)"));
    const QRegularExpressionMatch match = label.match(first);
    ASSERT_TRUE(match.hasMatch()) << first.toStdString();
    const int down = match.captured(1).toInt();
    const int across = match.captured(2).toInt();
    EXPECT_EQ(match.captured(3).toInt(), down * across);
    EXPECT_GT(across, 1) << "the list is wider than one page";
    EXPECT_TRUE(first.contains("FQDN"));
    EXPECT_TRUE(first.contains("list-survey.vxnj"));
    // The first column's pages, one per band, hold every host exactly once.
    QString firstColumn;
    for (int band = 0; band < down; ++band)
        firstColumn += pageText(band * across + 1);
    for (const char* host : {"tvdc01.tavrin-demo.local", "pc-soumu01.tavrin-demo.local", "gw.tavrin-demo.local",
                             "HOME-NAS.SOHO", "tv-admin01.tavrin-demo.local"})
        EXPECT_EQ(firstColumn.count(QString::fromLatin1(host)), 1) << host;
    // Page 2 continues the first band to the right: other headers, no FQDN.
    const QString second = pageText(2);
    EXPECT_FALSE(second.contains("FQDN"));
    EXPECT_TRUE(second.contains(QStringLiteral("( 2/%1 )").arg(down * across)));
}

TEST(TerminalSurveyFrontEnd, NamesFromTheNetworkCannotSteerTheTerminal)
{
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("\\\\PC1の機能情報を取得しました。"), QStringLiteral("\\\\PC1の機能情報を取得しました。")},
        {QStringLiteral("evil\x1b]0;owned\x07name"), QStringLiteral("evil?]0;owned?name")},
        {QStringLiteral("clear\x1b[2J\r\n"), QStringLiteral("clear?[2J??")},
        {QString(QChar(0x9b)) + QStringLiteral("31m"), QStringLiteral("?31m")},
        {QString(QChar(0x202e)) + QStringLiteral("txt.exe"), QStringLiteral("?txt.exe")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TerminalSurveyFrontEnd::Printable(c.in), c.out) << c.in.toStdString();

    QString written;
    {
        QTextStream stream(&written);
        TerminalSurveyFrontEnd frontEnd(stream, false);
        frontEnd.SetProgressMessage(QStringLiteral("\x1b]2;title\x07host"));
    }
    EXPECT_FALSE(written.contains(QChar(0x1b)));
    EXPECT_TRUE(written.contains("?]2;title?host"));
}

TEST(DocumentDump, TheStreamedListingEqualsTheWholeDocumentsAndWriteErrorsCount)
{
    const QString map = TestFiles::scratchPath("dump-survey.vxnj");
    ASSERT_EQ(survey({"--network", "demo", "--wmi", "--out", map, "--pause", "0"}).exitCode, 0);
    CNetDoc document;
    QString error;
    ASSERT_TRUE(document.OnOpenDocument(map, &error)) << error.toStdString();
    QString streamed;
    QTextStream out(&streamed);
    ASSERT_TRUE(DocumentDump::Write(document, out));
    EXPECT_EQ(streamed.toUtf8(), QJsonDocument(DocumentDump::toJson(document)).toJson(QJsonDocument::Indented));

    CNetDoc empty;
    empty.OnNewDocument();
    QString none;
    QTextStream noneOut(&none);
    ASSERT_TRUE(DocumentDump::Write(empty, noneOut));
    EXPECT_EQ(none.toUtf8(), QJsonDocument(DocumentDump::toJson(empty)).toJson(QJsonDocument::Indented));

    if (QFile::exists(QStringLiteral("/dev/full"))) {
        QProcess dump;
        dump.setStandardOutputFile(QStringLiteral("/dev/full"));
        dump.start(QStringLiteral(VARNEX_BINARY), {"dump", map});
        dump.waitForFinished(60000);
        EXPECT_NE(dump.exitCode(), 0) << "a listing that could not be written is a failure";
    }
}

TEST(SurveyCommand, SpecialFilesAreRefusedNotReadWithoutEnd)
{
    if (!QFile::exists(QStringLiteral("/dev/zero")))
        GTEST_SKIP() << "no /dev/zero here";
    const Outcome simulated = survey({"--network", "sim:/dev/zero", "--out", TestFiles::scratchPath("zero.vxnj")});
    EXPECT_EQ(simulated.exitCode, 1);
    EXPECT_TRUE(simulated.err.contains("not a regular file")) << simulated.err.toStdString();
    QProcess dump;
    dump.start(QStringLiteral(VARNEX_BINARY), {"dump", "/dev/zero"});
    ASSERT_TRUE(dump.waitForFinished(30000));
    EXPECT_EQ(dump.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(dump.readAllStandardError()).contains("not a regular file"));
}

TEST(SurveyCommand, TheSameNetworkGivesTheSameMapFile)
{
    QByteArray first;
    for (int run = 0; run < 3; ++run) {
        const QString map = TestFiles::scratchPath(QStringLiteral("same-%1.vxnj").arg(run));
        ASSERT_EQ(survey({"--network", "demo", "--wmi", "--out", map, "--pause", "0"}).exitCode, 0);
        const QByteArray bytes = TestFiles::readAll(map);
        if (run == 0)
            first = bytes;
        else
            EXPECT_EQ(bytes, first) << "run " << run << " differs although the threads finish in another order";
    }
}

TEST(CommandLineErrors, AMalformedMapGivesOneLineAndNoLibraryNoise)
{
    const QString good = TestFiles::scratchPath("good.vxnj");
    QProcess make;
    make.start(QStringLiteral(VARNEX_BINARY), {"new", good});
    ASSERT_TRUE(make.waitForFinished(30000));
    QByteArray bytes = TestFiles::readAll(good);
    ASSERT_GT(bytes.size(), 1200);
    // The header stays valid; the allocation tables behind it do not.
    for (int i = 576; i < 1112; ++i)
        bytes[i] = char(bytes[i] ^ 0x5a);
    const QString bad = TestFiles::scratchPath("bad.vxnj");
    TestFiles::writeAll(bad, bytes);
    QProcess dump;
    dump.start(QStringLiteral(VARNEX_BINARY), {"dump", bad});
    ASSERT_TRUE(dump.waitForFinished(30000));
    const QString err = QString::fromUtf8(dump.readAllStandardError());
    EXPECT_EQ(dump.exitCode(), 1);
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith("varnex: cannot open")) << err.toStdString();
}

TEST(CommandLineErrors, APlantedRuntimeLinkChangesNothing)
{
    const QString shared = TestFiles::scratchPath("shared-tmp");
    QDir().mkpath(shared);
    const QString victim = TestFiles::scratchPath("victim.txt");
    TestFiles::writeAll(victim, "data");
    QFile::setPermissions(victim, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString link = shared + QStringLiteral("/runtime-%1").arg(getuid());
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(victim, link));
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), shared);
    run.setProcessEnvironment(environment);
    run.start(QStringLiteral(VARNEX_BINARY), {"new", TestFiles::scratchPath("runtime.vxnj")});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_TRUE(QFile::permissions(victim) & QFile::ReadOther) << "the linked file's mode is untouched";
}

TEST(CommandLineErrors, HelpVersionAndUnknownOptionsNeedNoDisplay)
{
    const QString directory = TestFiles::scratchPath("help-cwd");
    QDir().mkpath(directory);
    const struct {
        QStringList arguments;
        int exitCode;
        const char* out;
        const char* err;
    } cases[] = {
        {{"--help"}, 0, "varnex survey [--network", ""},
        {{"-h"}, 0, "varnex render FILE", ""},
        {{"--version"}, 0, "varnex 0.1.0", ""},
        {{"-V"}, 0, "varnex ", ""},
        {{"survey", "--help"}, 0, "usage: varnex survey", ""},
        {{"new", "--help"}, 0, "usage: varnex new FILE", ""},
        {{"--bogus"}, 2, "", "usage: varnex"},
        {{"-x", "map.vxnj"}, 2, "", "usage: varnex"},
        {{"frobnicate"}, 2, "", "usage: varnex"},
        {{"map.vxnj"}, 1, "", "no display"},
        {{}, 1, "", "no display"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(directory);
        process.start(QStringLiteral(VARNEX_BINARY), c.arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), c.exitCode);
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).contains(QString::fromUtf8(c.out)));
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(QString::fromUtf8(c.err)));
    }
    EXPECT_FALSE(QFile::exists(directory + "/--help")) << "help never becomes a file";

    // Output that cannot be written is a failure, as for every writer.
    for (const char* argument : {"--help", "--version"}) {
        QProcess full;
        full.setStandardOutputFile(QStringLiteral("/dev/full"));
        full.start(QStringLiteral(VARNEX_BINARY), {QString::fromLatin1(argument)});
        ASSERT_TRUE(full.waitForFinished(30000));
        EXPECT_EQ(full.exitCode(), 1) << argument;
    }
}

TEST(SurveyCommand, ASecondInterruptEndsTheProgramAtOnce)
{
    // A slow network: every server information request takes five seconds.
    SimulatedLan lan;
    lan.Computer("PC001", "10.77.1.1", "Domain:CORP").Probe("serverInfo", 5000);
    const QString network = TestFiles::scratchFile("slow-network.json", lan.Json());
    QProcess process;
    process.start(QStringLiteral(VARNEX_BINARY),
                  {"survey", "--network", "sim:" + network, "--out", TestFiles::scratchPath("slow.vxnj"), "--pause", "0"});
    ASSERT_TRUE(process.waitForStarted());
    QThread::msleep(500);
    ::kill(pid_t(process.processId()), SIGINT);
    QThread::msleep(100);
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000));
    // 130, not the 4 of a stop that ran its course.
    EXPECT_EQ(process.exitCode(), 130);
}

TEST(SurveyCommand, AStopAfterTheProbingEndsTheRunWithoutWritingAnything)
{
    SimulatedLan lan;
    for (int n = 1; n <= 300; ++n)
        lan.Computer(QStringLiteral("PC%1").arg(n, 3, 10, QLatin1Char('0')), QStringLiteral("10.77.%1.%2").arg(n / 250 + 1).arg(n % 250 + 1),
                     "Domain:CORP");
    const QString network = TestFiles::scratchFile("stop-late-network.json", lan.Json());
    const QString map = TestFiles::scratchPath("stop-late.vxnj");
    const QString csv = TestFiles::scratchPath("stop-late.csv");
    const QString png = TestFiles::scratchPath("stop-late.png");
    QProcess process;
    // A large picture keeps the run busy after the probing.
    process.start(QStringLiteral(VARNEX_BINARY), {"survey", "--network", "sim:" + network, "--out", map, "--csv", csv,
                                                  "--png", png, "--dpi", "1200", "--pause", "0"});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray err;
    while (!err.contains("調査スレッドが正常終了しました。") && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        err += process.readAllStandardError();
    }
    ASSERT_EQ(process.state(), QProcess::Running) << err.toStdString();
    ASSERT_GT(process.processId(), 0);
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    err += process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), 4) << err.toStdString();
    EXPECT_TRUE(err.contains("the survey was stopped"));
    for (const QString& output : {map, csv, png})
        EXPECT_FALSE(QFile::exists(output)) << output.toStdString();
}

TEST(SurveyCommand, OneEndlessNameFromTheNetworkDoesNotSpreadTheMap)
{
    QJsonObject root = QJsonDocument::fromJson(TestFiles::readAll(VARNEX_SOURCE_DIR "/data/demo-network.json")).object();
    QJsonObject gateway = root.value("upnpGateway").toObject();
    gateway.insert("modelName", QString(50000, 'M'));
    root.insert("upnpGateway", gateway);
    const QString network = TestFiles::scratchFile("endless-name.json", QJsonDocument(root).toJson());
    const QString map = TestFiles::scratchPath("endless-name.vxnj");
    const QString png = TestFiles::scratchPath("endless-name.png");
    const Outcome outcome = survey({"--network", "sim:" + network, "--out", map, "--png", png, "--pause", "0"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    // The demo map's own pages, not a strip thousands of pages wide.
    EXPECT_LT(picture.width(), 4000);
    EXPECT_GT(picture.height(), 1000);
    CNetDoc document;
    ASSERT_TRUE(document.OnOpenDocument(map));
    bool cut = false;
    for (const CDrawObj* object : document.m_objects)
        if (typeid(*object) == typeid(CDrawText))
            for (const QString& line : static_cast<const CDrawText*>(object)->m_astrLines) {
                EXPECT_LE(line.size(), CDrawSys::kMaxLabelLine);
                cut = cut || line.endsWith(QChar(0x2026));
            }
    EXPECT_TRUE(cut);
}

TEST(TerminalSurveyFrontEnd, AProgressLineFitsTheTerminal)
{
    const struct {
        QString text;
        int columns;
        QString fitted;
    } cases[] = {
        {QStringLiteral("[####] 3 台中"), 80, QStringLiteral("[####] 3 台中")},
        {QStringLiteral("abcdef"), 4, QStringLiteral("abcd")},
        {QStringLiteral("ab調査中"), 5, QStringLiteral("ab調")} ,
        {QStringLiteral("ab調査中"), 6, QStringLiteral("ab調査")},
        {QStringLiteral("ｱｲｳ"), 2, QStringLiteral("ｱｲ")},
        {QString(), 10, QString()},
        {QStringLiteral("x"), 0, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TerminalSurveyFrontEnd::FitToWidth(c.text, c.columns), c.fitted) << c.text.toStdString();
}

// The desktop program on a map of its own, with a runtime directory of the
// test's, whose snapshots it lists.
class DesktopWithSnapshots {
public:
    explicit DesktopWithSnapshots(const QString& name) : m_runtime(TestFiles::scratchPath(name))
    {
        QDir().mkpath(m_runtime);
        QFile::setPermissions(m_runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_map = m_runtime + "/map.vxnj";
        QProcess make;
        make.start(QStringLiteral(VARNEX_BINARY), {"sample", m_map});
        make.waitForFinished(30000);
    }
    QStringList Snapshots() const
    {
        return QDir(m_runtime + "/varnex-snapshots").entryList({"vx_*"}, QDir::Files);
    }
    void Start(QProcess& gui, const QStringList& arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        gui.setProcessEnvironment(environment);
        gui.start(QStringLiteral(VARNEX_BINARY), arguments);
    }
    // Opens the map and waits for its first snapshot.
    bool StartOnTheMap(QProcess& gui) const
    {
        Start(gui, {m_map});
        for (int i = 0; i < 100 && Snapshots().isEmpty(); ++i)
            QThread::msleep(50);
        return !Snapshots().isEmpty();
    }

private:
    QString m_runtime;
    QString m_map;
};

TEST(DesktopApplication, SigtermRemovesTheEditSnapshots)
{
    DesktopWithSnapshots desktop("snapshot-runtime");
    QProcess gui;
    ASSERT_TRUE(desktop.StartOnTheMap(gui)) << "opening a map writes its first snapshot";
    ::kill(pid_t(gui.processId()), SIGTERM);
    ASSERT_TRUE(gui.waitForFinished(10000));
    EXPECT_TRUE(desktop.Snapshots().isEmpty()) << desktop.Snapshots().join(' ').toStdString();
}

TEST(DesktopApplication, TheNextStartRemovesWhatAKilledRunLeft)
{
    DesktopWithSnapshots desktop("killed-runtime");
    QProcess killed;
    ASSERT_TRUE(desktop.StartOnTheMap(killed));
    const QStringList left = desktop.Snapshots();
    ::kill(pid_t(killed.processId()), SIGKILL);
    killed.waitForFinished(10000);
    ASSERT_EQ(desktop.Snapshots(), left) << "nothing can clean up after SIGKILL";
    QProcess next;
    desktop.Start(next, {"--help"});
    ASSERT_TRUE(next.waitForFinished(10000));
    EXPECT_EQ(desktop.Snapshots(), left) << "only the desktop program clears them";
    desktop.Start(next, {});
    ASSERT_TRUE(next.waitForStarted());
    const auto stillThere = [&] {
        const QStringList now = desktop.Snapshots();
        return std::any_of(left.begin(), left.end(), [&](const QString& name) { return now.contains(name); });
    };
    for (int i = 0; i < 100 && stillThere(); ++i)
        QThread::msleep(50);
    EXPECT_FALSE(stillThere()) << desktop.Snapshots().join(' ').toStdString();
    ::kill(pid_t(next.processId()), SIGTERM);
    ASSERT_TRUE(next.waitForFinished(10000));
}

TEST(SurveyCommand, TheCommandLineWritesNoEditSnapshots)
{
    SimulatedLan lan;
    lan.Computer("PC001", "10.77.1.1", "Domain:CORP").Probe("serverInfo", 3000);
    const QString network = TestFiles::scratchFile("snapshot-network.json", lan.Json());
    const QString temporary = TestFiles::scratchPath("cli-tmp");
    QDir().mkpath(temporary);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temporary);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), temporary);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VARNEX_BINARY),
                  {"survey", "--network", "sim:" + network, "--out", TestFiles::scratchPath("cli.vxnj"), "--pause", "0"});
    ASSERT_TRUE(process.waitForStarted());
    QThread::msleep(1000);
    // Killed mid-survey: nothing may be left behind, a snapshot holds the
    // whole map with its password.
    ::kill(pid_t(process.processId()), SIGKILL);
    process.waitForFinished(10000);
    EXPECT_TRUE(QDir(temporary).entryList({"vx_*"}, QDir::Files).isEmpty());
    EXPECT_FALSE(QDir(temporary + "/varnex-snapshots").exists());
}

TEST(DocumentDump, ThePasswordIsMaskedUnlessAskedFor)
{
    CNetDoc document;
    document.OnNewDocument();
    document.m_astrWmiAccount = {"CORP", "admin", "s3cret"};
    const QString map = TestFiles::scratchPath("password.vxnj");
    QString error;
    ASSERT_TRUE(document.OnSaveDocument(map, &error)) << error.toStdString();
    const auto dump = [&map](const QStringList& options) {
        QProcess process;
        process.start(QStringLiteral(VARNEX_BINARY), QStringList{"dump"} + options + QStringList{map});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString masked = dump({});
    EXPECT_FALSE(masked.contains("s3cret"));
    EXPECT_TRUE(masked.contains("********"));
    EXPECT_TRUE(masked.contains("admin"));
    EXPECT_TRUE(dump({"--show-password"}).contains("s3cret"));
}

// Every label of the map reaches the paper whole, once, in either
// orientation: the slices tile the map with nothing cut away at the joins.
TEST(PrintTo, EveryLabelIsPrintedWholeInBothOrientations)
{
    if (!QFile::exists(QStringLiteral("/usr/bin/pdftotext")))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString map = TestFiles::scratchPath("print-survey.vxnj");
    ASSERT_EQ(survey({"--network", "demo", "--out", map, "--pause", "0"}).exitCode, 0);
    CNetDoc document;
    ASSERT_TRUE(document.OnOpenDocument(map));
    QStringList labels;
    for (const CDrawObj* object : document.m_objects)
        if (const auto* text = dynamic_cast<const CDrawText*>(object))
            for (const QString& line : text->m_astrLines)
                if (line.size() >= 8 && !line.contains(QLatin1Char(' ')))
                    labels.append(line);
    ASSERT_TRUE(labels.contains(QStringLiteral("\\\\HOME-NAS\\HomePrinter")));
    for (const QStringList& sheet : {QStringList{}, QStringList{"--landscape"}, QStringList{"--paper", "A3"}}) {
        SCOPED_TRACE(sheet.join(' ').toStdString());
        const QString pdf = TestFiles::scratchPath("print-to.pdf");
        QProcess print;
        print.start(QStringLiteral(VARNEX_BINARY), QStringList{"--print-to", pdf, map} + sheet);
        ASSERT_TRUE(print.waitForFinished(60000));
        ASSERT_EQ(print.exitCode(), 0) << print.readAllStandardError().toStdString();
        QProcess text;
        text.start(QStringLiteral("/usr/bin/pdftotext"), {"-raw", pdf, "-"});
        text.waitForFinished(30000);
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& label : std::as_const(labels))
            EXPECT_TRUE(printed.contains(label)) << label.toStdString();
    }
}
