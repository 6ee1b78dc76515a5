// The SDL output (run with SDL_AUDIODRIVER=dummy) and the engine's release of everything it
// takes, over many restart cycles.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "engine_fixture.h"
#include "support/test_modules.h"

namespace hollowtide::testing {
namespace {

// Sets an environment variable for the object's lifetime.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }

  private:
    std::string name_;
    std::optional<std::string> old_;
};

std::size_t CountEntries(const char* folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

class EngineSdlTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetEngineSeams(); }
    void TearDown() override {
        ResetEngineSeams();
        audio::ForgetOutputDevice();
    }
};

TEST_F(EngineSdlTest, PlaysThroughTheDummyDriverUntilTheSongEnds) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0) << BASS_ErrorGetCode();
    ASSERT_NE(BASS_Start(), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod(8, 1, 1));  // 0.16 s
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    EXPECT_NE(BASS_ChannelIsActive(music), 0u);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (BASS_ChannelIsActive(music) != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(BASS_ChannelIsActive(music), 0u);
    EXPECT_GE(audio::PlayedFrames(music), 7000u);
    ASSERT_NE(BASS_Pause(), 0);
    BASS_StreamFree(music);
    BASS_Free();
}

TEST_F(EngineSdlTest, PauseHoldsTheSongAndFreeWorksWhilePlaying) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod(64, 1, 1));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    ASSERT_NE(BASS_Pause(), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PAUSED);
    const auto held = audio::PlayedFrames(music);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(audio::PlayedFrames(music), held);
    ASSERT_NE(BASS_Start(), 0);
    std::array<float, 513> buffer{};
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(BASS_ChannelGetData(music, buffer.data(), BASS_DATA_FFT512), 512);
    BASS_Free();  // while the callback runs
    EXPECT_EQ(BASS_ChannelIsActive(music), 0u);
}

TEST_F(EngineSdlTest, NoUsableDriverGivesCode3) {
    audio::ForgetOutputDevice();
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_EQ(BASS_Init(-1, 44100, 0, nullptr), 0);
        EXPECT_EQ(BASS_ErrorGetCode(), 3);
    }
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0) << "a failed init leaves nothing behind";
}

// Asks whether `music` is active every 10 ms for `seconds`, as the player's poll does.
void PollFor(HMUSIC music, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        BASS_ChannelIsActive(music);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Waits up to `seconds` for `done`, checking every 10 ms.
template <typename Condition>
bool PollUntil(Condition done, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A sound server that goes away mid-song and comes back: the song waits, silent but active, and
// goes on from where it was once a device can be had again.
TEST_F(EngineSdlTest, ALostDeviceIsReplacedAndTheSongGoesOnFromWhereItStopped) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod(64, 4, 6));  // 31 s
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    ASSERT_TRUE(PollUntil([&] { return audio::PlayedFrames(music) > 5000; }, 5));

    audio::InjectFailures({.deviceLost = true});
    PollFor(music, 0.2);
    const auto held = audio::PlayedFrames(music);
    PollFor(music, 1.2);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING) << "no racing through the pack";
    EXPECT_EQ(audio::PlayedFrames(music), held) << "nothing plays into the void";

    audio::InjectFailures({});
    EXPECT_TRUE(PollUntil(
        [&] {
            return BASS_ChannelIsActive(music) == BASS_ACTIVE_PLAYING &&
                   audio::PlayedFrames(music) > held + 4410;
        },
        3))
        << "a device opens again within a quarter of a second";
    EXPECT_LT(audio::PlayedFrames(music), held + 3 * 44100u) << "it goes on from where it was";
    BASS_Free();
}

// Once a device has been opened, a song start while it is gone does not end the program: the
// engine comes up on an output that keeps trying.
TEST_F(EngineSdlTest, InitSucceedsWhileAOnceOpenedDeviceIsGone) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    BASS_Free();
    audio::InjectFailures({.deviceLost = true});
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0) << BASS_ErrorGetCode();
    ASSERT_NE(BASS_Start(), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod(64, 1, 6));
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    PollFor(music, 0.5);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(audio::PlayedFrames(music), 0u);
    audio::InjectFailures({});
    EXPECT_TRUE(PollUntil([&] { return audio::PlayedFrames(music) > 4410; }, 3));
    BASS_Free();

    // At start-up, with no device ever opened, there is nothing to wait for.
    audio::ForgetOutputDevice();
    audio::InjectFailures({.deviceLost = true});
    EXPECT_EQ(BASS_Init(-1, 44100, 0, nullptr), 0);
    EXPECT_EQ(BASS_ErrorGetCode(), 3);
}

// The player tears the engine down and brings it up again for every song.
void RestartCycles(int cycles, const std::string& path) {
    HMUSIC music = 0;
    for (int i = 0; i < cycles; ++i) {
        BASS_Pause();
        BASS_StreamFree(music);
        BASS_Free();
        ASSERT_EQ(BASS_GetVersion(), 0x00080001u);
        ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0) << "cycle " << i;
        ASSERT_NE(BASS_Start(), 0);
        music = BASS_MusicLoad(0, path.c_str(), 0, 0, 16418);
        ASSERT_NE(music, 0u);
        ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
        audio::PumpOffline(nullptr, 512);
    }
    BASS_Pause();
    BASS_StreamFree(music);
    BASS_Free();
}

TEST_F(EngineSdlTest, ThousandRestartCyclesLeakNoFilesOrThreads) {
    TempDir dir;
    WriteFile(dir / "data" / "song.mod", MakeTestMod());
    const std::string path = (dir / "data" / "song.mod").string();
    audio::SetOutputKind(audio::OutputKind::Offline);
    RestartCycles(5, path);  // let one-time set-up happen first
    const std::size_t fds = CountEntries("/proc/self/fd");
    const std::size_t threads = CountEntries("/proc/self/task");
    RestartCycles(1000, path);
    EXPECT_EQ(CountEntries("/proc/self/fd"), fds);
    EXPECT_EQ(CountEntries("/proc/self/task"), threads);

    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    audio::SetOutputKind(audio::OutputKind::Sdl);
    RestartCycles(3, path);
    const std::size_t sdlFds = CountEntries("/proc/self/fd");
    const std::size_t sdlThreads = CountEntries("/proc/self/task");
    RestartCycles(100, path);
    EXPECT_EQ(CountEntries("/proc/self/fd"), sdlFds);
    EXPECT_EQ(CountEntries("/proc/self/task"), sdlThreads);
}

}  // namespace
}  // namespace hollowtide::testing
