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

} // namespace AsciiText
