#pragma once

#include "objects/CDrawObj.h"
#include "objects/DrawView.h"

#include <QList>

// A view with a 1:1 mapping (optionally scaled) and a selection list, that
// records what it was asked to repaint.
class FakeDrawView : public DrawView {
public:
    bool isPrinting() const override { return printing; }
    Rect clientRectLogical() const override { return client; }
    bool showsHandles() const override { return handles; }
    bool isSelected(const CDrawObj* object) const override
    {
        return selected.contains(const_cast<CDrawObj*>(object));
    }
    QList<CDrawObj*> selection() const override { return selected; }
    void removeFromSelection(CDrawObj* object) override { selected.removeAll(object); }
    void invalidateObject(CDrawObj* object) override { invalidated.append(object->m_position); }
    Point logicalToDevice(Point p) const override { return Point{p.x / scale, p.y / scale}; }
    Point deviceToLogical(Point p) const override { return Point{p.x * scale, p.y * scale}; }

    bool printing = false;
    bool handles = true;
    int scale = 1;
    Rect client{0, 0, 1000, 1000};
    QList<CDrawObj*> selected;
    QList<Rect> invalidated;
};
