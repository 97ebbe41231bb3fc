#pragma once

#include "objects/CDrawObj.h"

#include <QString>

// Names and text rules shared by map construction, gateway handling, layout
// and re-layout.
namespace MapNames {

// The domain name of the root of the domain tree; compared exactly.
inline const QString kForest = QStringLiteral("FOREST_TREE_TAVRIN");
// Laid out after every other domain; compared ignoring ASCII case.
inline const QString kWorkgroup = QStringLiteral("WORKGROUP");
inline const QString kUncPrefix = QStringLiteral("\\\\");

inline bool isForest(const CDrawObj* object)
{
    return object && object->GetName() == kForest;
}

// The first n characters; none for a negative n (QString::left would give all).
inline QString leftOf(const QString& text, qsizetype n)
{
    return n < 0 ? QString() : text.left(n);
}

// The text after the first '.', or all of it when there is no dot.
inline QString afterFirstDot(const QString& text)
{
    return text.mid(text.indexOf(QLatin1Char('.')) + 1);
}

} // namespace MapNames
