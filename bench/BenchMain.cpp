// The main of every benchmark program: an application without windows and
// settings of its own, so that a run never reads or writes the user's.
#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    QTemporaryDir scratch;
    qputenv("VARNEX_SETTINGS", (scratch.path() + QStringLiteral("/Varnex.ini")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
