#include "MapRenderer.h"

#include "document/CNetDoc.h"
#include "objects/CDrawObj.h"
#include "mapview/PrintingView.h"
#include "objects/GdiMapping.h"

#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

// Map units are 0.1 mm: 254 of them to the inch.
constexpr double kUnitsPerInch = 254.0;
// A map spread far (a label thousands of characters wide, coordinates from
// a file) is drawn smaller rather than allocating gigabytes: at most this
// many pixels, and no side longer than the painter can address.
constexpr double kMaxPixels = 150e6;
constexpr double kMaxSide = 32000.0;

} // namespace

Rect MapRenderer::pagesArea(CNetDoc& document)
{
    document.UpdatePageCount();
    return Rect{0, 0, document.m_nPagesX * document.m_sizePage.cx,
                document.m_nPagesY * document.m_sizePage.cy};
}

double MapRenderer::BoundedScale(double width, double height, double scale)
{
    if (width <= 0 || height <= 0)
        return scale;
    scale = std::min({scale, kMaxSide / width, kMaxSide / height});
    const double pixels = width * height * scale * scale;
    if (pixels > kMaxPixels)
        scale *= std::sqrt(kMaxPixels / pixels);
    return scale;
}

QImage MapRenderer::render(CNetDoc& document, int dpi)
{
    const Rect area = pagesArea(document);
    const double scale = BoundedScale(double(area.width()), double(area.height()), dpi / kUnitsPerInch);
    QImage image(qMax(1, qRound(area.width() * scale)), qMax(1, qRound(area.height() * scale)),
                 QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const double effectiveDpi = scale * kUnitsPerInch;
    image.setDotsPerMeterX(qRound(effectiveDpi / 0.0254));
    image.setDotsPerMeterY(qRound(effectiveDpi / 0.0254));
    image.fill(GdiMapping::color(document.m_crBackground));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    PrintingView view(area);
    document.DrawObjects(painter, &view);
    return image;
}

bool MapRenderer::SavePng(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    return !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}
