#include "DevicePictures.h"

#include <QHash>
#include <QLinearGradient>
#include <QMutex>
#include <QPainter>
#include <QPainterPath>

namespace {

// Pixels per map unit (0.1 mm) of the two images: the screen image is
// sharp up to about 250 % zoom, the print image at 750 dpi.
constexpr double kScreenScale = 1.0;
constexpr double kPrintScale = 3.0;

// The drawing box of each type, in map units: the type's default size.
QSizeF boxOf(int typeCode)
{
    switch (typeCode) {
    case 5:
        return {140, 180};
    case 6:
        return {130, 182};
    case 7:
        return {78, 52};
    case 8:
        return {78, 43};
    case 9:
        return {100, 100};
    case 15:
        return {100, 78};
    case 16:
        return {195, 39};
    case 17:
        return {75, 100};
    default:
        return {};
    }
}

const QColor kOutline(0x37, 0x41, 0x4F);
const QColor kScreenBlue(0x3B, 0x82, 0xC4);
const QColor kLedGreen(0x2E, 0xCC, 0x71);
const QColor kLedAmber(0xF3, 0x9C, 0x12);

QBrush metal(const QRectF& r, QColor light = QColor(0xEC, 0xEF, 0xF1),
             QColor dark = QColor(0xB0, 0xBE, 0xC5))
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return g;
}

QBrush glass(const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kScreenBlue.lighter(140));
    g.setColorAt(1, kScreenBlue.darker(120));
    return g;
}

void body(QPainter& p, const QRectF& r, double radius, const QBrush& fill)
{
    p.setPen(QPen(kOutline, 2.0));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

void led(QPainter& p, QPointF centre, double radius, QColor color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(centre, radius, radius);
}

void drawTower(QPainter& p)
{
    const QRectF box(28, 4, 84, 172);
    body(p, box, 8, metal(box));
    for (int i = 0; i < 2; ++i) {
        const QRectF bay(40, 20 + i * 22, 60, 14);
        p.setPen(QPen(kOutline, 1.5));
        p.setBrush(QColor(0xCF, 0xD8, 0xDC));
        p.drawRoundedRect(bay, 2, 2);
        p.drawLine(QPointF(46, bay.center().y()), QPointF(94, bay.center().y()));
    }
    p.setPen(QPen(kOutline, 1.5));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(48, 100 + i * 8), QPointF(92, 100 + i * 8));
    p.setBrush(QColor(0x90, 0xA4, 0xAE));
    p.drawEllipse(QPointF(70, 80), 7, 7);
    led(p, QPointF(70, 160), 3, kLedGreen);
}

void drawMonitor(QPainter& p, const QRectF& frame)
{
    body(p, frame, 6, QColor(0x45, 0x5A, 0x64));
    const QRectF screen = frame.adjusted(7, 7, -7, -7);
    p.setPen(Qt::NoPen);
    p.setBrush(glass(screen));
    p.drawRect(screen);
    p.setBrush(QColor(255, 255, 255, 60));
    QPainterPath shine;
    shine.moveTo(screen.topLeft());
    shine.lineTo(screen.left() + screen.width() * 0.55, screen.top());
    shine.lineTo(screen.left(), screen.top() + screen.height() * 0.7);
    shine.closeSubpath();
    p.drawPath(shine);
}

void drawDesktop(QPainter& p)
{
    drawMonitor(p, QRectF(8, 4, 114, 86));
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(0x78, 0x90, 0x9C));
    p.drawRect(QRectF(55, 90, 20, 12));
    const QRectF base(4, 104, 122, 44);
    body(p, base, 5, metal(base));
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(0xCF, 0xD8, 0xDC));
    p.drawRoundedRect(QRectF(14, 116, 56, 10), 2, 2);
    led(p, QPointF(112, 136), 3, kLedGreen);
    const QRectF keyboard(10, 154, 110, 22);
    body(p, keyboard, 4, metal(keyboard, QColor(0xF5, 0xF5, 0xF5), QColor(0xCF, 0xD8, 0xDC)));
    p.setPen(QPen(kOutline, 1));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 10; ++col)
            p.drawRect(QRectF(16 + col * 10, 158 + row * 8, 7, 5));
}

void drawRouter(QPainter& p)
{
    p.setPen(QPen(kOutline, 2.5));
    p.drawLine(QPointF(18, 24), QPointF(12, 3));
    p.drawLine(QPointF(60, 24), QPointF(66, 3));
    const QRectF box(3, 22, 72, 26);
    body(p, box, 6, metal(box, QColor(0x5C, 0x6B, 0xC0), QColor(0x28, 0x35, 0x93)));
    for (int i = 0; i < 5; ++i)
        led(p, QPointF(14 + i * 8, 35), 2.2, i == 4 ? kLedAmber : kLedGreen);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(56, 31), QPointF(68, 31));
    p.drawLine(QPointF(56, 39), QPointF(68, 39));
}

