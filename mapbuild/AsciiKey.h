#pragma once

#include "objects/AsciiText.h"

#include <QString>

// Hash keys for names that compare ignoring the case of A to Z only: two
// names have the same key exactly when AsciiText::equalsIgnoringCase holds.
namespace AsciiKey {

inline QString of(const QString& text)
{
    QString key = text;
    for (QChar& c : key)
        c = QChar(AsciiText::lower(c.unicode()));
    return key;
}

} // namespace AsciiKey
