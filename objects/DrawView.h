#pragma once

#include "document/Geometry.h"

#include <QList>

class CDrawObj;

// What the map objects and the document need from a view while they draw,
// hit-test and move: the visible area, the selection and the mapping between
// logical units (0.1 mm) and device pixels. The map view implements it; so do
// headless renderers and tests.
class DrawView {
public:
    virtual ~DrawView() = default;

    virtual bool isPrinting() const = 0;
    // The client area in logical units.
    virtual Rect clientRectLogical() const = 0;
    // Whether selected objects get their handles drawn.
    virtual bool showsHandles() const = 0;
    virtual bool isSelected(const CDrawObj* object) const = 0;
    virtual QList<CDrawObj*> selection() const = 0;
    virtual void removeFromSelection(CDrawObj* object) = 0;
    // Repaint the area the object covers now.
    virtual void invalidateObject(CDrawObj* object) = 0;
    virtual Point logicalToDevice(Point p) const = 0;
    virtual Point deviceToLogical(Point p) const = 0;
    // Show the object's property sheet; views without windows have none.
    virtual void openPropertySheet(CDrawObj*) {}
};
