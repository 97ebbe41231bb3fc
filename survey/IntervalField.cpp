#include "IntervalField.h"

#include <algorithm>

IntervalField::Parsed IntervalField::Parse(const QString& text, quint32 minimum, quint32 maximum)
{
    const QString digits = text.trimmed();
    if (!AllDigits(digits))
        return {false, 0, NotANumberMessage()};
    bool fits = false;
    const qulonglong value = digits.toULongLong(&fits);
    if (!fits || value < minimum || value > maximum)
        return {false, 0, RangeMessage(minimum, maximum)};
    return {true, quint32(value), QString()};
}

QString IntervalField::NotANumberMessage()
{
    return QStringLiteral("正の整数を入力してください。");
}

QString IntervalField::RangeMessage(quint32 minimum, quint32 maximum)
{
    return QStringLiteral("%1 から %2 までの整数を入力してください。").arg(minimum).arg(maximum);
}

bool IntervalField::AllDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}
