// Surveys simulated networks of many hosts with the whole engine: device
// search, one thread per host, reports and the transfer into the map.
#include "CompanyNetwork.h"
#include "document/CNetDoc.h"

#include <benchmark/benchmark.h>

namespace {

// range(1): 1 collects every computer's WMI inventory.
void BM_Survey(benchmark::State& state)
{
    const bool inventory = state.range(1) != 0;
    const auto network = Company(int(state.range(0)), inventory);
    for (auto _ : state) {
        CNetDoc document;
        SurveyInto(document, *network, inventory);
        benchmark::DoNotOptimize(document.m_objects.size());
    }
    state.counters["peak_MiB"] = PeakResidentMiB();
}
BENCHMARK(BM_Survey)->Args({200, 0})->Args({2000, 0})->Args({2000, 1})->Args({10000, 0})->Args({50000, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
