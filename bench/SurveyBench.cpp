// Surveys simulated networks of many hosts with the whole engine: device
// search, one thread per host, reports and the transfer into the map.
#include "document/CNetDoc.h"
#include "support/RecordingFrontEnd.h"
#include "support/SimulatedLan.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"

#include <QEventLoop>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

// Computers in one domain, a printer every tenth host.
std::unique_ptr<SimulatedNetwork> Company(int hosts)
{
    SimulatedLan lan;
    for (int n = 0; n < hosts; ++n) {
        const QString address = QStringLiteral("10.77.%1.%2").arg(n / 250).arg(n % 250 + 1);
        const QString name = QStringLiteral("HOST%1").arg(n, 5, 10, QLatin1Char('0'));
        if (n % 10 == 9)
            lan.Printer(name.toLower() + QStringLiteral(".corp.example"), address);
        else
            lan.Computer(name, address, QStringLiteral("Domain:CORP"));
    }
    return lan.Build();
}

// Peak resident memory of the process so far, in MiB.
double PeakResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void BM_Survey(benchmark::State& state)
{
    const auto network = Company(int(state.range(0)));
    SurveySettings settings;
    for (auto _ : state) {
        CNetDoc document;
        document.OnNewDocument();
        document.m_adwSurveySettings = {0, 0, 0, 0, 0};
        RecordingFrontEnd frontEnd;
        NetworkSurvey survey(document, *network, settings, frontEnd);
        QEventLoop loop;
        QObject::connect(&survey, &NetworkSurvey::ended, &loop, &QEventLoop::quit);
        survey.PickUp();
        loop.exec();
        benchmark::DoNotOptimize(document.m_objects.size());
    }
    state.counters["peak_MiB"] = PeakResidentMiB();
}
BENCHMARK(BM_Survey)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
