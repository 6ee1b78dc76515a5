#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "support/test_modules.h"
#include "visuals/spectrum_analyser.h"
#include "visuals/spectrum_levels.h"
#include "visuals/spectrum_renderer.h"

using namespace hollowtide::visuals;

namespace {

constexpr QRgb kGrey = 0xFFC6C6C6;
constexpr QRgb kBlack = 0xFF000000;

// A spectrum whose bin k + 1 gives bar k the raw height `raw` at height H.
std::array<float, kSpectrumBufferSize> SpectrumWithRawHeight(int raw, int H, int bar = 0) {
    std::array<float, kSpectrumBufferSize> spectrum{};
    spectrum[bar + 1] = static_cast<float>(raw) / static_cast<float>(H);
    return spectrum;
}

std::vector<float> LevelsOfBar0(float start, int raw, int H, int passes) {
    BarLevelArray levels{};
    levels[0] = start;
    const auto spectrum = SpectrumWithRawHeight(raw, H);
    std::vector<float> seen;
    for (int pass = 0; pass < passes; ++pass) {
        UpdateBarLevels(levels, spectrum.data(), H);
        seen.push_back(levels[0]);
    }
    return seen;
}

QImage BlackBox(int width, int H) {
    QImage box(width, H, QImage::Format_RGB32);
    box.fill(Qt::white);  // RenderSpectrum must clear it
    return box;
}

bool AllBlackExcept(const QImage& image, const QRect& allowed) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!allowed.contains(x, y) && image.pixel(x, y) != kBlack) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

TEST(BandImage, IsTwoByFiftyWithEveryThirdRowBlack) {
    const QImage band = MakeBandImage();
    ASSERT_EQ(band.size(), QSize(2, 50));
    for (int row = 0; row < 50; ++row) {
        const QRgb expected = row % 3 == 2 ? kBlack : kGrey;
        EXPECT_EQ(band.pixel(0, row), expected) << row;
        EXPECT_EQ(band.pixel(1, row), expected) << row;
    }
}

static void LoadBandResource() {
    Q_INIT_RESOURCE(assets);
}

TEST(BandImage, MatchesThePackedPicture) {
    LoadBandResource();
    const QImage packed(":/images/spectrum_band.png");
    ASSERT_FALSE(packed.isNull());
    EXPECT_EQ(packed.convertToFormat(QImage::Format_RGB32), MakeBandImage());
}

TEST(BarHeights, RawHeightRoundsHalfToEvenWithNoUpperLimit) {
    EXPECT_EQ(RawBarHeight(0.0f, 34), 0);
    EXPECT_EQ(RawBarHeight(0.25f, 34), 8);   // 8.5
    EXPECT_EQ(RawBarHeight(0.75f, 34), 26);  // 25.5
    EXPECT_EQ(RawBarHeight(0.5f, 33), 16);   // 16.5
    EXPECT_EQ(RawBarHeight(1.5f, 34), 51);
}

TEST(BarHeights, OnlyBarsBetweenOneAndHalfHeightAreLifted) {
    EXPECT_EQ(LiftedBarHeight(0, 34), 0);
    EXPECT_EQ(LiftedBarHeight(1, 34), 1);
    EXPECT_EQ(LiftedBarHeight(2, 34), 12);
    EXPECT_EQ(LiftedBarHeight(9, 34), 16);
    EXPECT_EQ(LiftedBarHeight(16, 34), 21);
    EXPECT_EQ(LiftedBarHeight(17, 34), 17);
    EXPECT_EQ(LiftedBarHeight(40, 34), 40);
    // Odd H: half height is 16.5, so 16 is still lifted.
    EXPECT_EQ(LiftedBarHeight(16, 33), 21);  // 17 * 0.3 + 16 = 21.1
    EXPECT_EQ(LiftedBarHeight(-3, 34), -3);
}

TEST(BarLevels, JumpUpAtOnceAndSinkByThreeAboveHalfAndTwoBelow) {
    EXPECT_EQ(LevelsOfBar0(20, 5, 34, 8), (std::vector<float>{17, 15, 13, 14, 12, 14, 12, 14}));
    EXPECT_EQ(LevelsOfBar0(0, 17, 34, 3),
              (std::vector<float>{17, 15, 17}));  // 17 is not above half
    EXPECT_EQ(LevelsOfBar0(19, 0, 34, 3), (std::vector<float>{16, 14, 12}));
    EXPECT_EQ(LevelsOfBar0(3, 30, 34, 1), (std::vector<float>{30}));
}

TEST(BarLevels, SilenceSwingsBetweenZeroAndMinusTwo) {
    EXPECT_EQ(LevelsOfBar0(0, 0, 34, 4), (std::vector<float>{-2, 0, -2, 0}));
}

TEST(BarLevels, RawHeightOfOneSwingsBetweenOneAndMinusOne) {
    EXPECT_EQ(LevelsOfBar0(0, 1, 34, 4), (std::vector<float>{1, -1, 1, -1}));
}

