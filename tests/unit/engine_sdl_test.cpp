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
    void TearDown() override { ResetEngineSeams(); }
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
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_EQ(BASS_Init(-1, 44100, 0, nullptr), 0);
        EXPECT_EQ(BASS_ErrorGetCode(), 3);
    }
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0) << "a failed init leaves nothing behind";
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
