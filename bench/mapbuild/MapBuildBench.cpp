// Building a map from a finished survey of 1,000 and 10,000 hosts: the
// construction with its layout and wiring, then re-layout and re-wiring of
// the built map.
#include "SurveyGenerator.h"
#include "document/CNetDoc.h"
#include "mapbuild/MapConstruction.h"
#include "mapbuild/MapRebuild.h"


#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr quint32 kSeed = 20261210;

std::unique_ptr<CNetDoc> surveyed(int hosts)
{
    auto doc = std::make_unique<CNetDoc>();
    // Snapshots write the whole map to disk; not what is measured here.
    doc->m_bSnapshots = false;
    SurveyGenerator(kSeed).Fill(*doc, hosts);
    return doc;
}

void BM_MakeDomain(benchmark::State& state)
{
    const int hosts = int(state.range(0));
    qsizetype objects = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CNetDoc> doc = surveyed(hosts);
        state.ResumeTiming();
        MapConstruction::MakeDomain(*doc, [](const QString&) {});
        objects = doc->m_objects.size();
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["objects"] = double(objects);
}

void BM_Relayout(benchmark::State& state)
{
    std::unique_ptr<CNetDoc> doc = surveyed(int(state.range(0)));
    MapConstruction::MakeDomain(*doc, [](const QString&) {});
    for (auto _ : state)
        MapRebuild::Relayout(*doc);
}

void BM_Rewire(benchmark::State& state)
{
    std::unique_ptr<CNetDoc> doc = surveyed(int(state.range(0)));
    MapConstruction::MakeDomain(*doc, [](const QString&) {});
    for (auto _ : state)
        MapRebuild::Rewire(*doc);
}

BENCHMARK(BM_MakeDomain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Relayout)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rewire)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
