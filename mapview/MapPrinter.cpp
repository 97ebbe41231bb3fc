#include "MapPrinter.h"

#include "document/CNetDoc.h"
#include "objects/CDrawDomain.h"
#include "objects/GdiMapping.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace {

constexpr double kUnitsPerInch = 254.0;

int PagesFor(qint64 length, qint64 page)
{
    return int(std::max<qint64>(1, (length + page - 1) / page));
}

} // namespace

MapPrinter::MapPrinter(CNetDoc& document)
    : m_document(document)
{
}

int MapPrinter::PreparePages()
{
    m_document.UpdatePageSize();
    const Size page = m_document.m_sizePage;
    if (!m_document.FindDomain(QString()) || page.cx <= 0 || page.cy <= 0)
        return m_document.m_nPages;
    const Rect extent = m_document.ObjectsExtent();
    m_document.m_nPagesX = PagesFor(extent.width(), page.cx);
    m_document.m_nPagesY = PagesFor(extent.height(), page.cy);
    m_document.m_nPages = m_document.m_nPagesX * m_document.m_nPagesY;
    return m_document.m_nPages;
}

void MapPrinter::PrintPage(QPainter& painter, int pageNumber, int dpiX, int dpiY)
{
    const Size size = m_document.m_sizePage;
    const int pagesX = std::max(1, m_document.m_nPagesX);
    const int column = (pageNumber - 1) % pagesX;
    const int row = (pageNumber - 1) / pagesX;
    const Rect page{column * size.cx, row * size.cy, (column + 1) * size.cx, (row + 1) * size.cy};
    SetArea(page);
    painter.save();
    painter.scale(dpiX / kUnitsPerInch, dpiY / kUnitsPerInch);
    painter.translate(-page.left, -page.top);
    const QRect pageRect(page.left, page.top, size.cx, size.cy);
    painter.setClipRect(pageRect);
    painter.fillRect(pageRect, GdiMapping::color(m_document.m_crBackground));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_document.DrawObjects(painter, this);
    painter.restore();
}

bool MapPrinter::Print(QPagedPaintDevice& device)
{
    const int pages = PreparePages();
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
