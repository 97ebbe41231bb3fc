// The program under the system's limits: threads it may not start, address
// space it may not have, files larger than any it makes.
#include "document/CNetDoc.h"
#include "objects/CDrawSys.h"
#include "support/PidsCgroup.h"
#include "support/SimulatedLan.h"
#include "support/TestFiles.h"
#include "support/VarnexRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(CommandLineLimits, HostsWhoseThreadCannotStartYetAreSurveyedLater)
{
    // A pids cgroup caps the survey's threads well below its host count.
    const PidsCgroup cgroup(QStringLiteral("varnex-test"));
    if (!cgroup.Usable())
        GTEST_SKIP() << "no pids cgroup can be made here (needs root and the v1 pids controller)";
    cgroup.SetMax(48);
    SimulatedLan lan;
    for (int n = 0; n < 120; ++n)
        lan.Computer(QStringLiteral("PC%1").arg(n, 3, 10, QLatin1Char('0')), QStringLiteral("10.77.1.%1").arg(n + 1),
                     "Domain:CORP");
    lan.Probe("serverInfo", 150);
    const QString network = TestFiles::scratchFile("limited-network.json", lan.Json());
    const QString map = TestFiles::scratchPath("limited.vxnj");
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), cgroup.Run(QStringLiteral(VARNEX_BINARY),
                                                        {"survey", "--network", "sim:" + network, "--out", map,
                                                         "--pause", "0"}));
    process.waitForFinished(120000);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    const QByteArray peak = TestFiles::readAll(cgroup.Path() + "/pids.peak");
    // "max N": how often the cap refused a new thread.
    const int refused = QString::fromLatin1(TestFiles::readAll(cgroup.Path() + "/pids.events")).section(' ', 1).toInt();
    EXPECT_GT(refused, 0) << "the cap must have refused threads for this test to mean anything";
    EXPECT_EQ(process.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("120 devices surveyed")) << out.toStdString() << err.toStdString();
    CNetDoc document;
    QString error;
    ASSERT_TRUE(document.OnOpenDocument(map, &error)) << error.toStdString();
    EXPECT_EQ(document.m_astrSurveyHosts.size(), 120);
    int named = 0;
    for (const CDrawObj* object : document.m_objects)
        if (const auto* system = dynamic_cast<const CDrawSys*>(object))
            named += system->m_strFqdn.endsWith(".corp.example");
    EXPECT_EQ(named, 120) << "every host was surveyed, none left empty; peak tasks " << peak.trimmed().toStdString();
}

TEST(CommandLineLimits, FilesLargerThanAnyMapOrNetworkAreRefusedBeforeTheyAreRead)
{
    // Sparse files: their size costs no disk, but read whole they would
    // take gigabytes of memory and many seconds.
    const QString network = TestFiles::scratchPath("huge-network.json");
    const QString map = TestFiles::scratchPath("huge-map.vxnj");
    const auto removed = qScopeGuard([&] {
        QFile::remove(network);
        QFile::remove(map);
    });
    const auto sparse = [](const QString& path, qint64 size) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(size);
    };
    ASSERT_TRUE(sparse(network, (qint64(1) << 30) + 1));
    const VarnexRun simulated =
        VarnexRun::Of({"survey", "--network", "sim:" + network, "--out", TestFiles::scratchPath("huge.vxnj")});
    EXPECT_EQ(simulated.exitCode, 1);
    EXPECT_TRUE(simulated.err.contains("too large for a simulated network")) << simulated.err.toStdString();
    ASSERT_TRUE(sparse(map, (qint64(4) << 30) + 1));
    QProcess dump;
    dump.start(QStringLiteral(VARNEX_BINARY), {"dump", map});
    ASSERT_TRUE(dump.waitForFinished(30000));
    EXPECT_EQ(dump.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(dump.readAllStandardError()).contains("too large for a map file"));
}

TEST(CommandLineLimits, AnAddressSpaceLimitGivesASmallerStackNotAnAbort)
{
    if (QStandardPaths::findExecutable("prlimit").isEmpty())
        GTEST_SKIP() << "prlimit (util-linux) is not installed";
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer reserves terabytes of shadow memory: no address-space limit can hold it";
#endif
    const QString map = TestFiles::scratchPath("limited.vxnj");
    QProcess process;
    process.start("prlimit", {"--as=1000000000", QStringLiteral(VARNEX_BINARY), "sample", map});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    CNetDoc document;
    EXPECT_TRUE(document.OnOpenDocument(map));
    EXPECT_FALSE(document.m_objects.isEmpty());

    // Too little for the program to start at all is one line, never an abort.
    process.start("prlimit", {"--as=150000000", QStringLiteral(VARNEX_BINARY), "dump", map});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "killed by a signal";
}