void drawHub(QPainter& p)
{
    const QRectF box(2, 8, 74, 28);
    body(p, box, 4, metal(box, QColor(0xEC, 0xEF, 0xF1), QColor(0x90, 0xA4, 0xAE)));
    p.setPen(QPen(kOutline, 1));
    for (int i = 0; i < 6; ++i) {
        const QRectF port(8 + i * 11, 20, 8, 8);
        p.setBrush(QColor(0x26, 0x32, 0x38));
        p.drawRect(port);
        led(p, QPointF(port.center().x(), 15), 1.5, kLedGreen);
        p.setPen(QPen(kOutline, 1));
    }
}

void drawPrinter(QPainter& p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(24, 4, 52, 34));
    const QRectF box(6, 30, 88, 42);
    body(p, box, 6, metal(box));
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(0x45, 0x5A, 0x64));
    p.drawRect(QRectF(16, 46, 68, 6));
    led(p, QPointF(80, 38), 2.5, kLedGreen);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(20, 68, 60, 26));
    p.setPen(QPen(QColor(0x90, 0xA4, 0xAE), 1.5));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(28, 76 + i * 6), QPointF(72, 76 + i * 6));
}

void drawNotebook(QPainter& p)
{
    drawMonitor(p, QRectF(14, 2, 72, 50));
    QPainterPath base;
    base.moveTo(10, 54);
    base.lineTo(90, 54);
    base.lineTo(98, 74);
    base.lineTo(2, 74);
    base.closeSubpath();
    p.setPen(QPen(kOutline, 2));
    p.setBrush(metal(base.boundingRect()));
    p.drawPath(base);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0xCF, 0xD8, 0xDC));
    p.drawRect(QRectF(38, 64, 24, 6));
}

void drawRackMount(QPainter& p)
{
    const QRectF box(2, 3, 191, 33);
    body(p, box, 3, metal(box, QColor(0x54, 0x6E, 0x7A), QColor(0x26, 0x32, 0x38)));
    p.setPen(QPen(QColor(0xCF, 0xD8, 0xDC), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10, 19), 3, 3);
    p.drawEllipse(QPointF(185, 19), 3, 3);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(0x37, 0x47, 0x4F));
        p.drawRoundedRect(QRectF(22 + i * 30, 9, 26, 20), 2, 2);
        led(p, QPointF(42 + i * 30, 13), 1.6, kLedGreen);
        p.setPen(QPen(QColor(0xCF, 0xD8, 0xDC), 1.5));
    }
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(148 + i * 6, 9), QPointF(148 + i * 6, 29));
}

void drawPocketPc(QPainter& p)
{
    const QRectF box(12, 2, 51, 96);
    body(p, box, 8, metal(box, QColor(0x78, 0x90, 0x9C), QColor(0x37, 0x47, 0x4F)));
    const QRectF screen(18, 10, 39, 56);
    p.setPen(Qt::NoPen);
    p.setBrush(glass(screen));
    p.drawRect(screen);
    p.setPen(QPen(QColor(0xCF, 0xD8, 0xDC), 1.5));
    p.setBrush(QColor(0x54, 0x6E, 0x7A));
    p.drawEllipse(QPointF(37.5, 82), 8, 8);
    p.drawEllipse(QPointF(21, 82), 3, 3);
    p.drawEllipse(QPointF(54, 82), 3, 3);
}

void drawType(QPainter& p, int typeCode)
{
    switch (typeCode) {
    case 5:
        drawTower(p);
        break;
    case 6:
        drawDesktop(p);
        break;
    case 7:
        drawRouter(p);
        break;
    case 8:
        drawHub(p);
        break;
    case 9:
        drawPrinter(p);
        break;
    case 15:
        drawNotebook(p);
        break;
    case 16:
        drawRackMount(p);
        break;
    case 17:
        drawPocketPc(p);
        break;
    default:
        break;
    }
}

} // namespace

bool DevicePictures::hasPicture(int typeCode)
{
    return !boxOf(typeCode).isEmpty();
}

QImage DevicePictures::render(int typeCode, double pixelsPerUnit)
{
    const QSizeF box = boxOf(typeCode);
    QImage image((box * pixelsPerUnit).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixelsPerUnit, pixelsPerUnit);
    drawType(painter, typeCode);
    return image;
}

QImage DevicePictures::picture(int typeCode, Medium medium)
{
    if (!hasPicture(typeCode))
        return {};
    static QMutex mutex;
    static QHash<int, QImage> cache;
    const int key = typeCode * 2 + (medium == Medium::Print ? 1 : 0);
    QMutexLocker lock(&mutex);
    auto found = cache.constFind(key);
    if (found == cache.constEnd())
        found = cache.insert(key, render(typeCode, medium == Medium::Print ? kPrintScale : kScreenScale));
    return found.value();
}

void DevicePictures::draw(QPainter& painter, int typeCode, const QRectF& target, Medium medium)
{
    const QImage image = picture(typeCode, medium);
    if (image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    painter.restore();
}
