// Building a map from a finished survey of 1,000 and 10,000 hosts: the
// construction with its layout and wiring, then re-layout and re-wiring of
// the built map, alone and with their undo snapshots.
#include "SurveyGenerator.h"
#include "document/CNetDoc.h"
#include "mapbuild/MapConstruction.h"
#include "mapbuild/MapRebuild.h"


#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr quint32 kSeed = 20261210;

std::unique_ptr<CNetDoc> surveyed(int hosts, bool snapshots = false)
{
    auto doc = std::make_unique<CNetDoc>();
    // The construction alone, or with the undo snapshot the application
    // takes after a re-layout or re-wiring (its file written on a helper
    // thread, waited for before the next).
    doc->m_bSnapshotsWanted = snapshots;
    doc->m_bSnapshots = snapshots;
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
    std::unique_ptr<CNetDoc> doc = surveyed(int(state.range(0)), state.range(1) != 0);
    MapConstruction::MakeDomain(*doc, [](const QString&) {});
    for (auto _ : state) {
        MapRebuild::Relayout(*doc);
        state.PauseTiming();
        doc->WaitForSnapshotWrite();
        state.ResumeTiming();
    }
}

void BM_Rewire(benchmark::State& state)
{
    std::unique_ptr<CNetDoc> doc = surveyed(int(state.range(0)), state.range(1) != 0);
    MapConstruction::MakeDomain(*doc, [](const QString&) {});
    for (auto _ : state) {
        MapRebuild::Rewire(*doc);
        state.PauseTiming();
        doc->WaitForSnapshotWrite();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_MakeDomain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
// Arguments: hosts, and 1 with the application's undo snapshot.
BENCHMARK(BM_Relayout)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rewire)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace
