#pragma once

#include <QString>

// One ICMP echo exchange. Implementations must be safe to call from many
// threads at once.
class PingProbe {
public:
    virtual ~PingProbe() = default;
    // Whether an echo reply arrived from the dotted IPv4 address in time.
    virtual bool Echo(const QString& address, int timeoutMs) const = 0;
};
