#pragma once

#include <QString>

#include <optional>

// Looks up the hardware address the neighbour (ARP) table holds for an IPv4
// address (network byte order). The survey provides the real one.
class NeighbourLookup {
public:
    virtual ~NeighbourLookup() = default;
    virtual std::optional<QString> hardwareAddress(quint32 address) const = 0;
};
