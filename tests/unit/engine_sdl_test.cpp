// The SDL output (run with SDL_AUDIODRIVER=dummy) and the engine's release of everything it
// takes, over many restart cycles.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// Declared here rather than through <sanitizer/allocator_interface.h>: GCC's runtime exports the
// call, but Debian ships that header only with clang's runtime package.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/sdl_output.h"
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

TEST_F(EngineSdlTest, TryingPipeWireFirstLeavesTheUsersLaterChoiceAlone) {
    audio::ForgetOutputDevice();
    {
        // No driver named: the engine tries SDL's PipeWire driver first, on a machine with no
        // sound server at all (no PipeWire socket, no PulseAudio to reach or spawn).
        const TempDir runtime;
        ScopedEnv folder("XDG_RUNTIME_DIR", runtime.path().c_str());
        ScopedEnv pulse("PULSE_SERVER", "unix:/nonexistent/native");
        ScopedEnv driver("SDL_AUDIODRIVER", "");
        BASS_Init(-1, 44100, 0, nullptr);  // whether some other driver opens depends on the host
        BASS_Free();
        audio::ForgetOutputDevice();
    }
    // The try must not outlive itself: the user's driver is the one that plays from now on.
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0) << BASS_ErrorGetCode();
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

// Stopped, the output lets its device go instead of streaming silence; the pause before each
// song start is too short for that, and a start after a long stop plays on where it was.
TEST_F(EngineSdlTest, ADevicePausedForAWhileClosesAndTheNextStartPlaysOn) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    const HMUSIC music = LoadFromMemory(MakeTestMod(64, 4, 6));  // 31 s
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    ASSERT_TRUE(PollUntil([&] { return audio::PlayedFrames(music) > 5000; }, 5));

    constexpr double kCloseAfter = audio::SdlOutput::kCloseAfterPauseMs / 1000.0;
    for (int start = 0; start < 3; ++start) {  // as a few quick song starts do
        ASSERT_NE(BASS_Pause(), 0);
        PollFor(music, 0.05);
        ASSERT_NE(BASS_Start(), 0);
        PollFor(music, kCloseAfter / 3);
    }
    EXPECT_TRUE(audio::OutputDeviceOpen()) << "the pauses were too short to close the device";

    ASSERT_NE(BASS_Pause(), 0);
    PollFor(music, 0.1);
    const auto held = audio::PlayedFrames(music);
    EXPECT_TRUE(PollUntil([] { return !audio::OutputDeviceOpen(); }, kCloseAfter + 5));
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PAUSED);
    EXPECT_EQ(audio::PlayedFrames(music), held);

    ASSERT_NE(BASS_Start(), 0);
    EXPECT_TRUE(PollUntil([&] { return audio::PlayedFrames(music) > held + 4410; }, 3))
        << "a device opens again and the song goes on";
    EXPECT_TRUE(audio::OutputDeviceOpen());
    EXPECT_LT(audio::PlayedFrames(music), held + 3 * 44100u) << "from where it was";

    // Closed again, then the player's whole song start: pause, free, init, start, play.
    ASSERT_NE(BASS_Pause(), 0);
    EXPECT_TRUE(PollUntil([] { return !audio::OutputDeviceOpen(); }, kCloseAfter + 5));
    ASSERT_NE(BASS_Pause(), 0);
    BASS_StreamFree(music);
    BASS_Free();
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    ASSERT_NE(BASS_Start(), 0);
    const HMUSIC next = LoadFromMemory(MakeTestMod(64, 1, 6));
    ASSERT_NE(BASS_MusicPlayEx(next, 0, 0, 1), 0);
    EXPECT_TRUE(PollUntil([&] { return audio::PlayedFrames(next) > 4410; }, 3));
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

// The player tears the engine down and brings it up again for every song; `playFor` of the
// song is heard before the next start.
void RestartCycles(int cycles, const std::string& path,
                   std::chrono::microseconds playFor = std::chrono::microseconds(0)) {
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
        if (playFor.count() > 0) {
            std::this_thread::sleep_for(playFor);
            BASS_ChannelIsActive(music);
        }
    }
    BASS_Pause();
    BASS_StreamFree(music);
    BASS_Free();
}

// What the process holds: open files, threads, and the heap's live bytes (resident memory too,
// for the record; under AddressSanitizer its quarantine makes that grow on its own).
struct Holdings {
    std::size_t files = 0;
    std::size_t threads = 0;
    std::size_t heapBytes = 0;
    std::size_t residentKb = 0;
};

Holdings Now() {
    Holdings now;
    now.files = CountEntries("/proc/self/fd");
    now.threads = CountEntries("/proc/self/task");
#if defined(__SANITIZE_ADDRESS__)
    now.heapBytes = __sanitizer_get_current_allocated_bytes();
#else
    now.heapBytes = mallinfo2().uordblks;
#endif
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) now.residentKb = std::stoul(line.substr(6));
    }
    return now;
}

TEST_F(EngineSdlTest, ThousandSongStartsLeakNoFilesThreadsOrMemory) {
    TempDir dir;
    WriteFile(dir / "data" / "song.mod", MakeTestMod());
    const std::string path = (dir / "data" / "song.mod").string();
    for (const auto kind : {audio::OutputKind::Offline, audio::OutputKind::Sdl}) {
        ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
        audio::SetOutputKind(kind);
        RestartCycles(20, path);  // let one-time set-up happen first
        const Holdings before = Now();
        // Through SDL, each song plays for a moment, as the player's songs do.
        RestartCycles(1000, path,
                      std::chrono::microseconds(kind == audio::OutputKind::Sdl ? 500 : 0));
        const Holdings after = Now();
        const char* output = kind == audio::OutputKind::Sdl ? "SDL" : "offline";
        EXPECT_EQ(after.files, before.files) << output;
        EXPECT_EQ(after.threads, before.threads) << output;
        // A leak of even a few bytes a cycle would show as kilobytes over a thousand cycles.
        EXPECT_LT(after.heapBytes, before.heapBytes + 64 * 1024)
            << output << ": " << before.heapBytes << " -> " << after.heapBytes << " bytes";
        RecordProperty(std::string(output) + "_resident_kb_before",
                       std::to_string(before.residentKb));
        RecordProperty(std::string(output) + "_resident_kb_after",
                       std::to_string(after.residentKb));
    }
}

}  // namespace
}  // namespace hollowtide::testing
