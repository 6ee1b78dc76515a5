// The spectrum request: its scale, its bounds in the caller's buffer, and that it follows the
// frames the listener hears rather than the newest frames mixed.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/spectrum.h"
#include "engine_fixture.h"
#include "support/test_modules.h"

namespace hollowtide::testing {
namespace {

constexpr std::size_t kN = audio::SpectrumAnalyser::kSize;

std::array<float, kN> Sine(double amplitude, double bin, double phase = 0.3) {
    std::array<float, kN> samples{};
    for (std::size_t i = 0; i < kN; ++i) {
        samples[i] =
            static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * bin * i / kN + phase));
    }
    return samples;
}

// The same block on both sides: a sound in the middle of the stereo image.
void AnalyseCentred(audio::SpectrumAnalyser& analyser, const std::array<float, kN>& samples,
                    float* bins) {
    analyser.analyse(samples.data(), samples.data(), bins);
}

TEST(SpectrumAnalyserTest, FullScaleSineAtABinCentreGivesAboutOneThere) {
    audio::SpectrumAnalyser analyser;
    std::array<float, 257> bins{};
    for (const int bin : {1, 5, 32, 200}) {
        AnalyseCentred(analyser, Sine(1.0, bin), bins.data());
        EXPECT_NEAR(bins[bin], 1.0f, 1e-4f) << bin;
        // The Hann window leaks into the two neighbours only, at half the height (bin 0 also
        // meets the sine's mirror image).
        if (bin > 1) {
            EXPECT_NEAR(bins[bin - 1], 0.5f, 1e-4f);
        }
        EXPECT_NEAR(bins[bin + 1], 0.5f, 1e-4f);
        EXPECT_LT(bins[bin + 3], 1e-4f);
    }
    AnalyseCentred(analyser, Sine(0.25, 10), bins.data());
    EXPECT_NEAR(bins[10], 0.25f, 1e-4f) << "linear in the amplitude";

    std::array<float, kN> constant;
    constant.fill(0.5f);
    AnalyseCentred(analyser, constant, bins.data());
    EXPECT_NEAR(bins[0], 0.5f, 1e-4f);
}

// A tracker channel panned hard to one side is as loud as the same channel in the middle, and
// each bin reads the louder side.
TEST(SpectrumAnalyserTest, ASoundOnOneSideReadsAsLoudAsInTheMiddle) {
    audio::SpectrumAnalyser analyser;
    const std::array<float, kN> silence{};
    std::array<float, 257> bins{};
    for (const int bin : {1, 7, 32, 255}) {
        analyser.analyse(Sine(1.0, bin).data(), silence.data(), bins.data());
        EXPECT_NEAR(bins[bin], 1.0f, 1e-4f) << "left only, bin " << bin;
        analyser.analyse(silence.data(), Sine(1.0, bin).data(), bins.data());
        EXPECT_NEAR(bins[bin], 1.0f, 1e-4f) << "right only, bin " << bin;
        EXPECT_LT(bins[bin + 3 > 256 ? bin - 3 : bin + 3], 1e-4f);
    }
    // Two sounds, one per side: each bin shows its own side's sound, not their average.
    analyser.analyse(Sine(0.8, 4).data(), Sine(0.3, 20).data(), bins.data());
    EXPECT_NEAR(bins[4], 0.8f, 1e-4f);
    EXPECT_NEAR(bins[20], 0.3f, 1e-4f);
    // Opposite phases cancel in a mono mix, but both sides still sound.
    std::array<float, kN> inverted = Sine(1.0, 9);
    for (float& sample : inverted) sample = -sample;
    analyser.analyse(Sine(1.0, 9).data(), inverted.data(), bins.data());
    EXPECT_NEAR(bins[9], 1.0f, 1e-4f);
}

TEST(SpectrumAnalyserTest, SilenceGivesZerosEverywhere) {
    audio::SpectrumAnalyser analyser;
    std::array<float, kN> silence{};
    std::array<float, 257> bins;
    bins.fill(7.0f);
    analyser.analyse(silence.data(), silence.data(), bins.data());
    for (const float b : bins) EXPECT_EQ(b, 0.0f);
}

using EngineSpectrumTest = OfflineEngineTest;

