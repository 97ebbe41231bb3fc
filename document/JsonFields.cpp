#include "JsonFields.h"

namespace JsonFields {

QJsonArray rect(const Rect& r)
{
    return QJsonArray{r.left, r.top, r.right, r.bottom};
}

QJsonArray point(const Point& p)
{
    return QJsonArray{p.x, p.y};
}

QJsonArray size(const Size& s)
{
    return QJsonArray{s.cx, s.cy};
}

QJsonArray dwords(const QList<quint32>& values)
{
    QJsonArray out;
    for (quint32 v : values)
        out.append(qint64(v));
    return out;
}

QJsonArray strings(const QStringList& values)
{
    return QJsonArray::fromStringList(values);
}

QJsonArray rects(const QList<Rect>& values)
{
    QJsonArray out;
    for (const Rect& v : values)
        out.append(rect(v));
    return out;
}

QJsonArray points(const QList<Point>& values)
{
    QJsonArray out;
    for (const Point& v : values)
        out.append(point(v));
    return out;
}

QJsonArray sizes(const QList<Size>& values)
{
    QJsonArray out;
    for (const Size& v : values)
        out.append(size(v));
    return out;
}

} // namespace JsonFields
