// Load and save throughput of real surveyed maps (systems, labels,
// interfaces, references and every host's WMI inventory) of 1,000 and
// 10,000 hosts: the "Contents" archive alone, the first save of a map (no
// size from an earlier save), and the whole compound file made and read in
// memory, and the map saved into its file on disk. Each reports, as
// "of_memory_copy", its throughput as a share of copying the same bytes from
// memory to memory; the save to disk also as a share of writing its bytes,
// already made, into a file the same way ("of_file_write"). Also the floors
// of any load and save (making and writing the strings the archive holds,
// the save's walk over the map, filling fresh memory of the archive's size)
// and the time to delete a large map.
#include "CompanyNetwork.h"
#include "document/Archive.h"
#include "document/CNetDoc.h"
#include "document/CompoundFile.h"
#include "document/LargeStack.h"
#include "document/MapFileWriter.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawSys.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Surveying 10,000 hosts takes seconds: one map per size for all benchmarks.
CNetDoc& SurveyedMap(int hosts)
{
    static std::map<int, std::unique_ptr<CNetDoc>> maps;
    std::unique_ptr<CNetDoc>& map = maps[hosts];
    if (!map) {
        map = std::make_unique<CNetDoc>();
        SurveyCompany(*map, hosts, true);
    }
    return *map;
}

// Bytes per second of copying bytes of this size between two buffers that
// are already in memory: the best of a few runs.
double MemoryCopyRate(qsizetype bytes)
{
    QByteArray from(bytes, 'x');
    QByteArray to(bytes, 'y');
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        std::memcpy(to.data(), from.constData(), size_t(bytes));
        benchmark::DoNotOptimize(to.data());
        best = std::min(best, timer.nsecsElapsed());
    }
    return double(bytes) / (double(std::max<qint64>(best, 1)) / 1e9);
}

