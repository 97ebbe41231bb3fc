#pragma once

#include "CDrawObj.h"

#include <QBrush>
#include <QColor>
#include <QPen>

// Turns the pen and brush descriptions stored in map files (the Windows
// LOGPEN and LOGBRUSH values) into Qt pens and brushes in map units.
namespace GdiMapping {

// A map rectangle as Qt draws it (right and bottom exclusive, as stored).
QRectF rectF(const Rect& r);
QColor color(COLORREF value);
COLORREF colorRef(const QColor& color);
// A pen of the stored style, width (x component) and colour; style 5 is no pen.
QPen pen(const LogPen& logpen);
// A brush of the stored style: 0 solid, 1 none, 2 hatched.
QBrush brush(const LogBrush& logbrush);
// Pen and brush of an object as the drawing code selects them: the null pen
// or brush when the object draws no outline or no fill.
void select(QPainter& painter, const CDrawObj& object);

} // namespace GdiMapping
