#include "MapRenderer.h"

#include "document/CNetDoc.h"
#include "objects/CDrawObj.h"
#include "mapview/PrintingView.h"
#include "objects/GdiMapping.h"

#include <QPainter>

namespace {

// Map units are 0.1 mm: 254 of them to the inch.
constexpr double kUnitsPerInch = 254.0;

} // namespace

Rect MapRenderer::pagesArea(CNetDoc& document)
{
    document.UpdatePageCount();
    return Rect{0, 0, document.m_nPagesX * document.m_sizePage.cx,
                document.m_nPagesY * document.m_sizePage.cy};
}

QImage MapRenderer::render(CNetDoc& document, int dpi)
{
    const Rect area = pagesArea(document);
    const double scale = dpi / kUnitsPerInch;
    QImage image(qRound(area.width() * scale), qRound(area.height() * scale),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(GdiMapping::color(document.m_crBackground));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    PrintingView view(area);
    document.DrawObjects(painter, &view);
    return image;
}
