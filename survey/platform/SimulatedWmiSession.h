#pragma once

#include "survey/platform/SimulatedNetworkData.h"
#include "survey/platform/WmiSession.h"

#include <functional>

// A WMI session to one host of a simulated network. It reads the network's
// data, which never changes, so it is safe on any thread.
class SimulatedWmiSession : public WmiSession {
public:
    static constexpr quint32 kInvalidClass = 0x80041010; // WBEM_E_INVALID_CLASS

    // Runs before every enumeration: applies the probe's delay and gives its
    // failure code (0 for none).
    using Gate = std::function<quint32()>;

    SimulatedWmiSession(const SimulatedNetworkData::Wmi& wmi, Gate gate);

    Enumeration Instances(const QString& className) const override;

private:
    const SimulatedNetworkData::Wmi& m_wmi;
    Gate m_gate;
};
