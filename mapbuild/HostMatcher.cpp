#include "HostMatcher.h"

#include "objects/AsciiText.h"

#include <QHash>

template <typename Keys>
void HostMatcher::MatchBy(const std::vector<HostFacts>& earlier, const std::vector<HostFacts>& later,
                          Keys keysOf, std::vector<int>& pairs, std::vector<bool>& taken)
{
    // Every holder of a key, in map order: the first one still free pairs.
    QHash<QString, QList<int>> holders;
    for (int i = 0; i < int(earlier.size()); ++i)
        if (!taken[size_t(i)])
            for (const QString& key : keysOf(earlier[size_t(i)]))
                holders[key].append(i);
    for (size_t k = 0; k < later.size(); ++k) {
        if (pairs[k] >= 0)
            continue;
        for (const QString& key : keysOf(later[k])) {
            const auto found = holders.constFind(key);
            if (found == holders.cend())
                continue;
            for (const int i : *found) {
                if (taken[size_t(i)])
                    continue;
                pairs[k] = i;
                taken[size_t(i)] = true;
                break;
            }
            if (pairs[k] >= 0)
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
    MatchBy(earlier, later, [](const HostFacts& host) { return host.addresses; }, pairs, taken);
    return pairs;
}
