#pragma once

#include <QtGlobal>

#include <algorithm>

// Map geometry in the file's own terms: 32-bit signed coordinates in 0.1 mm,
// y growing downwards, rectangles with exclusive right and bottom edges.
// QRect is avoided on purpose: its inclusive right/bottom would shift every
// stored rectangle by one unit.

struct Point {
    qint32 x = 0;
    qint32 y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    qint32 cx = 0;
    qint32 cy = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    // Coordinates come from files: the arithmetic is done in 64 bits so that
    // no value can overflow, and results wrap back into 32 bits.
    qint32 width() const { return qint32(qint64(right) - left); }
    qint32 height() const { return qint32(qint64(bottom) - top); }

    // Empty as the platform defines it: no area, whatever the orientation.
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool isNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

    Rect normalized() const
    {
        Rect r = *this;
        if (r.left > r.right)
            std::swap(r.left, r.right);
        if (r.top > r.bottom)
            std::swap(r.top, r.bottom);
        return r;
    }

    // Centre with each sum halved, truncating towards zero.
    Point center() const
    {
        return Point{qint32((qint64(left) + right) / 2), qint32((qint64(top) + bottom) / 2)};
    }

    Rect intersected(const Rect& o) const
    {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        return r.isEmpty() ? Rect{} : r;
    }

    bool intersects(const Rect& o) const { return !intersected(o).isEmpty(); }

    // Union of the platform: an empty operand contributes nothing.
    Rect united(const Rect& o) const
    {
        if (o.isEmpty())
            return isEmpty() ? Rect{} : *this;
        if (isEmpty())
            return o;
        return Rect{std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                    std::max(bottom, o.bottom)};
    }

    Rect translated(qint32 dx, qint32 dy) const
    {
        return Rect{qint32(qint64(left) + dx), qint32(qint64(top) + dy), qint32(qint64(right) + dx),
                    qint32(qint64(bottom) + dy)};
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};
