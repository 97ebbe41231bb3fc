#pragma once

#include "document/Geometry.h"

#include <QImage>

class QPainter;

class ChangeOverlay;
class CNetDoc;

// Draws a whole map without a window: every page the map covers, with its
// background and objects, no grid and no handles.
class MapRenderer {
public:
    static constexpr int kDefaultDpi = 96;

    // The picture of all pages at the given resolution, with the changes
    // since an earlier map marked when an overlay is given.
    static QImage render(CNetDoc& document, int dpi = kDefaultDpi, const ChangeOverlay* overlay = nullptr);
    // The scale (pixels per map unit) bounded so that the picture of an area
    // stays within the pixel and side limits; the whole area is drawn.
    static double BoundedScale(double width, double height, double scale);
    // The highest resolution at which the whole map fits the picture limits.
    static int MaxDpi(CNetDoc& document);
    static constexpr double kMaxPixels = 150e6;
    // Writes a picture as PNG beside the path and renames it over it, so an
    // interrupted run never leaves a truncated picture.
    static bool SavePng(const QImage& image, const QString& path);
    // The image encoded as a PNG file; empty when it cannot be.
    static QByteArray PngBytes(const QImage& image);
    // The whole map as vector graphics, texts as text, written beside the
    // path and renamed over it; false when the file cannot be written.
    static bool SaveSvg(CNetDoc& document, const QString& path, const ChangeOverlay* overlay = nullptr);
    // One PDF page the size of the map's pages, at the map's own scale.
    static bool SavePdf(CNetDoc& document, const QString& path);
    // The area drawn, in map units: pages across times pages down.
    static Rect pagesArea(CNetDoc& document);

private:
    // The pages, and whatever an overlay marks beyond them.
    static Rect DrawnArea(CNetDoc& document, const ChangeOverlay* overlay);
    static void Paint(CNetDoc& document, QPainter& painter, const Rect& area,
                      const ChangeOverlay* overlay = nullptr);
};
