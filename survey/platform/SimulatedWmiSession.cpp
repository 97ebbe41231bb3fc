#include "SimulatedWmiSession.h"

#include <utility>

SimulatedWmiSession::SimulatedWmiSession(const SimulatedNetworkData::Wmi& wmi, Gate gate)
    : m_wmi(wmi)
    , m_gate(std::move(gate))
{
}

WmiSession::Enumeration SimulatedWmiSession::Instances(const QString& className) const
{
    if (const quint32 failure = m_gate())
        return {failure, {}};
    const auto found = m_wmi.classes.constFind(className);
    if (found == m_wmi.classes.constEnd())
        return {kInvalidClass, {}};
    return {0, found.value()};
}
