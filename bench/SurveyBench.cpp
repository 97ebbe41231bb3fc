// Surveys simulated networks of many hosts with the whole engine: device
// search, one thread per host, reports and the transfer into the map.
#include "CompanyNetwork.h"
#include "document/CNetDoc.h"
#include "support/RecordingFrontEnd.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"

#include <QEventLoop>

#include <benchmark/benchmark.h>

namespace {

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
