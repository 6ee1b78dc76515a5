// Playback through the offline output: song ends, loops, restarts, and rendering that does not
// depend on how the output is pumped.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "engine_fixture.h"
#include "support/test_modules.h"

namespace hollowtide::testing {
namespace {

// 8 rows at speed 1, tempo 125: 8 * 0.02 s = 0.16 s = 7056 frames.
constexpr std::size_t kShortSongFrames = 7056;

using EnginePlaybackTest = OfflineEngineTest;

double Energy(const std::vector<float>& samples) {
    double sum = 0.0;
    for (const float s : samples) sum += static_cast<double>(s) * s;
    return sum;
}

TEST_F(EnginePlaybackTest, OncePlayedSongEndsWhenTheListenerHasHeardItsLastFrame) {
    const HMUSIC music = LoadFromMemory(MakeTestMod(8, 1, 1));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);

    // All of the song is mixed, but the last 1024 frames are still in the pretend buffer.
    Pump(kShortSongFrames + 500);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(audio::PlayedFrames(music), kShortSongFrames + 500 - kDefaultOfflineBuffer);

    Pump(kDefaultOfflineBuffer);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ErrorGetCode(), 0);
    EXPECT_EQ(audio::PlayedFrames(music), kShortSongFrames);

    // After its end the channel is silent.
    EXPECT_EQ(Energy(Pump(2000)), 0.0);
}

TEST_F(EnginePlaybackTest, LoopFlagKeepsTheSongGoingPastItsEnd) {
    const HMUSIC music = LoadFromMemory(MakeTestMod(8, 1, 1));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1), 0);
    Pump(10 * kShortSongFrames);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    EXPECT_GT(Energy(Pump(kShortSongFrames)), 0.0);

    // Without a reset, a module playing once carries on from where it is and takes the flag.
    const HMUSIC once = LoadFromMemory(MakeTestMod(8, 1, 1));
    ASSERT_NE(BASS_MusicPlayEx(once, 0, 0, 1), 0);
    Pump(3000);
    ASSERT_NE(BASS_MusicPlayEx(once, 0, BASS_MUSIC_LOOP, 0), 0);
    Pump(10 * kShortSongFrames);
    EXPECT_EQ(BASS_ChannelIsActive(once), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(audio::PlayedFrames(once), 3000 + 10 * kShortSongFrames - kDefaultOfflineBuffer);
}

TEST_F(EnginePlaybackTest, PlayWithResetRestartsFromTheTopEvenAfterTheEnd) {
    const auto mod = MakeTestMod(16, 1, 1);
    const HMUSIC music = LoadFromMemory(mod);
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    const std::vector<float> first = Pump(8000);

    // Mid-song restart.
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_EQ(Pump(8000), first);

    // Restart after the song has ended and been heard.
    Pump(3 * kShortSongFrames + kDefaultOfflineBuffer);
    ASSERT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_STOPPED);
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(Pump(8000), first);
}

TEST_F(EnginePlaybackTest, OutputIsIdenticalWhateverThePumpSize) {
    const auto mod = MakeTestMod(16, 2, 2);
    constexpr std::size_t kFrames = 30000;
    std::vector<float> reference;
    for (const std::size_t step : {4096u, 11u, 17u, 512u, 1023u, 1025u, 3001u}) {
        ResetEngineSeams();
        audio::SetOutputKind(audio::OutputKind::Offline);
        ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
        ASSERT_NE(BASS_MusicPlayEx(LoadFromMemory(mod, 34), 0, 0, 1), 0);
        const std::vector<float> out = Pump(kFrames, step);
        if (reference.empty()) {
            reference = out;
            ASSERT_GT(Energy(reference), 0.0);
        } else {
            EXPECT_EQ(out, reference) << "pump size " << step;
        }
    }
}

TEST_F(EnginePlaybackTest, EachLoadFlagChangesWhatIsHeard) {
    // Notes start every 4 rows, so ramping shows; the square wave is resampled, so the
    // interpolation filters show; channels 0 and 1 are panned apart.
    const auto mod = MakeTestMod(16, 1, 2);
    auto render = [&](DWORD flags) {
        const HMUSIC music = LoadFromMemory(mod, flags);
        EXPECT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
        std::vector<float> out = Pump(20000);
        BASS_StreamFree(music);
        return out;
    };
    const std::vector<float> plain = render(0);
    ASSERT_GT(Energy(plain), 0.0);
    for (const DWORD flags : {BASS_MUSIC_RAMP, BASS_MUSIC_RAMPS, BASS_MUSIC_FT2MOD,
                              BASS_MUSIC_PT1MOD, BASS_MUSIC_NONINTER}) {
        EXPECT_NE(render(flags), plain) << "flag " << flags;
    }
    EXPECT_NE(render(BASS_MUSIC_RAMP), render(BASS_MUSIC_RAMPS));
    // The song table's combinations differ from their parts.
    EXPECT_NE(render(BASS_MUSIC_PT1MOD | BASS_MUSIC_NONINTER), render(BASS_MUSIC_PT1MOD));
    EXPECT_EQ(render(34), render(34)) << "rendering is deterministic";
}

TEST_F(EnginePlaybackTest, FullStereoSeparationKeepsHardPannedChannelsApart) {
    const auto mod = MakeTestMod(16, 1, 2);
    auto sideEnergy = [&](DWORD flags) {
        const HMUSIC music = LoadFromMemory(mod, flags);
        EXPECT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
        const std::vector<float> out = Pump(20000);
        BASS_StreamFree(music);
        double side = 0.0;
        for (std::size_t i = 0; i < out.size(); i += 2) side += std::abs(out[i] - out[i + 1]);
        return side;
    };
    EXPECT_GT(sideEnergy(BASS_MUSIC_FT2MOD), 1.5 * sideEnergy(0));
}

TEST_F(EnginePlaybackTest, SilentModuleStillPlaysAndEnds) {
    TestModOptions options;
    options.silent = true;
    options.rows = 4;
    options.speed = 1;
    const HMUSIC music = LoadFromMemory(MakeTestMod(options));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_EQ(Energy(Pump(3528 + kDefaultOfflineBuffer)), 0.0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_STOPPED);
}

TEST_F(EnginePlaybackTest, TwoModulesMixTogether) {
    const auto mod = MakeTestMod(16, 1, 2);
    const HMUSIC a = LoadFromMemory(mod);
    ASSERT_NE(BASS_MusicPlayEx(a, 0, 0, 1), 0);
    const std::vector<float> alone = Pump(4000);
    ASSERT_NE(BASS_MusicPlayEx(a, 0, 0, 1), 0);
    const HMUSIC b = LoadFromMemory(mod);
    ASSERT_NE(BASS_MusicPlayEx(b, 0, 0, 1), 0);
    const std::vector<float> both = Pump(4000);
    for (std::size_t i = 0; i < both.size(); i += 97) EXPECT_FLOAT_EQ(both[i], 2 * alone[i]);
}

}  // namespace
}  // namespace hollowtide::testing