TEST(CommandLineLimits, AMapWhoseLoadRunsOutOfMemoryIsTakenApartWithoutACrash)
{
    if (QStandardPaths::findExecutable("prlimit").isEmpty())
        GTEST_SKIP() << "prlimit (util-linux) is not installed";
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer reserves terabytes of shadow memory: no address-space limit can hold it";
#endif
    // A load cut short at any point leaves linked devices, interfaces and
    // connections to be taken apart with memory exhausted.
    SimulatedLan lan;
    for (int n = 0; n < 400; ++n)
        lan.Computer(QStringLiteral("PC%1").arg(n, 3, 10, QLatin1Char('0')),
                     QStringLiteral("10.77.%1.%2").arg(10 + n / 250).arg(n % 250 + 1), "Domain:CORP");
    const QString map = TestFiles::scratchPath("exhausting.vxnj");
    const QString network = TestFiles::scratchFile("exhausting-network.json", lan.Json());
    ASSERT_EQ(VarnexRun::Of({"survey", "--network", "sim:" + network, "--out", map, "--pause", "0"}).exitCode, 0);
    const QString empty = TestFiles::scratchPath("exhausting-empty.vxnj");
    ASSERT_EQ(QProcess::execute(QStringLiteral(VARNEX_BINARY), {"new", empty}), 0);
    const auto dump = [](int megabytes, const QString& file, QString& err) {
        QProcess process;
        process.start("prlimit", {QStringLiteral("--as=%1").arg(megabytes * 1048576LL), QStringLiteral(VARNEX_BINARY),
                                  "dump", file});
        process.waitForFinished(60000);
        process.readAllStandardOutput();
        err = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    // The libraries' own start-up under a limit is not this program's to
    // mend: the steps start where an empty map can be listed.
    QString err;
    int megabytes = 64;
    while (megabytes < 1024 && dump(megabytes, empty, err) != 0)
        megabytes += 8;
    int outOfMemory = 0;
    bool loaded = false;
    for (; megabytes <= 1024 && !loaded; megabytes += 8) {
        const int code = dump(megabytes, map, err);
        ASSERT_NE(code, -1) << "killed by a signal at " << megabytes << " MB";
        loaded = code == 0;
        outOfMemory += err.contains(QLatin1String("cannot open")) && err.contains(QLatin1String("out of memory"));
    }
    EXPECT_TRUE(loaded) << "no limit up to 1 GB let the map load";
    EXPECT_GT(outOfMemory, 0) << "no limit cut the load short";
}

TEST(CommandLineLimits, APictureThatCannotHaveItsDrawingThreadsIsRefusedNotWaitedForForever)
{
    // Qt's raster engine waits forever for a part of a fill whose thread
    // could not start. A pids cgroup leaves room for the program and its
    // loading thread, not for all of the drawing threads.
    const int drawingThreads = QThread::idealThreadCount();
    if (drawingThreads < 2)
        GTEST_SKIP() << "one drawing thread leaves no room between loading and drawing";
    const PidsCgroup cgroup(QStringLiteral("varnex-draw"));
    if (!cgroup.Usable())
        GTEST_SKIP() << "no pids cgroup can be made here (needs root and the v1 pids controller)";
    const QString map = TestFiles::scratchPath("drawn.vxnj");
    const QString png = TestFiles::scratchPath("drawn.png");
    ASSERT_EQ(QProcess::execute(QStringLiteral(VARNEX_BINARY), {"sample", map}), 0);
    const auto render = [&](int tasks) {
        cgroup.SetMax(tasks);
        QProcess process;
        process.start(QStringLiteral("/bin/sh"), cgroup.Run(QStringLiteral(VARNEX_BINARY), {"render", map, "--png", png}));
        const bool finished = process.waitForFinished(60000);
        if (!finished)
            process.kill();
        process.waitForFinished();
        return std::pair(finished ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAllStandardError()));
    };
    const auto [refusedCode, refusedError] = render(drawingThreads);
    const auto [drawnCode, drawnError] = render(drawingThreads + 4);
    EXPECT_EQ(refusedCode, 1) << "-1: still drawing after a minute; " << refusedError.toStdString();
    EXPECT_TRUE(refusedError.contains(QLatin1String("refused to start the threads drawing needs")))
        << refusedError.toStdString();
    EXPECT_EQ(drawnCode, 0) << drawnError.toStdString();
    EXPECT_FALSE(QImage(png).isNull()) << "the picture drawn with room for its threads";
}

TEST(CommandLineLimits, ASearchWhoseThreadCannotStartSaysSoRatherThanThatNothingAnswered)
{
    const PidsCgroup cgroup(QStringLiteral("varnex-search"));
    if (!cgroup.Usable())
        GTEST_SKIP() << "no pids cgroup can be made here (needs root and the v1 pids controller)";
    cgroup.SetMax(1);
    SimulatedLan lan;
    lan.Computer("PC001", "10.77.1.1", "Domain:CORP");
    const QString network = TestFiles::scratchFile("search-refused-network.json", lan.Json());
    const QString map = TestFiles::scratchPath("search-refused.vxnj");
    QFile::remove(map);
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), cgroup.Run(QStringLiteral(VARNEX_BINARY),
                                                        {"survey", "--network", "sim:" + network, "--out", map}));
    process.waitForFinished(60000);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(QLatin1String("the search could not start"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(map));
}

} // namespace
