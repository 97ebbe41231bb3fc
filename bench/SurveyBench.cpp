// Surveys simulated networks of many hosts with the whole engine: device
// search, one thread per host, reports and the transfer into the map.
#include "document/CNetDoc.h"
#include "support/RecordingFrontEnd.h"
#include "support/SimulatedLan.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

// The inventory of the demo network's first computer that has one.
QJsonObject DemoInventory()
{
    QFile file(QStringLiteral(VARNEX_SOURCE_DIR "/data/demo-network.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue host : QJsonDocument::fromJson(file.readAll()).object().value("hosts").toArray())
        if (host.toObject().contains(QStringLiteral("wmi")))
            return host.toObject().value(QStringLiteral("wmi")).toObject();
    return {};
}

// Computers in one domain, a printer every tenth host; with inventory,
// every computer answers WMI as the demo network's computers do.
std::unique_ptr<SimulatedNetwork> Company(int hosts, bool inventory = false)
{
    const QJsonObject wmi = inventory ? DemoInventory() : QJsonObject();
    const SimulatedLan::Tweak answersWmi = [&wmi](QJsonObject& host) { host.insert(QStringLiteral("wmi"), wmi); };
    SimulatedLan lan;
    for (int n = 0; n < hosts; ++n) {
        const QString address = QStringLiteral("10.77.%1.%2").arg(n / 250).arg(n % 250 + 1);
        const QString name = QStringLiteral("HOST%1").arg(n, 5, 10, QLatin1Char('0'));
        if (n % 10 == 9)
            lan.Printer(name.toLower() + QStringLiteral(".corp.example"), address);
        else
            lan.Computer(name, address, QStringLiteral("Domain:CORP"), inventory ? answersWmi : SimulatedLan::Tweak());
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

// range(1): 1 collects every computer's WMI inventory.
void BM_Survey(benchmark::State& state)
{
    const bool inventory = state.range(1) != 0;
    const auto network = Company(int(state.range(0)), inventory);
    SurveySettings settings;
    for (auto _ : state) {
        CNetDoc document;
        document.OnNewDocument();
        document.m_adwSurveySettings = {0, inventory ? 1u : 0u, 0, 0, 0};
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
BENCHMARK(BM_Survey)->Args({200, 0})->Args({2000, 0})->Args({2000, 1})->Args({10000, 0})->Args({50000, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
