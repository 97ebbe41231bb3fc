#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>

// Which of many keys occur inside a text, answered by looking up the text's
// pieces of each key length instead of searching the text for every key:
// the cost grows with the text and the number of distinct key lengths, not
// with the number of keys.
class SubstringIndex {
public:
    // An empty key is kept out: every text would contain it.
    void Add(const QString& key, int index);
    // The indexes of the keys that occur in the text, ascending.
    QList<int> Within(const QString& text) const;
    // The smallest such index, or -1.
    int FirstWithin(const QString& text) const;

private:
    // Calls visit with the indexes of every key found in the text.
    void ForEachKeyWithin(const QString& text, const std::function<void(const QList<int>&)>& visit) const;

    QHash<QString, QList<int>> m_keys;
    QMap<qsizetype, int> m_lengths; // key length -> how many keys have it
};
