#pragma once

#include "document/Geometry.h"
#include "mapview/PrintingView.h"

class CNetDoc;
class QPagedPaintDevice;
class QPainter;

// Prints a map page by page: the map is cut into pages of the document's
// page size, counted row by row from the top-left, each drawn without grid
// or handles. Also what print preview shows.
class MapPrinter : public PrintingView {
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

private:
    CNetDoc& m_document;
};
