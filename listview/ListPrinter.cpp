#include "ListPrinter.h"

#include "listview/DeviceListModel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace {

const QColor kHeaderBrush(192, 192, 192);
const QColor kPreviewGrid(192, 192, 192);

QFont PrintFont()
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(ListPrinter::kFontHeight);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

ListPrinter::ListPrinter(const DeviceListModel& model, const QString& title)
    : m_model(model)
    , m_strTitle(title)
{
}

int ListPrinter::TextWidth(const QString& text)
{
    int bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 1 : 2;
    return kCharAdvance * (bytes + 2);
}

void ListPrinter::Layout(int pageWidth, int pageHeight)
{
    m_nPageWidth = qMax(1, pageWidth);
    m_nPageHeight = qMax(1, pageHeight);
    m_columns.clear();
    int x = 0;
    int page = 0;
    for (int column = 0; column < m_model.columnCount(); ++column) {
        int width = TextWidth(m_model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        for (int row = 0; row < m_model.rowCount(); ++row)
            width = qMax(width, TextWidth(m_model.Text(row, column)));
        // A column that would pass the page's right edge starts the next page.
        if (x + width > (page + 1) * m_nPageWidth && x > page * m_nPageWidth) {
            ++page;
            x = page * m_nPageWidth;
        }
        m_columns.append({x, width, page});
        x += width;
    }
    m_nPagesAcross = m_columns.isEmpty() ? 1 : m_columns.last().page + 1;
    m_nRowsPerBand = qMax(1, m_nPageHeight / kLineHeight - 2);
    m_nPagesDown = qMax(1, (m_model.rowCount() + m_nRowsPerBand - 1) / m_nRowsPerBand);
}

bool ListPrinter::Print(QPrinter& printer, bool preview)
{
    const QRectF paper = printer.pageRect(QPrinter::Millimeter);
    Layout(int(paper.width() * 10), int(paper.height() * 10));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect viewport = printer.pageLayout().paintRectPixels(printer.resolution());
    bool first = true;
    for (int band = 0; band < m_nPagesDown; ++band) {
        for (int columnPage = 0; columnPage < m_nPagesAcross; ++columnPage) {
            if (!first && !printer.newPage())
                return false;
            first = false;
            painter.setViewport(0, 0, viewport.width(), viewport.height());
            painter.setWindow(columnPage * m_nPageWidth, band * m_nPageHeight, m_nPageWidth, m_nPageHeight);
            PrintPage(painter, band, columnPage, preview);
        }
    }
    return painter.end();
}

void ListPrinter::PrintPage(QPainter& painter, int band, int columnPage, bool preview) const
{
    painter.setFont(PrintFont());
    QPen grid(preview ? kPreviewGrid : QColor(Qt::black));
    grid.setStyle(preview ? Qt::SolidLine : Qt::DotLine);
    painter.setPen(grid);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int top = band * m_nPageHeight;
    const int last = LastColumnOfPage(columnPage);
    if (last < 0)
        return;
    const int rightEdge = m_columns.at(last).left + m_columns.at(last).width;
    const int average = painter.fontMetrics().averageCharWidth();
    painter.setPen(Qt::black);
    painter.drawText(rightEdge - int(m_strTitle.size()) * average, top, int(m_strTitle.size()) * average + average,
                     kLineHeight, Qt::AlignLeft | Qt::AlignTop, m_strTitle);
    painter.setPen(grid);
    const int firstRow = band * m_nRowsPerBand;
    const int endRow = qMin(m_model.rowCount(), firstRow + m_nRowsPerBand);
    for (int column = 0; column <= last; ++column) {
        const Column& c = m_columns.at(column);
        if (c.page != columnPage)
            continue;
        const bool right = column == last;
        DrawCell(painter, QRect(c.left, top + kLineHeight, c.width, kLineHeight),
                 m_model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), right, true);
        for (int row = firstRow; row < endRow; ++row)
            DrawCell(painter, QRect(c.left, top + (2 + row - firstRow) * kLineHeight, c.width, kLineHeight),
                     m_model.Text(row, column), right, false);
    }
    // Below the band's last row, ending at the page's last column.
    const QString label = PageLabel(band, columnPage);
    const int labelTop = top + (2 + endRow - firstRow - 1) * kLineHeight + kLineHeight + kTextTop;
    painter.setPen(Qt::black);
    painter.drawText(rightEdge - int(label.size()) * average, labelTop, int(label.size()) * average + average,
                     kLineHeight, Qt::AlignLeft | Qt::AlignTop, label);
}

void ListPrinter::DrawCell(QPainter& painter, const QRect& cell, const QString& text, bool rightEdge,
                           bool header) const
{
    if (header) {
        painter.fillRect(cell, kHeaderBrush);
        painter.drawLine(cell.topLeft(), QPoint(cell.right() + 1, cell.top()));
    }
    painter.drawLine(QPoint(cell.left(), cell.bottom() + 1), QPoint(cell.right() + 1, cell.bottom() + 1));
    painter.drawLine(cell.topLeft(), QPoint(cell.left(), cell.bottom() + 1));
    if (rightEdge)
        painter.drawLine(QPoint(cell.right() + 1, cell.top()), QPoint(cell.right() + 1, cell.bottom() + 1));
    const QPen pen = painter.pen();
    painter.setPen(Qt::black);
    const int average = painter.fontMetrics().averageCharWidth();
    painter.drawText(cell.adjusted(average, kTextTop, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    painter.setPen(pen);
}

int ListPrinter::LastColumnOfPage(int columnPage) const
{
    int last = -1;
    for (int column = 0; column < m_columns.size(); ++column)
        if (m_columns.at(column).page == columnPage)
            last = column;
    return last;
}

QString ListPrinter::PageLabel(int band, int columnPage) const
{
    const int page = band * m_nPagesAcross + columnPage + 1;
    return QString::asprintf("%d - %d    %d - %d( %d/%d )", m_nPagesDown, band + 1, m_nPagesAcross, columnPage + 1,
                             page, m_nPagesDown * m_nPagesAcross);
}
