#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cstdlib>

// The pictures live in the core library's resources; a static library needs them pulled in.
static void LoadArtResources() {
    Q_INIT_RESOURCE(assets);
}

namespace {

QImage LoadArt(const char* name) {
    LoadArtResources();
    return QImage(QString(":/images/") + name);
}

struct ArtSize {
    const char* name;
    int width;
    int height;
};

TEST(Artwork, EveryPictureLoadsAtItsExactSize) {
    const ArtSize pictures[] = {
        {"intro_banner.png", 474, 234},
        {"intro_buttons.png", 242, 72},
        {"icon.png", 32, 32},
        {"main_background.png", 500, 270},
        {"button_bar.png", 416, 26},
        {"spectrum_band.png", 2, 50},
        {"about_left.png", 177, 352},
        {"about_right.png", 177, 292},
        {"hidden_cartoon.png", 208, 147},
        {"sprite_flag.png", 13, 11},
        {"sprite_pig.png", 8, 12},
    };
    for (const ArtSize& art : pictures) {
        const QImage image = LoadArt(art.name);
        ASSERT_FALSE(image.isNull()) << art.name;
        EXPECT_EQ(image.width(), art.width) << art.name;
        EXPECT_EQ(image.height(), art.height) << art.name;
    }
}

TEST(Artwork, SpectrumBandHasTwoGreyRowsThenOneBlackRow) {
    const QImage band = LoadArt("spectrum_band.png");
    ASSERT_EQ(band.size(), QSize(2, 50));
    for (int row = 0; row < 50; ++row) {
        const QRgb expected = row % 3 == 2 ? qRgb(0, 0, 0) : qRgb(0xC6, 0xC6, 0xC6);
        for (int column = 0; column < 2; ++column) {
            EXPECT_EQ(band.pixel(column, row) & 0xFFFFFF, expected & 0xFFFFFF)
                << "column " << column << " row " << row;
        }
    }
}

// The main window paints five twinkling stars of its own; the sky under them must be dark
// enough that a star painted black disappears.
TEST(Artwork, SkyIsDarkAroundTheTwinklingStars) {
    const QImage sky = LoadArt("main_background.png");
    ASSERT_FALSE(sky.isNull());
    const QPoint stars[] = {{100, 93}, {420, 127}, {67, 67}, {67, 227}, {280, 247}};
    for (const QPoint& star : stars) {
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                const QRgb c = sky.pixel(star.x() + dx, star.y() + dy);
                EXPECT_LE(qRed(c), 0x18) << star.x() + dx << "," << star.y() + dy;
                EXPECT_LE(qGreen(c), 0x18) << star.x() + dx << "," << star.y() + dy;
                EXPECT_LE(qBlue(c), 0x18) << star.x() + dx << "," << star.y() + dy;
            }
        }
    }
}

// Captions are drawn in white on the banner's foot, so that strip stays black.
TEST(Artwork, BannerIsBlackUnderTheCaption) {
    const QImage banner = LoadArt("intro_banner.png");
    ASSERT_FALSE(banner.isNull());
    for (int y = 212; y < 232; ++y) {
        for (int x = 285; x < 430; ++x) {
            EXPECT_EQ(banner.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
        }
    }
}

}  // namespace
