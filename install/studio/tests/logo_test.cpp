#include <gtest/gtest.h>

#include <QImage>
#include <set>

namespace {

TEST(Logo, IsAPictureOfTheStartFormsImageSize) {
    const QImage logo(KOVA_LOGO_PNG);
    ASSERT_FALSE(logo.isNull()) << KOVA_LOGO_PNG;
    EXPECT_EQ(logo.width(), 185);
    EXPECT_EQ(logo.height(), 77);

    // Something is drawn: many visible pixels in several colours, with a clear
    // edge around the picture.
    int visible = 0;
    std::set<QRgb> colours;
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x) {
            const QRgb pixel = logo.pixel(x, y);
            if (qAlpha(pixel) > 128) {
                ++visible;
                colours.insert(pixel);
            }
        }
    }
    EXPECT_GT(visible, logo.width() * logo.height() / 8);
    EXPECT_GT(colours.size(), 3u);
    EXPECT_EQ(qAlpha(logo.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(logo.pixel(184, 76)), 0);
}

}  // namespace
