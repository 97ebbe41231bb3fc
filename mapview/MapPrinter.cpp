#include "MapPrinter.h"

#include "document/CNetDoc.h"
#include "objects/CDrawConnect.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawSys.h"
#include "objects/GdiMapping.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>

namespace {

constexpr double kUnitsPerInch = 254.0;
constexpr qint32 kWholeMargin = 20; // 2 mm

using Span = std::pair<qint32, qint32>;

// Where the pages along one axis start: every slice at most a page long,
// each cut moved back, by at most half a page, to where it splits no
// device or label, so those are printed whole on one page.
QList<qint32> Starts(qint32 length, qint32 page, const QList<Span>& whole)
{
    QList<qint32> starts{0};
    for (qint32 at = 0; length - at > page;) {
        qint32 cut = at + page;
        const qint32 floor = at + page / 2;
        for (bool moved = true; moved;) {
            moved = false;
            for (const Span& span : whole)
                if (span.first < cut && cut < span.second) {
                    cut = span.first;
                    moved = true;
                }
            if (cut <= floor) {
                cut = at + page;
                break;
            }
        }
        starts.append(cut);
        at = cut;
    }
    return starts;
}

} // namespace

MapPrinter::MapPrinter(CNetDoc& document)
    : m_document(document)
{
}

int MapPrinter::PreparePages()
{
    m_document.UpdatePageSize();
    return PreparePages(m_document.m_sizePage);
}

Size MapPrinter::PrintableArea(const QPagedPaintDevice& device)
{
    // width() and height() are the paintable part of the page in device
    // pixels, after the orientation and the margins.
    return Size{qint32(device.width() * kUnitsPerInch / device.logicalDpiX()),
                qint32(device.height() * kUnitsPerInch / device.logicalDpiY())};
}

int MapPrinter::PreparePages(Size page)
{
    m_slice = page;
    m_startsX = {0};
    m_startsY = {0};
    if (!m_document.FindDomain(QString()) || page.cx <= 0 || page.cy <= 0)
        return m_document.m_nPages;
    const Rect extent = m_document.ObjectsExtent();
    LayOutLabels(extent);
    QList<Span> across;
    QList<Span> down;
    for (const CDrawObj* object : std::as_const(m_document.m_objects)) {
        if (!object->IsKindOf(CDrawSys::StaticClass()) || object->IsKindOf(CDrawConnect::StaticClass()))
            continue;
        // A little room for the glyphs of one printer against another.
        const Rect r = object->m_position.normalized();
        across.append({r.left - kWholeMargin, r.right + kWholeMargin});
        down.append({r.top - kWholeMargin, r.bottom + kWholeMargin});
    }
    m_startsX = Starts(extent.width(), page.cx, across);
    m_startsY = Starts(extent.height(), page.cy, down);
    m_document.m_nPagesX = int(m_startsX.size());
    m_document.m_nPagesY = int(m_startsY.size());
    m_document.m_nPages = m_document.m_nPagesX * m_document.m_nPagesY;
    return m_document.m_nPages;
}

void MapPrinter::LayOutLabels(const Rect& extent)
{
    // Labels take their places and widths from the font when drawn.
    QPicture scratch;
    QPainter painter(&scratch);
    SetArea(extent);
    m_document.DrawObjects(painter, this);
}

void MapPrinter::PrintPage(QPainter& painter, int pageNumber, int dpiX, int dpiY)
{
    const Size size = m_slice.cx > 0 && m_slice.cy > 0 ? m_slice : m_document.m_sizePage;
    const int pagesX = std::max(1, int(m_startsX.size()));
    const int column = (pageNumber - 1) % pagesX;
    const int row = (pageNumber - 1) / pagesX;
    const qint32 left = m_startsX.value(column, column * size.cx);
    const qint32 top = m_startsY.value(row, row * size.cy);
    const Rect page{left, top, m_startsX.value(column + 1, left + size.cx), m_startsY.value(row + 1, top + size.cy)};
    SetArea(page);
    painter.save();
    painter.scale(dpiX / kUnitsPerInch, dpiY / kUnitsPerInch);
    painter.translate(-page.left, -page.top);
    const QRect pageRect(page.left, page.top, page.width(), page.height());
    painter.setClipRect(pageRect);
    painter.fillRect(pageRect, GdiMapping::color(m_document.m_crBackground));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_document.DrawObjects(painter, this);
    painter.restore();
}

bool MapPrinter::Print(QPagedPaintDevice& device)
{
    m_document.UpdatePageSize();
    const int pages = PreparePages(PrintableArea(device));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1 && !device.newPage())
            return false;
        PrintPage(painter, page, device.logicalDpiX(), device.logicalDpiY());
    }
    return painter.end();
}
