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

// White captions are drawn over the button bar, so the buttons under them stay a darker grey
// (caption boxes relative to the bar: x from the window's 56, 159, 263, 371 minus the bar's 46).
TEST(Artwork, ButtonBarIsDarkEnoughForWhiteCaptions) {
    const QImage bar = LoadArt("button_bar.png");
    ASSERT_FALSE(bar.isNull());
    const QRect captions[] = {
        {10, 7, 83, 13}, {113, 7, 86, 13}, {217, 7, 88, 13}, {325, 7, 83, 13}};
    for (const QRect& box : captions) {
        double sum = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                sum += qGray(bar.pixel(x, y));
            }
        }
        const double mean = sum / (box.width() * box.height());
        EXPECT_GT(mean, 40.0) << "button under x " << box.left() << " is missing";
        EXPECT_LT(mean, 140.0) << "button under x " << box.left() << " is too light";
    }
}

// The GO and EXIT hot areas must land on their bubbles, not on the black around them.
TEST(Artwork, SpeechBubblesSitUnderTheHotAreas) {
    const QImage buttons = LoadArt("intro_buttons.png");
    ASSERT_FALSE(buttons.isNull());
    const QRect hotAreas[] = {{13, 5, 85, 53}, {163, 7, 69, 37}};
    for (const QRect& hot : hotAreas) {
        int lit = 0;
        for (int y = hot.top(); y <= hot.bottom(); ++y) {
            for (int x = hot.left(); x <= hot.right(); ++x) {
                lit += qGray(buttons.pixel(x, y)) > 60 ? 1 : 0;
            }
        }
        EXPECT_GT(lit, hot.width() * hot.height() / 2) << "hot area at x " << hot.left();
    }
}

// Sprites and the icon are laid over other pictures: transparent around, opaque inside.
TEST(Artwork, SpritesAndIconHaveTransparentSurrounds) {
    for (const char* name : {"sprite_flag.png", "sprite_pig.png", "icon.png"}) {
        const QImage image = LoadArt(name);
        ASSERT_TRUE(image.hasAlphaChannel()) << name;
        int clear = 0;
        int solid = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                clear += alpha == 0 ? 1 : 0;
                solid += alpha == 255 ? 1 : 0;
            }
        }
        EXPECT_GT(clear, 0) << name;
        EXPECT_GT(solid, image.width() * image.height() / 2) << name;
    }
}

}  // namespace

// The launcher icons, as the install puts them in the desktop's icon theme.
TEST(Artwork, LauncherIconsAreDrawnForEachSize) {
    const QString folder = QStringLiteral(HOLLOWTIDE_SOURCE_DIR "/assets/images/hicolor/");
    QImage smallest;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(folder + QStringLiteral("%1x%1.png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size)) << size;
        EXPECT_TRUE(icon.hasAlphaChannel()) << size;
        if (size == 16) smallest = icon;
        if (size > 24) continue;
        // The small ones are pixel art: every pixel wholly there or wholly not, no blur.
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const int alpha = qAlpha(icon.pixel(x, y));
                ASSERT_TRUE(alpha == 0 || alpha == 255) << size << " at " << x << "," << y;
            }
        }
    }
    // Not the large one scaled down: that would blur into partial pixels, as measured above,
    // and its corners would not be transparent.
    const QImage scaled = QImage(folder + "256x256.png")
                              .scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    EXPECT_NE(scaled, smallest.convertToFormat(QImage::Format_ARGB32));
}