TEST_F(EngineSpectrumTest, WritesBinsZeroTo256AndNothingBeyondTheCallersBuffer) {
    const HMUSIC music = LoadFromMemory(MakeTestMod());
    ASSERT_NE(BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1), 0);
    Pump(8000);
    std::vector<float> buffer(513 + 64, -123.0f);
    EXPECT_EQ(BASS_ChannelGetData(music, buffer.data(), BASS_DATA_FFT512), 512);
    EXPECT_EQ(BASS_ErrorGetCode(), 0);
    float loudest = 0.0f;
    for (std::size_t k = 0; k < 257; ++k) {
        EXPECT_GE(buffer[k], 0.0f);
        loudest = std::max(loudest, buffer[k]);
    }
    EXPECT_GT(loudest, 0.01f);
    for (std::size_t k = 257; k < buffer.size(); ++k) EXPECT_EQ(buffer[k], -123.0f) << k;

    EXPECT_EQ(BASS_ChannelGetData(music, buffer.data(), 1024), -1) << "only the FFT request";
    EXPECT_EQ(BASS_ErrorGetCode(), 20);
}

TEST_F(EngineSpectrumTest, SilentModuleGivesZeros) {
    TestModOptions options;
    options.silent = true;
    const HMUSIC music = LoadFromMemory(MakeTestMod(options));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    Pump(5000);
    std::array<float, 513> buffer;
    buffer.fill(1.0f);
    ASSERT_GT(BASS_ChannelGetData(music, buffer.data(), BASS_DATA_FFT512), 0);
    for (std::size_t k = 0; k < 257; ++k) EXPECT_EQ(buffer[k], 0.0f);
}

// The spectrum is that of the 512 frames just before the heard position, which trails the
// mixed frames by the output's buffer.
TEST_F(EngineSpectrumTest, FollowsTheFramesHeardNotTheNewestMixed) {
    BASS_Free();
    constexpr std::size_t kLatency = 4000;
    audio::SetOfflineBufferFrames(kLatency);
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod(64, 1, 6));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1), 0);

    std::array<float, 513> buffer{};
    // Sound has been mixed, but nothing of it has reached the listener yet.
    const std::vector<float> first = Pump(3000);
    ASSERT_GT(BASS_ChannelGetData(music, buffer.data(), BASS_DATA_FFT512), 0);
    for (std::size_t k = 0; k < 257; ++k) EXPECT_EQ(buffer[k], 0.0f) << k;

    // Later, the spectrum matches that of the stereo frames heard, frame for frame.
    std::vector<float> all = first;
    const std::vector<float> more = Pump(9000, 700);
    all.insert(all.end(), more.begin(), more.end());
    auto spectrumEndingAt = [&all](std::size_t end) {
        std::array<float, kN> left{};
        std::array<float, kN> right{};
        for (std::size_t i = 0; i < kN; ++i) {
            left[i] = all[2 * (end - kN + i)];
            right[i] = all[2 * (end - kN + i) + 1];
        }
        std::vector<float> bins(257);
        audio::SpectrumAnalyser().analyse(left.data(), right.data(), bins.data());
        return bins;
    };
    const std::vector<float> expected = spectrumEndingAt(all.size() / 2 - kLatency);
    ASSERT_GT(BASS_ChannelGetData(music, buffer.data(), BASS_DATA_FFT512), 0);
    for (std::size_t k = 0; k < 257; ++k) EXPECT_FLOAT_EQ(buffer[k], expected[k]) << k;
    EXPECT_GT(*std::max_element(expected.begin(), expected.end()), 0.01f);

    // The newest frames give a different picture (the melody moved on).
    EXPECT_NE(std::vector<float>(buffer.begin(), buffer.begin() + 257),
              spectrumEndingAt(all.size() / 2));
}

TEST_F(EngineSpectrumTest, NoDataOnceTheSongHasEndedAndBeenHeard) {
    const HMUSIC music = LoadFromMemory(MakeTestMod(8, 1, 1));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    Pump(7056 + kDefaultOfflineBuffer);
    std::array<float, 513> buffer{};
    EXPECT_EQ(BASS_ChannelGetData(music, buffer.data(), BASS_DATA_FFT512), -1);
    EXPECT_EQ(BASS_ErrorGetCode(), 37);
}

}  // namespace
}  // namespace hollowtide::testing
