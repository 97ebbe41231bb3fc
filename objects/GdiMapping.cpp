#include "GdiMapping.h"

#include <QPainter>

namespace GdiMapping {

namespace {

// Pen styles and brush styles of the stored descriptions.
enum PenStyle : quint32 { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, NullPen = 5 };
enum BrushStyle : quint32 { SolidBrush = 0, NullBrush = 1, Hatched = 2 };

Qt::BrushStyle hatchStyle(quint32 hatch)
{
    switch (hatch) {
    case 0:
        return Qt::HorPattern;
    case 1:
        return Qt::VerPattern;
    case 2:
        return Qt::FDiagPattern;
    case 3:
        return Qt::BDiagPattern;
    case 4:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

} // namespace

QRectF rectF(const Rect& r)
{
    return QRectF(r.left, r.top, r.width(), r.height());
}

QColor color(COLORREF value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

COLORREF colorRef(const QColor& c)
{
    return COLORREF(c.red()) | (COLORREF(c.green()) << 8) | (COLORREF(c.blue()) << 16);
}

QPen pen(const LogPen& logpen)
{
    if (logpen.lopnStyle == NullPen)
        return QPen(Qt::NoPen);
    QPen p(color(logpen.lopnColor));
    p.setWidthF(std::max(1, logpen.lopnWidth.x));
    p.setJoinStyle(Qt::MiterJoin);
    switch (logpen.lopnStyle) {
    case Dash:
        p.setStyle(Qt::DashLine);
        break;
    case Dot:
        p.setStyle(Qt::DotLine);
        break;
    case DashDot:
        p.setStyle(Qt::DashDotLine);
        break;
    case DashDotDot:
        p.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    return p;
}

QBrush brush(const LogBrush& logbrush)
{
    switch (logbrush.lbStyle) {
    case SolidBrush:
        return QBrush(color(logbrush.lbColor));
    case Hatched:
        return QBrush(color(logbrush.lbColor), hatchStyle(logbrush.lbHatch));
    default:
        return QBrush(Qt::NoBrush);
    }
}

void select(QPainter& painter, const CDrawObj& object)
{
    painter.setPen(object.m_bPen ? pen(object.m_logpen) : QPen(Qt::NoPen));
    painter.setBrush(object.m_bBrush ? brush(object.m_logbrush) : QBrush(Qt::NoBrush));
}

} // namespace GdiMapping
