#include "objects/DevicePictures.h"
#include "support/TestFiles.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

TEST(DevicePictures, EveryTypeHasAScreenAndAPrintPicture)
{
    const int types[] = {5, 6, 7, 8, 9, 15, 16, 17};
    QImage sheet(8 * 200, 200, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < 8; ++i) {
        const QImage screen = DevicePictures::picture(types[i], DevicePictures::Medium::Screen);
        const QImage print = DevicePictures::picture(types[i], DevicePictures::Medium::Print);
        ASSERT_FALSE(screen.isNull()) << types[i];
        EXPECT_EQ(print.width(), screen.width() * 3) << types[i];
        // A recognisable picture covers a good part of its box.
        EXPECT_GT(opaquePixels(screen), screen.width() * screen.height() / 4) << types[i];
        DevicePictures::draw(painter, types[i], QRectF(i * 200 + 10, 10, screen.width(), screen.height()),
                             DevicePictures::Medium::Screen);
    }
    painter.end();
    sheet.save(TestFiles::scratchPath("device-pictures.png"));
    EXPECT_FALSE(DevicePictures::hasPicture(10));
    EXPECT_TRUE(DevicePictures::picture(10, DevicePictures::Medium::Screen).isNull());
}

} // namespace
