#include "MapRenderer.h"

#include "document/CNetDoc.h"
#include "objects/CDrawObj.h"
#include "mapview/ChangeOverlay.h"
#include "mapview/DrawingThreads.h"
#include "mapview/PrintingView.h"
#include "objects/GdiMapping.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace {

// Map units are 0.1 mm: 254 of them to the inch.
constexpr double kUnitsPerInch = 254.0;
// A map spread far (a label thousands of characters wide, coordinates from
// a file) is drawn smaller rather than allocating gigabytes: at most this
// many pixels, and no side longer than the painter can address.
constexpr double kMaxSide = 32000.0;

} // namespace

Rect MapRenderer::pagesArea(CNetDoc& document)
{
    document.UpdatePageCount();
    return Rect{0, 0, document.m_nPagesX * document.m_sizePage.cx,
                document.m_nPagesY * document.m_sizePage.cy};
}

Rect MapRenderer::DrawnArea(CNetDoc& document, const ChangeOverlay* overlay)
{
    Rect area = pagesArea(document);
    // Gone devices stand where the earlier map had them, perhaps beyond
    // the later map's pages.
    if (overlay) {
        const Rect marks = overlay->Bounds();
        area.right = std::max(area.right, marks.right);
        area.bottom = std::max(area.bottom, marks.bottom);
    }
    return area;
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

int MapRenderer::MaxDpi(CNetDoc& document)
{
    const Rect area = pagesArea(document);
    const double scale = BoundedScale(double(area.width()), double(area.height()), 1e9);
    return int(std::floor(scale * kUnitsPerInch));
}

QImage MapRenderer::render(CNetDoc& document, int dpi, const ChangeOverlay* overlay)
{
    const Rect area = DrawnArea(document, overlay);
    const double scale = BoundedScale(double(area.width()), double(area.height()), dpi / kUnitsPerInch);
    QImage image(qMax(1, qRound(area.width() * scale)), qMax(1, qRound(area.height() * scale)),
                 QImage::Format_RGB32);
    // Asked once the picture holds its memory: under an address-space
    // limit, the threads' stacks must fit beside it.
    if (image.isNull() || !DrawingThreads::CanStart())
        return {};
    const double effectiveDpi = scale * kUnitsPerInch;
    image.setDotsPerMeterX(qRound(effectiveDpi / 0.0254));
    image.setDotsPerMeterY(qRound(effectiveDpi / 0.0254));
    QPainter painter(&image);
    painter.scale(scale, scale);
    Paint(document, painter, area, overlay);
    return image;
}

void MapRenderer::Paint(CNetDoc& document, QPainter& painter, const Rect& area, const ChangeOverlay* overlay)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(area.left, area.top, area.width(), area.height()), GdiMapping::color(document.m_crBackground));
    PrintingView view(area);
    document.DrawObjects(painter, &view);
    if (overlay)
        overlay->Draw(painter, document);
}

bool MapRenderer::SaveSvg(CNetDoc& document, const QString& path, const ChangeOverlay* overlay)
{
    const Rect area = DrawnArea(document, overlay);
    const double scale = kDefaultDpi / kUnitsPerInch;
    QSaveFile file(path);
    if (!DrawingThreads::CanStart() || !file.open(QIODevice::WriteOnly))
        return false;
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(kDefaultDpi);
    svg.setSize(QSize(qRound(area.width() * scale), qRound(area.height() * scale)));
    svg.setViewBox(QRectF(0, 0, area.width() * scale, area.height() * scale));
    svg.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    painter.scale(scale, scale);
    Paint(document, painter, area, overlay);
    return painter.end() && file.commit();
}

bool MapRenderer::SavePdf(CNetDoc& document, const QString& path)
{
    const Rect area = pagesArea(document);
    QSaveFile file(path);
    if (!DrawingThreads::CanStart() || !file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter pdf(&file);
    // One device unit per map unit (0.1 mm), so the map draws at its size.
    pdf.setResolution(qRound(kUnitsPerInch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(area.width() / 10.0, area.height() / 10.0), QPageSize::Millimeter));
    pdf.setTitle(QFileInfo(path).completeBaseName());
    pdf.setCreator(QStringLiteral("Varnex"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    Paint(document, painter, area);
    return painter.end() && file.commit();
}

QByteArray MapRenderer::PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

bool MapRenderer::SavePng(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    return !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}
