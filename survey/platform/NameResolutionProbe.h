#pragma once

#include <QString>

#include <optional>

// The name service as the analysis threads ask it. Implementations must be
// safe to call from many threads at once.
class NameResolutionProbe {
public:
    struct HostEntry {
        QString officialName;
        QString address; // dotted IPv4 text of the first address
    };

    virtual ~NameResolutionProbe() = default;
    // The host name of an address, or the address itself when none is known.
    virtual QString ReverseLookup(const QString& address) const = 0;
    // The host entry of a name, or nothing when the name is unknown.
    virtual std::optional<HostEntry> LookupHost(const QString& name) const = 0;
    // The dotted IPv4 text a name resolves to, or empty.
    virtual QString ForwardLookup(const QString& name) const = 0;
};
