#include "HostMatcher.h"

#include "objects/AsciiText.h"

#include <QHash>

template <typename Keys>
void HostMatcher::MatchBy(const std::vector<HostFacts>& earlier, const std::vector<HostFacts>& later,
                          Keys keysOf, std::vector<int>& pairs, std::vector<bool>& taken)
{
    // A key that several devices of either map hold (a shared virtual
    // adapter, a reused address) tells nothing about which is which.
    QHash<QString, int> holder;
    QHash<QString, int> laterCount;
    for (int i = 0; i < int(earlier.size()); ++i)
        for (const QString& key : keysOf(earlier[size_t(i)]))
            holder.insert(key, holder.contains(key) ? -1 : i);
    for (const HostFacts& host : later)
        for (const QString& key : keysOf(host))
            ++laterCount[key];
    for (size_t k = 0; k < later.size(); ++k) {
        if (pairs[k] >= 0)
            continue;
        for (const QString& key : keysOf(later[k])) {
            const int i = holder.value(key, -1);
            if (i < 0 || taken[size_t(i)] || laterCount.value(key) > 1)
                continue;
            pairs[k] = i;
            taken[size_t(i)] = true;
            break;
        }
    }
}

std::vector<int> HostMatcher::Match(const std::vector<HostFacts>& earlier, const std::vector<HostFacts>& later)
{
    std::vector<int> pairs(later.size(), -1);
    std::vector<bool> taken(earlier.size(), false);
    MatchBy(earlier, later, [](const HostFacts& host) { return host.macs; }, pairs, taken);
    MatchBy(earlier, later, [](const HostFacts& host) { return QStringList{AsciiText::lowered(host.fqdn)}; },
            pairs, taken);
    // An address says who a device is only when no hardware address does:
    // a new machine may have been given an old one's address.
    MatchBy(earlier, later, [](const HostFacts& host) { return host.macs.isEmpty() ? host.addresses : QStringList(); },
            pairs, taken);
    return pairs;
}
