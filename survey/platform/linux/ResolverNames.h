#pragma once

#include "survey/platform/NameResolutionProbe.h"

// Names and addresses through the system resolver (getaddrinfo and
// getnameinfo are safe on many threads), so /etc/hosts, DNS and whatever
// else nsswitch.conf lists answer as they do for every other program.
class ResolverNames final : public NameResolutionProbe {
public:
    QString ReverseLookup(const QString& address) const override;
    std::optional<HostEntry> LookupHost(const QString& name) const override;
    QString ForwardLookup(const QString& name) const override;
};