TEST(BarLevels, BarKReadsBinKPlusOneAndBinZeroIsIgnored) {
    std::array<float, kSpectrumBufferSize> spectrum{};
    spectrum[0] = 1.0f;
    spectrum[32] = 1.0f;
    spectrum[33] = 1.0f;
    BarLevelArray levels{};
    UpdateBarLevels(levels, spectrum.data(), 32);
    for (int k = 0; k < 31; ++k) {
        EXPECT_EQ(levels[k], -2) << k;
    }
    EXPECT_EQ(levels[31], 32);
}

TEST(RenderSpectrum, BarShowsTheBandRowsItCoversOnTheBottomEdge) {
    QImage box = BlackBox(104, 34);
    BarLevelArray levels{};
    levels[2] = 5;
    RenderSpectrum(box, MakeBandImage(), levels, 34);
    // Rows 29..33 of the band: black, grey, grey, black, grey.
    const std::array<QRgb, 5> expected{kBlack, kGrey, kGrey, kBlack, kGrey};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(box.pixel(6, 29 + i), expected[i]) << i;
        EXPECT_EQ(box.pixel(7, 29 + i), expected[i]) << i;
        EXPECT_EQ(box.pixel(8, 29 + i), kBlack) << "gap column " << i;
    }
    EXPECT_TRUE(AllBlackExcept(box, QRect(6, 29, 2, 5)));
}

TEST(RenderSpectrum, LevelsOfZeroOrBelowDrawNothingAndOneDrawsTheBottomRow) {
    QImage box = BlackBox(104, 34);
    BarLevelArray levels{};
    levels.fill(-2);
    levels[0] = 0;
    levels[5] = -1;
    RenderSpectrum(box, MakeBandImage(), levels, 34);
    EXPECT_TRUE(AllBlackExcept(box, QRect()));

    levels[5] = 1;
    RenderSpectrum(box, MakeBandImage(), levels, 34);
    EXPECT_EQ(box.pixel(15, 33), kGrey);  // band row 33
    EXPECT_EQ(box.pixel(16, 33), kGrey);
    EXPECT_TRUE(AllBlackExcept(box, QRect(15, 33, 2, 1)));
}

TEST(RenderSpectrum, BarsTallerThanTheBoxFillItsWholeHeight) {
    QImage box = BlackBox(104, 32);
    BarLevelArray levels{};
    levels[0] = 40;
    levels[1] = 1000;
    RenderSpectrum(box, MakeBandImage(), levels, 32);
    const QImage band = MakeBandImage();
    for (int row = 0; row < 32; ++row) {
        EXPECT_EQ(box.pixel(0, row), band.pixel(0, row)) << row;
        EXPECT_EQ(box.pixel(4, row), band.pixel(1, row)) << row;
    }
}

TEST(RenderSpectrum, NothingIsDrawnRightOfColumn97) {
    QImage box = BlackBox(104, 34);
    BarLevelArray levels{};
    levels.fill(34);
    RenderSpectrum(box, MakeBandImage(), levels, 34);
    EXPECT_EQ(box.pixel(93, 0), kGrey);
    EXPECT_EQ(box.pixel(94, 33), kGrey);
    EXPECT_TRUE(AllBlackExcept(box, QRect(0, 0, 98, 34)));
}

TEST(RenderSpectrum, NarrowBoxAndWideBandAreClippedToTheirEdges) {
    // A box narrower than the last bar and a band wider than five columns: only five band
    // columns are copied, and only as far as the box reaches.
    QImage band(8, 50, QImage::Format_ARGB32);
    band.fill(0xFF112233);
    QImage box = BlackBox(95, 10);
    BarLevelArray levels{};
    levels.fill(10);
    RenderSpectrum(box, band, levels, 10);
    EXPECT_EQ(box.pixel(94, 5), 0xFF112233);
    EXPECT_EQ(box.pixel(0, 0), 0xFF112233);
}

namespace {

struct FakeEngine {
    std::int32_t result = 1024;
    std::array<float, kSpectrumBufferSize> spectrum{};
    std::vector<std::pair<DWORD, DWORD>> calls;

    SpectrumSource Source() {
        return [this](DWORD handle, float* buffer, DWORD length) {
            calls.emplace_back(handle, length);
            if (result > 0) {
                std::copy(spectrum.begin(), spectrum.end(), buffer);
            }
            return result;
        };
    }
};

}  // namespace

