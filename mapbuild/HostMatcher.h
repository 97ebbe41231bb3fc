#pragma once

#include "mapbuild/HostFacts.h"

#include <vector>

// Pairs the devices of an earlier map with those of a later one by what
// identifies them best: a MAC address of an interface first, then the
// FQDN (letters in any case), then, for devices without a MAC, an address.
// A device that kept a MAC but changed its name or address is the same
// device; a key held by several devices of either map pairs none of them.
class HostMatcher {
public:
    // For each device of the later map, the index of its earlier self, or
    // -1 for a device that is new. Each earlier device pairs at most once.
    static std::vector<int> Match(const std::vector<HostFacts>& earlier, const std::vector<HostFacts>& later);

private:
    template <typename Keys>
    static void MatchBy(const std::vector<HostFacts>& earlier, const std::vector<HostFacts>& later,
                        Keys keysOf, std::vector<int>& pairs, std::vector<bool>& taken);
};
