#pragma once

#include "Geometry.h"

#include <QJsonArray>
#include <QList>
#include <QStringList>

// JSON forms of the archive's value types, for document listings.
namespace JsonFields {

QJsonArray rect(const Rect& r);
QJsonArray point(const Point& p);
QJsonArray size(const Size& s);
QJsonArray dwords(const QList<quint32>& values);
QJsonArray strings(const QStringList& values);
QJsonArray rects(const QList<Rect>& values);
QJsonArray points(const QList<Point>& values);
QJsonArray sizes(const QList<Size>& values);

} // namespace JsonFields
