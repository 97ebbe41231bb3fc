#include "SubstringIndex.h"

#include <algorithm>

void SubstringIndex::Add(const QString& key, int index)
{
    if (key.isEmpty())
        return;
    QList<int>& indexes = m_keys[key];
    if (indexes.isEmpty())
        ++m_lengths[key.size()];
    indexes.append(index);
}

QList<int> SubstringIndex::Within(const QString& text) const
{
    QList<int> found;
    ForEachKeyWithin(text, [&found](const QList<int>& indexes) { found.append(indexes); });
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

int SubstringIndex::FirstWithin(const QString& text) const
{
    int first = -1;
    ForEachKeyWithin(text, [&first](const QList<int>& indexes) {
        const int smallest = *std::min_element(indexes.cbegin(), indexes.cend());
        if (first < 0 || smallest < first)
            first = smallest;
    });
    return first;
}

void SubstringIndex::ForEachKeyWithin(const QString& text, const std::function<void(const QList<int>&)>& visit) const
{
    for (auto length = m_lengths.cbegin(); length != m_lengths.cend() && length.key() <= text.size(); ++length) {
        for (qsizetype start = 0; start + length.key() <= text.size(); ++start) {
            const auto key = m_keys.constFind(text.mid(start, length.key()));
            if (key != m_keys.cend())
                visit(key.value());
        }
    }
}
