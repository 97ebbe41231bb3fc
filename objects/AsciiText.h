#pragma once

#include <QString>

// Comparisons of names, keys and MAC texts that ignore the case of the ASCII
// letters A to Z only, as Windows name comparisons do.
namespace AsciiText {

inline char16_t lower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

inline bool equalsIgnoringCase(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lower(a.at(i).unicode()) != lower(b.at(i).unicode()))
            return false;
    }
    return true;
}

// The text with A to Z lowered: a key under which names differing only in
// their case meet.
inline QString lowered(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        c = QChar(lower(c.unicode()));
    return result;
}

// The text with every control character and bidirectional override made
// a question mark: names from the network shown on a terminal or in a line
// of a report must not steer the one or start lines of the other.
inline QString printable(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069))
            c = QLatin1Char('?');
    }
    return result;
}

} // namespace AsciiText
