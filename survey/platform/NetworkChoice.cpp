#include "NetworkChoice.h"

#include "survey/platform/SimulatedNetwork.h"
#include "survey/platform/linux/LiveNetwork.h"

#include <QFileInfo>

const QString NetworkChoice::kDemoFile = QStringLiteral(":/data/demo-network.json");

namespace {

constexpr auto kSimPrefix = "sim:";

} // namespace

NetworkChoice::Opened NetworkChoice::Open(const QString& choice, const WsManWmiProbe::Options& wmi)
{
    Opened opened;
    if (choice == QLatin1String(kLive)) {
        opened.network = std::make_unique<LiveNetwork>(WsDiscoveryClient::Options(), SambaServerInfo::Options(), wmi);
        return opened;
    }
    if (!IsValid(choice)) {
        opened.error = QStringLiteral("--network takes live, demo or sim:FILE");
        return opened;
    }
    const bool demo = choice == QLatin1String(kDemo);
    const QString file = demo ? kDemoFile : choice.mid(qsizetype(strlen(kSimPrefix)));
    SimulatedNetwork::LoadResult loaded = SimulatedNetwork::load(file);
    if (!loaded.network) {
        opened.error = loaded.error;
        return opened;
    }
    opened.network = std::move(loaded.network);
    opened.simulatedName = demo || file == kDemoFile ? QStringLiteral("デモネットワーク")
                                                     : QFileInfo(file).fileName();
    return opened;
}

bool NetworkChoice::IsValid(const QString& choice)
{
    return choice == QLatin1String(kLive) || choice == QLatin1String(kDemo)
        || (choice.startsWith(QLatin1String(kSimPrefix)) && choice.size() > 4);
}
