#pragma once

#include "document/Geometry.h"
#include "mapview/PrintingView.h"

#include <QList>

class CNetDoc;
class QPagedPaintDevice;
class QPainter;

// Prints a map page by page: the map is cut into slices no larger than what
// the printer can print on a sheet, counted row by row from the top-left,
// each drawn without grid or handles, so every part of the map lands on
// exactly one page in either orientation; a cut is moved back where it
// would split a device or a label. Also what print preview shows.
class MapPrinter : public PrintingView {
public:
    explicit MapPrinter(CNetDoc& document);

    // Counts the pages of the document's page size the map's objects cover;
    // without a forest the document keeps its own counts.
    int PreparePages();
    // The same with slices of the given size (map units).
    int PreparePages(Size slice);
    // The printable area of a device's page in map units.
    static Size PrintableArea(const QPagedPaintDevice& device);
    // Draws page n (1-based) onto a painter whose device has the given
    // resolution, the page's top-left at the painter's origin.
    void PrintPage(QPainter& painter, int page, int dpiX, int dpiY);
    // Prints every page; false when the device could not be painted on.
    bool Print(QPagedPaintDevice& device);

private:
    void LayOutLabels(const Rect& extent);

    CNetDoc& m_document;
    Size m_slice{};
    QList<qint32> m_startsX{0}; // where each column of pages begins
    QList<qint32> m_startsY{0}; // where each row of pages begins
};
