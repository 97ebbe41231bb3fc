// A survey stopped at random moments, by Ctrl+C, SIGTERM or SIGKILL: it ends
// without hanging and leaves each output either whole (byte for byte what an
// undisturbed run writes) or not at all. VARNEX_STOPS sets the number of
// stops and VARNEX_STOP_BINARY the program, for long runs against a build
// with ThreadSanitizer.
#include "support/SimulatedLan.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <map>
#include <random>

namespace {

const QStringList kOutputs{"map.vxnj", "list.csv", "map.png"};

QString Binary()
{
    const QString chosen = qEnvironmentVariable("VARNEX_STOP_BINARY");
    return chosen.isEmpty() ? QStringLiteral(VARNEX_BINARY) : chosen;
}

int StopCount()
{
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("VARNEX_STOPS", &ok);
    return ok && count > 0 ? count : 12;
}

QString Network()
{
    SimulatedLan lan;
    for (int n = 1; n <= 200; ++n)
        lan.Computer(QStringLiteral("PC%1").arg(n, 3, 10, QLatin1Char('0')),
                     QStringLiteral("10.77.%1.%2").arg(n / 250 + 1).arg(n % 250 + 1), "Domain:CORP");
    const QString path = TestFiles::scratchPath("stops-network.json");
    TestFiles::writeAll(path, lan.Json());
    return path;
}

void StartSurvey(QProcess& process, const QString& network, const QString& folder)
{
    QDir().mkpath(folder);
    const QDir into(folder);
    process.start(Binary(), {"survey", "--network", "sim:" + network, "--out", into.filePath(kOutputs[0]), "--csv",
                             into.filePath(kOutputs[1]), "--png", into.filePath(kOutputs[2]), "--dpi", "150",
                             "--pause", "0"});
}

struct Reference {
    QList<QByteArray> outputs;
    qint64 milliseconds = 0;
};

Reference UndisturbedRun(const QString& network)
{
    const QString folder = TestFiles::scratchPath("stops-reference");
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    StartSurvey(process, network, folder);
    process.waitForFinished(600000);
    Reference reference;
    reference.milliseconds = timer.elapsed();
    for (const QString& name : kOutputs)
        reference.outputs.append(TestFiles::readAll(QDir(folder).filePath(name)));
    return reference;
}

const char* SignalName(int signal)
{
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "SIGKILL";
}

} // namespace

TEST(SurveyStops, AStopAtAnyMomentLeavesEachOutputWholeOrAbsent)
{
    const QString network = Network();
    const Reference reference = UndisturbedRun(network);
    for (const QByteArray& output : reference.outputs)
        ASSERT_FALSE(output.isEmpty()) << "the undisturbed run writes all three files";
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<qint64> moment(0, reference.milliseconds * 6 / 5);
    const int stopSignals[] = {SIGINT, SIGTERM, SIGKILL};
    std::map<std::string, int> tally;
    const int stops = StopCount();
    for (int stop = 0; stop < stops; ++stop) {
        const QString folder = TestFiles::scratchPath(QStringLiteral("stops-%1").arg(stop));
        const int signal = stopSignals[random() % 3];
        const qint64 after = moment(random);
        SCOPED_TRACE(QStringLiteral("stop %1: %2 after %3 ms").arg(stop).arg(SignalName(signal)).arg(after).toStdString());
        QProcess process;
        StartSurvey(process, network, folder);
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(after);
        if (process.state() == QProcess::Running)
            ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(std::max<int>(60000, int(reference.milliseconds) * 10)))
            << "the stopped survey hangs";
        const QByteArray err = process.readAllStandardError();
        EXPECT_FALSE(err.contains("Sanitizer") || err.contains("runtime error")) << err.toStdString();
        const bool signalled = process.exitStatus() == QProcess::CrashExit;
        if (!signalled) {
            EXPECT_TRUE(process.exitCode() == 0 || process.exitCode() == 4) << process.exitCode() << err.toStdString();
        }
        int whole = 0;
        for (int n = 0; n < kOutputs.size(); ++n) {
            const QString path = QDir(folder).filePath(kOutputs[n]);
            if (!QFile::exists(path))
                continue;
            EXPECT_EQ(TestFiles::readAll(path), reference.outputs[n]) << "a partial " << path.toStdString();
            ++whole;
        }
        // A handled stop ends before the first file or after the last one.
        if (!signalled && process.exitCode() == 0) {
            EXPECT_EQ(whole, kOutputs.size());
        }
        if (!signalled && process.exitCode() == 4) {
            EXPECT_TRUE(whole == 0 || whole == kOutputs.size()) << whole << " of the files";
            if (whole == kOutputs.size()) {
                EXPECT_TRUE(err.contains("stopped after its results were written")) << err.toStdString();
            }
        }
        // Beside the outputs, only a killed write's file may be left, under
        // a name of its own (the next save of a map removes it).
        const QStringList besides = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : besides) {
            if (kOutputs.contains(name))
                continue;
            EXPECT_EQ(signal, SIGKILL) << name.toStdString();
            ++tally["left beside after SIGKILL: " + name.section('.', 0, 1).toStdString() + "…"];
        }
        const std::string ending = signalled ? "killed" : "exit " + std::to_string(process.exitCode());
        ++tally[std::string(SignalName(signal)) + ", " + ending + ", " + std::to_string(whole) + " of 3 files"];
        QDir(folder).removeRecursively();
    }
    std::cout << stops << " stops; an undisturbed run takes " << reference.milliseconds << " ms\n";
    for (const auto& [outcome, count] : tally)
        std::cout << "  " << count << " × " << outcome << '\n';
}
