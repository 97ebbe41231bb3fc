// Compares two surveyed maps of a company with their WMI inventories: the
// later one has every 20th host on a newer Windows, a new hotfix on every
// 50th and every 100th host gone.
#include "CompanyNetwork.h"
#include "document/CNetDoc.h"
#include "mapbuild/MapComparison.h"
#include "objects/CDrawSys.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <typeinfo>

namespace {

void ChangeLater(CNetDoc& later)
{
    int k = 0;
    for (CDrawObj* object : later.m_objects) {
        if (typeid(*object) != typeid(CDrawSys))
            continue;
        auto& host = static_cast<CDrawSys&>(*object);
        ++k;
        if (k % 20 == 0)
            host.m_strOs = QStringLiteral("Windows 11 Pro");
        if (k % 50 == 0)
            host.WmiListing() += {QStringLiteral("end end"), QStringLiteral("QuickFixEngineering"),
                                  QStringLiteral("HotFixID").leftJustified(32) + QStringLiteral("\tKB9999999")};
        if (k % 100 == 0)
            host.m_strFqdn.clear();
    }
}

// Forgets the peak so far, so the peak after the comparison is its own.
void ResetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void BM_CompareSurveyedMaps(benchmark::State& state)
{
    CNetDoc earlier;
    SurveyCompany(earlier, int(state.range(0)), true);
    CNetDoc later;
    later.m_bSnapshotsWanted = false;
    later.RestoreContents(earlier.SaveContents());
    ChangeLater(later);
    ResetPeakResident();
    const double before = PeakResidentMiB();
    qsizetype changed = 0;
    for (auto _ : state) {
        const MapComparison comparison = MapComparison::Compare(earlier, later);
        changed = comparison.Hosts().size();
        benchmark::DoNotOptimize(changed);
    }
    state.counters["hosts_changed"] = double(changed);
    state.counters["peak_growth_MiB"] = PeakResidentMiB() - before;
}
BENCHMARK(BM_CompareSurveyedMaps)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
