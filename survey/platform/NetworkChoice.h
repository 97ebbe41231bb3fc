#pragma once

#include "survey/platform/NetworkProbes.h"
#include "survey/platform/linux/WsManWmiProbe.h"

#include <QString>

#include <memory>

// The network a survey asks: the live network around this machine, the
// built-in demo company, or a simulated network from a description file.
// The --network option of the command line names it.
class NetworkChoice {
public:
    static constexpr auto kLive = "live";
    static constexpr auto kDemo = "demo";
    static const QString kDemoFile; // the built-in demo network's description

    struct Opened {
        std::unique_ptr<NetworkProbes> network; // null on failure
        // What the user is told the survey runs on; empty for the live network.
        QString simulatedName;
        QString error;
    };

    // "live", "demo" or "sim:FILE"; wmi applies to the live network.
    static Opened Open(const QString& choice, const WsManWmiProbe::Options& wmi = {});
    static bool IsValid(const QString& choice);
};
