// Builds, sorts and repaints the device list of a large inventory: hosts
// with roles, two processors, a disk, two adapters with addresses and a few
// products each, as a surveyed company's inventory looks.
#include "CompanyNetwork.h"
#include "document/CNetDoc.h"
#include "listview/DeviceListModel.h"
#include "listview/DeviceListRows.h"
#include "mapbuild/HostInventory.h"
#include "mapview/CNetView.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/DocumentSession.h"
#include "survey/SurveySettings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QStringList Inventory(int hosts)
{
    QStringList lines{"FQDN_TABLE", "FQDN,OS,Type,Manufacturer,Model,TotalMemory,FreeMemory"};
    QStringList use, cpu, hd, mac, ip, product;
    for (int n = 0; n < hosts; ++n) {
        const QString fqdn = QStringLiteral("pc%1.corp.example").arg(n);
        lines.append(fqdn + QStringLiteral(",Windows 10 Pro Ver10.0.%1,DeskTop,Dell Inc.,OptiPlex 7090,16645MB,8123MB").arg(n % 97));
        use << fqdn + QStringLiteral(",NT_SERVER") << fqdn + QStringLiteral(",MEMBER_SRV");
        for (int k = 1; k <= 2; ++k)
            cpu << fqdn + QStringLiteral(",%1,Intel(R) Core(TM) i5-10500,Family 6,3096").arg(k);
        hd << fqdn + QStringLiteral(",1,ST500DM009,500G");
        for (int k = 0; k < 2; ++k) {
            const QString address = QStringLiteral("00-15-5d-%1-%2-%3").arg(n >> 8 & 0xff, 2, 16, QLatin1Char('0')).arg(n & 0xff, 2, 16, QLatin1Char('0')).arg(k, 2, 16, QLatin1Char('0'));
            mac << fqdn + QLatin1Char(',') + address + QStringLiteral(",Intel");
            ip << address + QStringLiteral(",10.%1.%2.%3").arg(k).arg(n >> 8 & 0xff).arg(n & 0xff);
        }
        for (int k = 0; k < 3; ++k)
            product << fqdn + QStringLiteral(",Product %1,{ID},20240101,C:\\,5,,,Vendor,1.0").arg(k);
    }
    const auto table = [&lines](const char* name, const QStringList& records) {
        lines << QString() << QString() << QString() << QString::fromLatin1(name) << QStringLiteral("header");
        lines += records;
    };
    table("USE_TABEL", use);
    table("CPU_TABEL", cpu);
    table("HD_TABEL", hd);
    table("MAC_TABLE", mac);
    table("IP_TABLE", ip);
    table("Product_TABLE", product);
    return lines;
}

void BM_BuildList(benchmark::State& state)
{
    const QStringList inventory = Inventory(int(state.range(0)));
    for (auto _ : state) {
        DeviceListModel model;
        model.SetRows(DeviceListRows::Build(DeviceListRows::Split(inventory)));
        model.SetColumns(HostInventory::MasterColumnNames(), {});
        model.Fill(true);
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_BuildList)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SortList(benchmark::State& state)
{
    DeviceListModel model;
    model.SetRows(DeviceListRows::Build(DeviceListRows::Split(Inventory(int(state.range(0))))));
    model.SetColumns(HostInventory::MasterColumnNames(), {});
    model.Fill(true);
    bool ascending = true;
    for (auto _ : state) {
        model.SortByColumn(1, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        ascending = !ascending;
    }
}
BENCHMARK(BM_SortList)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PaintList(benchmark::State& state)
{
    DeviceListModel model;
    model.SetRows(DeviceListRows::Build(DeviceListRows::Split(Inventory(int(state.range(0))))));
    model.SetColumns(HostInventory::MasterColumnNames(), {});
    model.Fill(true);
    QTableView view;
    view.setModel(&model);
    view.resize(1280, 300);
    view.show();
    QImage frame(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&frame);
        view.viewport()->render(&painter);
    }
}
BENCHMARK(BM_PaintList)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// What a user waits for when opening a surveyed map: the file read, the
// map window and the first paint of the map; then the device list, which
// is built once that paint is done.
void OpenSurveyedMap(benchmark::State& state, bool untilTheListIsBuilt)
{
    const QString path = QDir::temp().filePath(QStringLiteral("bench-first-paint-%1.vxnj").arg(state.range(0)));
    {
        CNetDoc document;
        SurveyCompany(document, int(state.range(0)), true);
        document.OnSaveDocument(path);
    }
    const std::unique_ptr<SimulatedNetwork> network = Company(1);
    SurveySettings settings;
    for (auto _ : state) {
        auto frame = std::make_unique<CMainFrame>(*network, settings);
        frame->resize(1280, 900);
        frame->show();
        frame->OpenFile(path);
        QImage image(frame->ActiveChild()->MapView().viewport()->size(), QImage::Format_RGB32);
        frame->ActiveChild()->MapView().viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        if (untilTheListIsBuilt)
            QApplication::processEvents();
        state.PauseTiming();
        for (CChildFrame* child : frame->Children())
            child->Session().Document().SetModifiedFlag(false);
        frame.reset();
        state.ResumeTiming();
    }
    QFile::remove(path);
}

void BM_OpenToFirstPaint(benchmark::State& state)
{
    OpenSurveyedMap(state, false);
}
BENCHMARK(BM_OpenToFirstPaint)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_OpenToFilledList(benchmark::State& state)
{
    OpenSurveyedMap(state, true);
}
BENCHMARK(BM_OpenToFilledList)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
