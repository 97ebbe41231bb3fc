// The substring index answers exactly what searching the text for every
// key answered: the same keys, the first one the same.
#include "mapbuild/SubstringIndex.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

QString RandomText(QRandomGenerator& random, int maxLength)
{
    // A small alphabet makes keys inside texts (and inside each other) common.
    static const QString alphabet = QStringLiteral("ab.-01");
    QString text;
    const int length = int(random.bounded(maxLength + 1));
    for (int i = 0; i < length; ++i)
        text += alphabet.at(int(random.bounded(alphabet.size())));
    return text;
}

} // namespace

TEST(SubstringIndex, FindsWhatASearchForEveryKeyFinds)
{
    QRandomGenerator random(20261210);
    for (int round = 0; round < 300; ++round) {
        QStringList keys;
        SubstringIndex index;
        const int count = int(random.bounded(1, 40));
        for (int i = 0; i < count; ++i) {
            keys.append(RandomText(random, 6));
            index.Add(keys.last(), i);
        }
        for (int probe = 0; probe < 20; ++probe) {
            const QString text = RandomText(random, 20);
            QList<int> expected;
            for (int i = 0; i < keys.size(); ++i)
                if (!keys.at(i).isEmpty() && text.contains(keys.at(i)))
                    expected.append(i);
            ASSERT_EQ(index.Within(text), expected) << text.toStdString();
            ASSERT_EQ(index.FirstWithin(text), expected.isEmpty() ? -1 : expected.first());
        }
    }
}
