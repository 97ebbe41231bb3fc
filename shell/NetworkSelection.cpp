#include "NetworkSelection.h"

NetworkSelection::NetworkSelection(NetworkChoice::Opened initial)
    : m_current(nullptr)
{
    Select(std::move(initial));
}

void NetworkSelection::Select(NetworkChoice::Opened network)
{
    if (!network.network)
        return;
    m_networks.push_back(std::move(network.network));
    m_current = m_networks.back().get();
    m_simulatedName = network.simulatedName;
}
