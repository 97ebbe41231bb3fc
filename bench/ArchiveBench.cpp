// Load and save throughput of a map's "Contents" archive for a document of
// 100,000 object records, and the time to delete a large map.
#include "document/CNetDoc.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawObj.h"
#include "objects/CDrawSys.h"


#include <benchmark/benchmark.h>

namespace {

constexpr int kObjects = 100000;

void fill(CNetDoc& doc)
{
    for (int i = 0; i < kObjects; ++i) {
        auto* object = new CDrawObj(Rect{i, i % 1000, i + 130, i % 1000 + 260});
        doc.AddObject(object);
    }
}

void BM_SaveContents(benchmark::State& state)
{
    CNetDoc doc;
    fill(doc);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray contents = doc.SaveContents();
        bytes = contents.size();
        benchmark::DoNotOptimize(contents.constData());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * bytes);
    state.counters["contents_MB"] = double(bytes) / 1e6;
}

void BM_LoadContents(benchmark::State& state)
{
    CNetDoc source;
    fill(source);
    const QByteArray contents = source.SaveContents();
    for (auto _ : state) {
        CNetDoc doc;
        doc.LoadContents(contents);
        benchmark::DoNotOptimize(doc.m_objects.size());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * contents.size());
}

// Closing a large surveyed map: 30,000 systems, listed ahead of the domains
// that own them, in 100 domains.
void BM_DeleteAllObjects(benchmark::State& state)
{
    constexpr int kSystems = 30000;
    constexpr int kDomains = 100;
    for (auto _ : state) {
        state.PauseTiming();
        CNetDoc doc;
        QList<CDrawDomain*> domains;
        for (int d = 0; d < kDomains; ++d)
            domains.append(new CDrawDomain(Rect{}));
        for (int i = 0; i < kSystems; ++i) {
            auto* system = new CDrawSys(Rect{0, 0, 130, 260});
            doc.AddObject(system);
            CDrawDomain* owner = domains.at(i % kDomains);
            system->SetOwner(owner);
            owner->AddSystem(system);
        }
        for (CDrawDomain* domain : std::as_const(domains))
            doc.AddObject(domain);
        state.ResumeTiming();
        doc.DeleteAllObjects();
    }
}

BENCHMARK(BM_SaveContents)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadContents)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeleteAllObjects)->Unit(benchmark::kMillisecond);

} // namespace
