// The engine's operations refuse calls made in the wrong state, with the documented codes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/mod_bass.h"
#include "engine_fixture.h"
#include "support/test_modules.h"

namespace hollowtide::testing {
namespace {

class EngineStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEngineSeams();
        audio::SetOutputKind(audio::OutputKind::Offline);
    }
    void TearDown() override { ResetEngineSeams(); }
};

TEST_F(EngineStateTest, VersionIsOnePointEightUnlessInjectedOtherwise) {
    EXPECT_EQ(BASS_GetVersion(), 0x00080001u);
    EXPECT_EQ(audio::EngineVersionText(), QString("1.8"));
    audio::InjectFailures({.wrongVersion = true});
    EXPECT_NE(audio::EngineVersionText(), QString("1.8"));
}

TEST_F(EngineStateTest, EverythingBeforeInitIsRefusedWithCode8) {
    const auto mod = MakeTestMod(4, 1, 1);
    float spectrum[513];
    EXPECT_EQ(LoadFromMemory(mod), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), 8);
    EXPECT_EQ(BASS_MusicPlayEx(1, 0, 0, 1), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 8);
    EXPECT_EQ(BASS_Start(), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 8);
    EXPECT_EQ(BASS_Pause(), 0);
    EXPECT_EQ(BASS_ChannelIsActive(1), 0u);
    EXPECT_EQ(BASS_ChannelGetData(1, spectrum, BASS_DATA_FFT512), -1);
    EXPECT_EQ(BASS_ErrorGetCode(), 8);
    BASS_StreamFree(1);
    EXPECT_EQ(BASS_ErrorGetCode(), 8);
    EXPECT_EQ(audio::PumpOffline(nullptr, 100), 0u);
}

TEST_F(EngineStateTest, InitTwiceFailsWith14AndBadArgumentsAreRefused) {
    EXPECT_EQ(BASS_Init(0, 44100, 0, nullptr), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 23);
    EXPECT_EQ(BASS_Init(-1, 22050, 0, nullptr), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 25);
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 0);
    EXPECT_EQ(BASS_Init(-1, 44100, 0, nullptr), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 14);
    // The first engine is still up.
    EXPECT_NE(LoadFromMemory(MakeTestMod(4, 1, 1)), 0u);
}

TEST_F(EngineStateTest, InjectedInitAndStartFailures) {
    audio::InjectFailures({.initFails = true});
    EXPECT_EQ(BASS_Init(-1, 44100, 0, nullptr), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 3);
    EXPECT_EQ(audio::EngineErrorText(BASS_ErrorGetCode()),
              QString("Can't Find a Free Sound Driver"));

    audio::InjectFailures({.startFails = true});
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    EXPECT_EQ(BASS_Start(), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 9);
    // Output still runs: a failed start leaves the song playable.
    const HMUSIC music = LoadFromMemory(MakeTestMod(4, 1, 1));
    EXPECT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_EQ(audio::PumpOffline(nullptr, 256), 256u);
}

TEST_F(EngineStateTest, BadAndFreedHandles) {
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    const auto mod = MakeTestMod(8, 1, 1);
    float spectrum[513];

    EXPECT_EQ(BASS_MusicPlayEx(0, 0, 0, 1), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 5);
    EXPECT_EQ(BASS_MusicPlayEx(12345, 0, 0, 1), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 5);
    EXPECT_EQ(BASS_ChannelIsActive(0), 0u);
    EXPECT_EQ(BASS_ChannelGetData(0, spectrum, BASS_DATA_FFT512), -1);
    EXPECT_EQ(BASS_ErrorGetCode(), 5);
    BASS_StreamFree(0);  // the player's first release frees "no module"
    EXPECT_EQ(BASS_ErrorGetCode(), 0);
    BASS_StreamFree(777);
    EXPECT_EQ(BASS_ErrorGetCode(), 5);

    const HMUSIC music = LoadFromMemory(mod);
    ASSERT_NE(music, 0u);
    EXPECT_EQ(BASS_ChannelIsActive(music), 0u) << "loaded but never played";
    EXPECT_EQ(BASS_ChannelGetData(music, spectrum, BASS_DATA_FFT512), -1);
    EXPECT_EQ(BASS_ErrorGetCode(), 37);
    EXPECT_EQ(BASS_MusicPlayEx(music, 3, 0, 1), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 7);
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(BASS_ChannelGetData(music, nullptr, BASS_DATA_FFT512), -1);
    EXPECT_EQ(BASS_ErrorGetCode(), 20);

    audio::PumpOffline(nullptr, 300);
    BASS_StreamFree(music);
    EXPECT_EQ(BASS_ErrorGetCode(), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), 5);
    EXPECT_EQ(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_EQ(audio::PlayedFrames(music), 0u);
    BASS_StreamFree(music);
    EXPECT_EQ(BASS_ErrorGetCode(), 5);

    // A new module never gets the freed handle back straight away.
    const HMUSIC next = LoadFromMemory(mod);
    EXPECT_NE(next, 0u);
    EXPECT_NE(next, music);
}

TEST_F(EngineStateTest, FreeIsSafeAtAnyMomentAndDropsEveryModule) {
    BASS_Free();
    BASS_Free();
    EXPECT_EQ(BASS_ErrorGetCode(), 0);
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod());
    ASSERT_NE(BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1), 0);
    audio::PumpOffline(nullptr, 4096);
    BASS_Free();  // while playing, without pause or StreamFree
    BASS_Free();
    EXPECT_EQ(audio::PumpOffline(nullptr, 64), 0u);
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), 5);
}

TEST_F(EngineStateTest, FreeWhilePumpingOnAnotherThread) {
    const auto mod = MakeTestMod();
    for (int round = 0; round < 20; ++round) {
        ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
        ASSERT_NE(BASS_MusicPlayEx(LoadFromMemory(mod), 0, BASS_MUSIC_LOOP, 1), 0);
        std::atomic<bool> stop{false};
        std::thread device([&] {
            std::vector<float> out(2 * 333);
            while (!stop.load()) audio::PumpOffline(out.data(), 333);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        BASS_Free();
        stop.store(true);
        device.join();
    }
}

TEST_F(EngineStateTest, PauseStopsOutputAtOnceAndReportsPausedChannel) {
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod());
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    audio::PumpOffline(nullptr, 5000);
    const auto played = audio::PlayedFrames(music);
    ASSERT_NE(BASS_Pause(), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PAUSED);
    // Within 5 ms the output has faded to silence, and nothing more is mixed.
    EXPECT_EQ(audio::PumpOffline(nullptr, 220), 0u);
    std::vector<float> out(2 * 100, 1.0f);
    EXPECT_EQ(audio::PumpOffline(out.data(), 100), 0u);
    EXPECT_EQ(out, std::vector<float>(2 * 100, 0.0f));
    EXPECT_EQ(audio::PlayedFrames(music), played);
    ASSERT_NE(BASS_Start(), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(audio::PumpOffline(nullptr, 100), 100u);
    EXPECT_GT(audio::PlayedFrames(music), played);
}

}  // namespace
}  // namespace hollowtide::testing
