// One undo step on a surveyed company map with its inventories: the edit
// snapshot a move or a property sheet's OK records, and the contents it
// writes.
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

void BM_ContentsOfSurveyedMap(benchmark::State& state)
{
    CNetDoc document;
    SurveyCompany(document, int(state.range(0)), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(document.SaveContents().size());
}
BENCHMARK(BM_ContentsOfSurveyedMap)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

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

// A whole map file of a surveyed map: the compound file made and written,
// and read back and loaded; beside them, copying the same bytes in memory,
// the floor any file format has.
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

void BM_CopyOfTheSameBytes(benchmark::State& state)
{
    CNetDoc document;
    SurveyCompany(document, int(state.range(0)), true);
    QByteArray file;
    document.FileBytes(file);
    for (auto _ : state) {
        QByteArray copy(file.constData(), file.size());
        benchmark::DoNotOptimize(copy.constData());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * file.size());
}
BENCHMARK(BM_CopyOfTheSameBytes)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
