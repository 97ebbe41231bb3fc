#include "MapRenderer.h"

#include "document/CNetDoc.h"
#include "objects/CDrawObj.h"
#include "objects/DrawView.h"
#include "objects/GdiMapping.h"

#include <QPainter>

namespace {

// Map units are 0.1 mm: 254 of them to the inch.
constexpr double kUnitsPerInch = 254.0;

// A view that shows everything: no selection, no handles, every object drawn
// as for a printout.
class WholeMapView : public DrawView {
public:
    explicit WholeMapView(const Rect& area)
        : m_area(area)
    {
    }
    bool isPrinting() const override { return true; }
    Rect clientRectLogical() const override { return m_area; }
    bool showsHandles() const override { return false; }
    bool isSelected(const CDrawObj*) const override { return false; }
    QList<CDrawObj*> selection() const override { return {}; }
    void removeFromSelection(CDrawObj*) override {}
    void invalidateObject(CDrawObj*) override {}
    Point logicalToDevice(Point p) const override { return p; }
    Point deviceToLogical(Point p) const override { return p; }

private:
    Rect m_area;
};

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
    WholeMapView view(area);
    document.DrawObjects(painter, &view);
    return image;
}
