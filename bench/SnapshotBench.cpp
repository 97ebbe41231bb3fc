// One undo step on a surveyed company map with its inventories (the edit
// snapshot a move or a property sheet's OK records), and opening and saving
// such a map's file on the disk.
#include "CompanyNetwork.h"
#include "document/CNetDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_EditSnapshotOfSurveyedMap(benchmark::State& state)
{
    CNetDoc document;
    SurveyCompany(document, int(state.range(0)), true);
    document.m_bSnapshotsWanted = true;
    document.m_bSnapshots = true;
    // Edits come seconds apart: the file of one snapshot is written by the
    // time of the next, so only the interface thread's part is timed.
    for (auto _ : state) {
        document.SaveSnapshot();
        state.PauseTiming();
        document.WaitForSnapshotWrite();
        state.ResumeTiming();
    }
    state.counters["bytes"] = double(document.SaveContents().size());
}
BENCHMARK(BM_EditSnapshotOfSurveyedMap)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

// Opening a saved surveyed map, its first undo step included.
void BM_OpenSurveyedMap(benchmark::State& state)
{
    const QString path = QDir::temp().filePath(QStringLiteral("bench-open-%1.vxnj").arg(state.range(0)));
    {
        CNetDoc document;
        SurveyCompany(document, int(state.range(0)), true);
        document.OnSaveDocument(path);
    }
    for (auto _ : state) {
        auto document = std::make_unique<CNetDoc>();
        document->OnOpenDocument(path);
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    QFile::remove(path);
}
BENCHMARK(BM_OpenSurveyedMap)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

// A whole map file of a surveyed map, made and written to the disk, synced.
void BM_SaveFileOfSurveyedMap(benchmark::State& state)
{
    CNetDoc document;
    SurveyCompany(document, int(state.range(0)), true);
    const QString path = QDir::temp().filePath(QStringLiteral("bench-save-%1.vxnj").arg(state.range(0)));
    for (auto _ : state)
        document.OnSaveDocument(path);
    state.SetBytesProcessed(qint64(state.iterations()) * QFileInfo(path).size());
    QFile::remove(path);
}
BENCHMARK(BM_SaveFileOfSurveyedMap)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