TEST(SpectrumAnalyser, PassAsksForTheFftOfTheHandleAndPresentsOnce) {
    FakeEngine engine;
    engine.spectrum[1] = 0.5f;
    SpectrumAnalyser analyser(engine.Source());
    std::vector<QImage> presented;
    analyser.SetPresenter(
        [&](const QImage& picture, PresentMode) { presented.push_back(picture); });

    ASSERT_EQ(analyser.Picture().size(), kSpectrumDrawableSize);
    analyser.DrawSpectrum(7);
    ASSERT_EQ(engine.calls.size(), 1u);
    EXPECT_EQ(engine.calls[0], std::make_pair(DWORD{7}, DWORD{0x80000000u}));
    ASSERT_EQ(presented.size(), 1u);
    EXPECT_EQ(analyser.PresentCount(), 1);
    EXPECT_EQ(analyser.BarLevels[0], 16);  // H = 32: raw 16 is half height, not lifted
    EXPECT_EQ(presented[0].pixel(0, 31), kGrey);
    EXPECT_EQ(presented[0].pixel(0, 16), kGrey);
    EXPECT_EQ(presented[0].pixel(0, 15), kBlack);
    EXPECT_EQ(presented[0].pixel(1, 16), kGrey);
}

TEST(SpectrumAnalyser, NoDataKeepsThePictureAndTheLevels) {
    FakeEngine engine;
    engine.spectrum[3] = 1.0f;
    SpectrumAnalyser analyser(engine.Source(), QSize(102, 34));
    analyser.DrawSpectrum(1);
    const QImage before = analyser.Picture();
    const BarLevelArray levels = analyser.BarLevels;
    EXPECT_EQ(levels[2], 34);

    for (std::int32_t result : {-1, 0}) {
        engine.result = result;
        analyser.DrawSpectrum(1);
        EXPECT_EQ(analyser.Picture(), before);
        EXPECT_EQ(analyser.BarLevels, levels);
        EXPECT_EQ(analyser.PresentCount(), 1);
    }
}

TEST(SpectrumAnalyser, StopClearsThePictureAndPlayResumesFromTheHeldLevels) {
    FakeEngine engine;
    engine.spectrum[1] = 1.0f;   // bar 0 at 34
    engine.spectrum[2] = 0.25f;  // bar 1: raw 8.5 -> 8, lifted to 16
    SpectrumAnalyser analyser(engine.Source(), QSize(102, 34));
    analyser.DrawSpectrum(1);
    ASSERT_EQ(analyser.BarLevels[0], 34);
    ASSERT_EQ(analyser.BarLevels[1], 16);

    analyser.Clear();
    EXPECT_TRUE(AllBlackExcept(analyser.Picture(), QRect()));
    EXPECT_EQ(analyser.PresentCount(), 2);
    EXPECT_EQ(analyser.BarLevels[0], 34);

    engine.spectrum[1] = 0.0f;  // the new song is quieter in bar 0 and louder in bar 1
    engine.spectrum[2] = 0.75f;
    analyser.DrawSpectrum(2);
    EXPECT_EQ(analyser.BarLevels[0], 31);
    EXPECT_EQ(analyser.BarLevels[1], 26);
    EXPECT_EQ(analyser.Picture().pixel(0, 3), kGrey);
    EXPECT_EQ(analyser.Picture().pixel(0, 2), kBlack);
}

TEST(SpectrumAnalyser, SilenceLeavesTheBoxBlack) {
    FakeEngine engine;
    SpectrumAnalyser analyser(engine.Source());
    for (int pass = 0; pass < 3; ++pass) {
        analyser.DrawSpectrum(1);
        EXPECT_TRUE(AllBlackExcept(analyser.Picture(), QRect()));
    }
    EXPECT_EQ(analyser.BarLevels[0], -2);
}

// With the real engine: the analyser's default source is BASS_ChannelGetData.
TEST(SpectrumAnalyserOnTheEngine, NoModuleKeepsTheBoxBlackAndUnpresented) {
    SpectrumAnalyser analyser;
    analyser.DrawSpectrum(0);  // the pass made while the main window loads
    analyser.DrawSpectrum(12345);
    EXPECT_EQ(analyser.PresentCount(), 0);
    EXPECT_TRUE(AllBlackExcept(analyser.Picture(), QRect()));
    EXPECT_EQ(analyser.BarLevels, BarLevelArray{});
}

TEST(SpectrumAnalyserOnTheEngine, PlayingModuleRaisesBars) {
    namespace audio = hollowtide::audio;
    audio::SetOutputKind(audio::OutputKind::Offline);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    const auto module = hollowtide::testing::MakeTestMod();
    const DWORD handle = BASS_MusicLoad(1, module.data(), 0, static_cast<DWORD>(module.size()), 0);
    ASSERT_NE(handle, 0u);
    ASSERT_TRUE(BASS_MusicPlayEx(handle, 0, BASS_MUSIC_LOOP, 1));
    audio::PumpOffline(nullptr, 8192);

    SpectrumAnalyser analyser;
    analyser.DrawSpectrum(handle);
    EXPECT_EQ(analyser.PresentCount(), 1);
    EXPECT_GT(*std::max_element(analyser.BarLevels.begin(), analyser.BarLevels.end()), 0);
    EXPECT_FALSE(AllBlackExcept(analyser.Picture(), QRect()));

    BASS_StreamFree(handle);
    BASS_Free();
    audio::SetOutputKind(audio::OutputKind::Sdl);
}