void Report(benchmark::State& state, qsizetype bytes)
{
    state.SetBytesProcessed(qint64(state.iterations()) * bytes);
    state.counters["MB"] = double(bytes) / 1e6;
    // The copy's time for every iteration, as a rate over the time taken:
    // the share of the copy's throughput this benchmark reaches.
    const double copySeconds = double(bytes) / MemoryCopyRate(bytes);
    state.counters["of_memory_copy"] =
        benchmark::Counter(copySeconds * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SaveContents(benchmark::State& state)
{
    CNetDoc& map = SurveyedMap(int(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray contents = map.SaveContents();
        bytes = contents.size();
        benchmark::DoNotOptimize(contents.constData());
    }
    Report(state, bytes);
}

// A map saved for the first time: its buffer grows as it is written.
void BM_FirstSaveContents(benchmark::State& state)
{
    const QByteArray original = SurveyedMap(int(state.range(0))).SaveContents();
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<CNetDoc>();
        map->LoadContents(original);
        state.ResumeTiming();
        benchmark::DoNotOptimize(map->SaveContents().constData());
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    Report(state, original.size());
}

void BM_LoadContents(benchmark::State& state)
{
    const QByteArray contents = SurveyedMap(int(state.range(0))).SaveContents();
    for (auto _ : state) {
        auto map = std::make_unique<CNetDoc>();
        map->LoadContents(contents);
        benchmark::DoNotOptimize(map->m_objects.size());
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    Report(state, contents.size());
}

// Where the archive's wide strings lie: each starts with 0xFF, the marker
// 0xFFFE and a length (one byte, or 0xFF and two bytes), then its UTF-16.
std::vector<std::pair<qsizetype, qsizetype>> WideStrings(const QByteArray& contents)
{
    std::vector<std::pair<qsizetype, qsizetype>> strings;
    const auto byte = [&contents](qsizetype at) { return quint8(contents.at(at)); };
    for (qsizetype at = 0; at + 4 <= contents.size();) {
        if (byte(at) != 0xFF || byte(at + 1) != 0xFE || byte(at + 2) != 0xFF) {
            ++at;
            continue;
        }
        qsizetype length = byte(at + 3);
        qsizetype chars = at + 4;
        if (length == 0xFF && at + 6 <= contents.size()) {
            length = byte(at + 4) | (qsizetype(byte(at + 5)) << 8);
            chars = at + 6;
        }
        if (chars + 2 * length > contents.size())
            break;
        strings.emplace_back(chars, length);
        at = chars + 2 * length;
    }
    return strings;
}

// What no load can do without, whatever reads the format: making every
// string the archive holds. Its share of a memory copy bounds the load's.
void BM_StringsOfTheContents(benchmark::State& state)
{
    const QByteArray contents = SurveyedMap(int(state.range(0))).SaveContents();
    const auto strings = WideStrings(contents);
    std::vector<QString> made;
    made.reserve(strings.size());
    for (auto _ : state) {
        for (const auto& [at, length] : strings) {
            QString text(length, Qt::Uninitialized);
            std::memcpy(text.data(), contents.constData() + at, size_t(2 * length));
            made.push_back(std::move(text));
        }
        benchmark::DoNotOptimize(made.data());
        state.PauseTiming();
        made.clear();
        state.ResumeTiming();
    }
    state.counters["strings"] = double(strings.size());
    Report(state, contents.size());
}

// The same for any save: writing those strings, made in archive order as a
// load leaves them, each with its header, into a buffer kept between runs.
void BM_StringsOfTheContentsWritten(benchmark::State& state)
{
    const QByteArray contents = SurveyedMap(int(state.range(0))).SaveContents();
    std::vector<QString> made;
    for (const auto& [at, length] : WideStrings(contents)) {
        QString text(length, Qt::Uninitialized);
        std::memcpy(text.data(), contents.constData() + at, size_t(2 * length));
        made.push_back(std::move(text));
    }
    QByteArray buffer(contents.size(), Qt::Uninitialized);
    for (auto _ : state) {
        char* put = buffer.data();
        for (const QString& text : made) {
            const quint8 header[6] = {0xFF, 0xFE, 0xFF, 0xFF, quint8(text.size()), quint8(text.size() >> 8)};
            std::memcpy(put, header, sizeof header);
            std::memcpy(put + sizeof header, text.constData(), size_t(2 * text.size()));
            put += sizeof header + 2 * text.size();
        }
        benchmark::DoNotOptimize(put);
    }
    state.counters["strings"] = double(made.size());
    Report(state, contents.size());
}

// What no save of this map can do without, whatever it writes to: the
// archive's walk over the map as it holds its data (every record, list and
// string where the survey put it), its bytes made in a small buffer and
// dropped. Its share of a memory copy bounds the save's.
void BM_WalkOfTheContents(benchmark::State& state)
{
    CNetDoc& map = SurveyedMap(int(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        runOnLargeStack([&] {
            QByteArray buffer;
            Archive ar([&bytes](const char*, qsizetype size) { bytes += size; }, buffer);
            ar.setFlat(false);
            map.Serialize(ar);
            ar.flush();
        });
    }
    Report(state, bytes);
}

// What no save into memory can do without: filling memory of the archive's
// size that was not in use before (the kernel hands over and clears each page
// at its first write).
void BM_FreshMemoryOfTheContents(benchmark::State& state)
{
    const qsizetype bytes = SurveyedMap(int(state.range(0))).SaveContents().size();
    for (auto _ : state) {
        QByteArray fresh(bytes, Qt::Uninitialized);
        std::memset(fresh.data(), 0x5A, size_t(bytes));
        benchmark::DoNotOptimize(fresh.data());
        state.PauseTiming();
        fresh = QByteArray();
        state.ResumeTiming();
    }
    Report(state, bytes);
}

// The map file as saved: the archive inside its compound file.
void BM_WriteMapFile(benchmark::State& state)
{
    CNetDoc& map = SurveyedMap(int(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray file;
        map.FileBytes(file);
        bytes = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    Report(state, bytes);
}

// Seconds to write these bytes, already made, into a new file the way a
// map is saved (beside, flushed to the disk, renamed): the best of a few.
double FileWriteSeconds(const QByteArray& bytes, const QString& path)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        MapFileWriter::Write(path, bytes, 0644, nullptr);
        best = std::min(best, timer.nsecsElapsed());
    }
    return double(best) / 1e9;
}

// Saving the map into its file on disk, as the program does.
void BM_SaveMapFile(benchmark::State& state)
{
    CNetDoc& map = SurveyedMap(int(state.range(0)));
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("map.vxnj"));
    for (auto _ : state) {
        if (!map.OnSaveDocument(path))
            state.SkipWithError("the map could not be saved");
    }
    QByteArray file;
    map.FileBytes(file);
    Report(state, file.size());
    state.counters["of_file_write"] =
        benchmark::Counter(FileWriteSeconds(file, folder.filePath(QStringLiteral("copy.vxnj")))
                               * double(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void BM_ReadMapFile(benchmark::State& state)
{
    QByteArray file;
    SurveyedMap(int(state.range(0))).FileBytes(file);
    for (auto _ : state) {
        QByteArray contents;
        QList<StorageNode> embeddings;
        QString error;
        CompoundFile::read(file, contents, embeddings, error);
        auto map = std::make_unique<CNetDoc>();
        map->LoadContents(contents, true);
        benchmark::DoNotOptimize(map->m_objects.size());
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
    Report(state, file.size());
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

} // namespace

BENCHMARK(BM_SaveContents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FirstSaveContents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_LoadContents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_StringsOfTheContents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_StringsOfTheContentsWritten)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_WalkOfTheContents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FreshMemoryOfTheContents)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_WriteMapFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SaveMapFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ReadMapFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DeleteAllObjects)->Unit(benchmark::kMillisecond);
