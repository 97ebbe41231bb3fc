#pragma once

#include "document/Geometry.h"
#include "objects/DrawView.h"

class CNetDoc;
class QPagedPaintDevice;
class QPainter;

// Prints a map page by page: the map is cut into pages of the document's
// page size, counted row by row from the top-left, each drawn without grid
// or handles. Also what print preview shows.
class MapPrinter : public DrawView {
public:
    explicit MapPrinter(CNetDoc& document);

    // Counts the pages the map's objects cover; without a forest the
    // document keeps its own counts.
    int PreparePages();
    // Draws page n (1-based) onto a painter whose device has the given
    // resolution, the page's top-left at the painter's origin.
    void PrintPage(QPainter& painter, int page, int dpiX, int dpiY);
    // Prints every page; false when the device could not be painted on.
    bool Print(QPagedPaintDevice& device);

    bool isPrinting() const override { return true; }
    Rect clientRectLogical() const override { return m_rcPage; }
    bool showsHandles() const override { return false; }
    bool isSelected(const CDrawObj*) const override { return false; }
    QList<CDrawObj*> selection() const override { return {}; }
    void removeFromSelection(CDrawObj*) override {}
    void invalidateObject(CDrawObj*) override {}
    Point logicalToDevice(Point p) const override { return p; }
    Point deviceToLogical(Point p) const override { return p; }

private:
    CNetDoc& m_document;
    Rect m_rcPage;
};
