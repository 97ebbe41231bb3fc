// The WMI inventory of one host over WS-Management against the test
// responder on the loopback interface: the logon, each class, and the whole
// host as the survey reads it.
#include "survey/live/WsManResponder.h"

#include "survey/WmiInventoryStep.h"
#include "survey/platform/linux/LinuxLocalMachine.h"
#include "survey/platform/linux/LiveDeviceDiscovery.h"
#include "survey/platform/linux/WsManWmiProbe.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Peer {
    WsManResponder responder;
    LinuxLocalMachine machine;
    LiveDeviceDiscovery discovery{machine, {}};
    std::unique_ptr<WsManWmiProbe> probe;

    Peer()
    {
        WsManWmiProbe::Options options;
        options.connection.port = responder.Port();
        probe = std::make_unique<WsManWmiProbe>(discovery, options);
    }

    WmiProbe::Connection Connect() const
    {
        return probe->Connect(QStringLiteral("\\\\127.0.0.1"),
                              WmiProbe::Credentials{QString::fromLatin1(WsManResponder::kDomain),
                                                    QString::fromLatin1(WsManResponder::kUser),
                                                    QString::fromLatin1(WsManResponder::kPassword)});
    }
};

Peer& SharedPeer()
{
    static Peer peer;
    return peer;
}

void BM_WsManLogOn(benchmark::State& state)
{
    Peer& peer = SharedPeer();
    if (!peer.responder.IsUp())
        return state.SkipWithError(peer.responder.Problem().toStdString().c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(peer.Connect().session.get());
}
BENCHMARK(BM_WsManLogOn)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WsManClass(benchmark::State& state)
{
    Peer& peer = SharedPeer();
    if (!peer.responder.IsUp())
        return state.SkipWithError(peer.responder.Problem().toStdString().c_str());
    const QString className = WmiInventoryStep::kClasses.at(state.range(0));
    state.SetLabel(className.toStdString());
    const WmiProbe::Connection connection = peer.Connect();
    for (auto _ : state)
        benchmark::DoNotOptimize(connection.session->Instances(className).instances.size());
}
BENCHMARK(BM_WsManClass)->DenseRange(0, 9)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WsManHost(benchmark::State& state)
{
    Peer& peer = SharedPeer();
    if (!peer.responder.IsUp())
        return state.SkipWithError(peer.responder.Problem().toStdString().c_str());
    WmiInventoryStep::Inputs inputs;
    inputs.host = QStringLiteral("\\\\127.0.0.1");
    inputs.credentialMode = 1;
    inputs.account = {QString::fromLatin1(WsManResponder::kDomain), QString::fromLatin1(WsManResponder::kUser),
                      QString::fromLatin1(WsManResponder::kPassword)};
    inputs.inMapMode = [] { return true; };
    for (auto _ : state) {
        WmiInventoryStep::Outputs outputs;
        benchmark::DoNotOptimize(WmiInventoryStep::Run(*peer.probe, inputs, outputs));
    }
}
BENCHMARK(BM_WsManHost)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
