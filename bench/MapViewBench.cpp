// Repaints the visible part of a map of 10,000 devices the way the map view
// does on screen: a clip-bound paint of the viewport.
#include "CompanyNetwork.h"
#include "document/CNetDoc.h"
#include "mapview/CNetView.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// Devices in rows of 100, each with an address and a host-name label.
void FillMap(CNetDoc& document, int devices)
{
    for (int n = 0; n < devices; ++n) {
        const int x = 200 + (n % 100) * 400;
        const int y = 200 + (n / 100) * 500;
        auto* system = new CDrawSys(Rect{x, y, x + 140, y + 180});
        document.AddObject(system);
        system->m_nTypeCode = n % 3 == 0 ? CDrawSys::kTower : CDrawSys::kDesktop;
        system->AddAdapterAddresses({quint32(0x0A4D0000u + quint32(n))});
        system->BuildInterfaces();
        system->SetFqdn(QStringLiteral("host%1.corp.example").arg(n));
    }
}

// Repaints of a 1280x800 window on the map; range(1): 1 zooms out until
// the whole map fits the window.
void TimeRepaints(benchmark::State& state, CNetDoc& document)
{
    CNetView view(document);
    view.resize(1280, 800);
    view.show();
    view.SetViewActive(true);
    if (state.range(1))
        view.ZoomToFit();
    QImage frame(view.viewport()->size(), QImage::Format_RGB32);
    // Render once so that labels have taken their places.
    view.viewport()->render(&frame);
    for (auto _ : state) {
        view.viewport()->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["objects"] = double(document.m_objects.size());
}

void BM_PaintViewport(benchmark::State& state)
{
    CNetDoc document;
    document.OnNewDocument();
    FillMap(document, int(state.range(0)));
    TimeRepaints(state, document);
}
BENCHMARK(BM_PaintViewport)->Args({10000, 0})->Args({2000, 1})->Args({10000, 1})->Unit(benchmark::kMillisecond);

// The same on a surveyed company map: devices with their interface, host
// name and inventory labels, wires to the gateway and domain frames.
void BM_PaintSurveyedViewport(benchmark::State& state)
{
    CNetDoc document;
    SurveyCompany(document, int(state.range(0)), true);
    TimeRepaints(state, document);
}
BENCHMARK(BM_PaintSurveyedViewport)->Args({2000, 0})->Args({10000, 0})->Args({2000, 1})->Unit(benchmark::kMillisecond);

// One undo step: the edit snapshot a move or a sheet's OK records.
void BM_EditSnapshot(benchmark::State& state)
{
    CNetDoc document;
    document.OnNewDocument();
    FillMap(document, int(state.range(0)));
    // The file of one snapshot is written by the time of the next edit:
    // only the interface thread's part is timed.
    for (auto _ : state) {
        document.SaveSnapshot();
        state.PauseTiming();
        document.WaitForSnapshotWrite();
        state.ResumeTiming();
    }
    state.counters["objects"] = double(document.m_objects.size());
}
BENCHMARK(BM_EditSnapshot)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
