#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include "DirectionPictograms.h"

namespace leeb {
namespace {

QImage LoadPictogram(int image) {
    InitPictogramResources();
    return QImage(QString::fromStdString(DirectionPictogramResource(image)));
}

TEST(DirectionPictogramImages, BlackLineArtOnTransparentGround) {
    for (int i = 0; i < PictogramCount; ++i) {
        const QImage image = LoadPictogram(i);
        ASSERT_FALSE(image.isNull()) << DirectionPictogramResource(i);
        EXPECT_EQ(image.width(), PictogramWidth) << i;
        EXPECT_EQ(image.height(), PictogramHeight) << i;
        int black = 0;
        int other = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 0) {
                    continue;
                }
                if (c.alpha() == 255 && c.red() == 0 && c.green() == 0 && c.blue() == 0) {
                    ++black;
                } else {
                    ++other;
                }
            }
        }
        EXPECT_GE(black, 85) << "image " << i;
        EXPECT_LE(black, 94) << "image " << i;
        EXPECT_EQ(other, 0) << "image " << i;
    }
}

TEST(DirectionPictogramImages, EveryDirectionHasItsOwnPicture) {
    std::vector<QImage> seen;
    for (int direction = 0; direction <= 4; ++direction) {
        const int image = PictogramForDirection(direction);
        ASSERT_GE(image, 0);
        ASSERT_NE(image, StrengthPictogram);
        const QImage picture = LoadPictogram(image);
        for (const QImage& earlier : seen) {
            EXPECT_NE(picture, earlier) << "direction " << direction;
        }
        seen.push_back(picture);
    }
}

}  // namespace
}  // namespace leeb
