#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

// The pictures of the eight device types, drawn by us: a screen image and a
// higher-resolution print image per type, made once on first use. Type codes
// are those of systems: 5 tower, 6 desktop, 7 router, 8 hub, 9 printer,
// 15 notebook, 16 rack mount, 17 pocket PC. Safe to use from any thread.
class DevicePictures {
public:
    enum class Medium { Screen, Print };

    // Null for a type code without a picture.
    static QImage picture(int typeCode, Medium medium);
    // Draws the type's picture stretched into target.
    static void draw(QPainter& painter, int typeCode, const QRectF& target, Medium medium);
    static bool hasPicture(int typeCode);

private:
    static QImage render(int typeCode, double pixelsPerUnit);
};
