#pragma once

#include "objects/DrawView.h"

// What the objects see while they are printed or rendered whole: an area to
// draw, no selection, no handles, and map units as device units.
class PrintingView : public DrawView {
public:
    explicit PrintingView(const Rect& area = Rect{})
        : m_area(area)
    {
    }

    void SetArea(const Rect& area) { m_area = area; }

    bool isPrinting() const override { return true; }
    Rect clientRectLogical() const override { return m_area; }
    bool showsHandles() const override { return false; }
    bool isSelected(const CDrawObj*) const override { return false; }
    QList<CDrawObj*> selection() const override { return {}; }
    void removeFromSelection(CDrawObj*) override {}
    void invalidateObject(CDrawObj*) override {}
    Point logicalToDevice(Point p) const override { return p; }
    Point deviceToLogical(Point p) const override { return p; }

private:
    Rect m_area;
};
