// What the listener hears around the output's edges: pauses and resumes that fade instead of
// clicking, a new song that starts after the old one has faded, and a lost device that plays on
// from where the listener stopped hearing it.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "allocation_watch.h"
#include "audio/bass.h"
#include "audio/device_feed.h"
#include "audio/engine_testing.h"
#include "audio/load_flags.h"
#include "audio/mixer.h"
#include "audio/module_player.h"
#include "engine_fixture.h"
#include "support/test_modules.h"

namespace hollowtide::testing {
namespace {

constexpr std::size_t kFade = audio::DeviceFeed::kFadeFrames;

// A held sine in both channels: a smooth wave, so that any cut would stand out as a step far
// larger than the wave's own.
std::vector<std::uint8_t> HeldSine() {
    TestModOptions options;
    options.wave = TestWave::Sine;
    options.sampleLength = 32;
    options.rows = 64;
    options.speed = 31;  // notes far apart: long stretches of steady tone
    return MakeTestMod(options);
}

// The largest change between neighbouring samples of one channel in frames [from, to).
float LargestStep(const std::vector<float>& stereo, std::size_t from, std::size_t to) {
    float largest = 0.0f;
    for (std::size_t frame = std::max<std::size_t>(from, 1); frame < to; ++frame) {
        for (std::size_t side = 0; side < 2; ++side) {
            largest = std::max(
                largest, std::fabs(stereo[2 * frame + side] - stereo[2 * (frame - 1) + side]));
        }
    }
    return largest;
}

float LargestValue(const std::vector<float>& stereo, std::size_t from, std::size_t to) {
    float largest = 0.0f;
    for (std::size_t i = 2 * from; i < 2 * to; ++i)
        largest = std::max(largest, std::fabs(stereo[i]));
    return largest;
}

std::vector<float> Joined(std::vector<float> a, const std::vector<float>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using EngineOutputTest = OfflineEngineTest;

TEST_F(EngineOutputTest, PauseFadesOutWithin5msAndStartFadesBackIn) {
    const HMUSIC music = LoadFromMemory(HeldSine(), 34);
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    const std::vector<float> before = Pump(3333, 517);
    const float music5ms = LargestStep(before, before.size() / 2 - kFade, before.size() / 2);
    ASSERT_GT(LargestValue(before, 3000, 3333), 0.1f) << "the tone sounds when it is cut";

    ASSERT_NE(BASS_Pause(), 0);
    const std::vector<float> paused = Pump(1000, 37);
    std::vector<float> heard = Joined(before, paused);
    EXPECT_LE(LargestStep(heard, 3333 - kFade, 3333 + 1000), music5ms) << "the cut clicks";
    EXPECT_GT(LargestValue(paused, 0, 10), 0.05f) << "the tail is heard, not dropped";
    EXPECT_EQ(LargestValue(paused, kFade, 1000), 0.0f) << "silent 5 ms after the pause";
    EXPECT_EQ(audio::PumpOffline(nullptr, 100), 0u) << "nothing is mixed while paused";

    ASSERT_NE(BASS_Start(), 0);
    const std::vector<float> resumed = Pump(2000, 129);
    heard = Joined(heard, resumed);
    const std::size_t resumeAt = 3333 + 1000 + 100;
    EXPECT_LE(LargestStep(heard, resumeAt - 10, resumeAt + kFade),
              LargestStep(heard, resumeAt + kFade, resumeAt + 2 * kFade))
        << "the resume clicks";
    EXPECT_GT(LargestValue(resumed, kFade, 2000), 0.1f) << "full level after the fade";
}

// However the device asks for frames, it gets the module's own rendering, frame for frame:
// the look-ahead, its moves within the feed and the ring lose and repeat nothing.
TEST_F(EngineOutputTest, TheStreamIsTheModulesOwnRenderingWhateverTheRequestSizes) {
    const auto bytes = MakeTestMod(8, 24, 3);
    constexpr DWORD kFlags = 16418;
    constexpr std::size_t kFrames = 60000;
    std::ostringstream log;
    openmpt::module reference(bytes.data(), bytes.data() + bytes.size(), log);
    audio::ApplyRenderSettings(reference, audio::RenderSettingsForFlags(kFlags));
    std::vector<float> expected(2 * (kFrames + audio::ModulePlayer::kBlockFrames));
    for (std::size_t done = 0; done < kFrames; done += audio::ModulePlayer::kBlockFrames) {
        ASSERT_EQ(
            reference.read_interleaved_stereo(audio::kOutputRate, audio::ModulePlayer::kBlockFrames,
                                              expected.data() + 2 * done),
            audio::ModulePlayer::kBlockFrames);
    }

    const HMUSIC music = LoadFromMemory(bytes, kFlags);
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    std::vector<float> heard;
    for (std::size_t step : {1u, 7u, 220u, 333u, 512u, 1023u, 2048u, 4100u, 90u}) {
        heard = Joined(heard, Pump(5 * step + 3, step));
    }
    heard = Joined(heard, Pump(kFrames - heard.size() / 2, 777));
    ASSERT_EQ(heard.size(), 2 * kFrames);
    std::size_t firstDifference = kFrames;
    for (std::size_t frame = 0; frame < kFrames && firstDifference == kFrames; ++frame) {
        if (heard[2 * frame] != expected[2 * frame] ||
            heard[2 * frame + 1] != expected[2 * frame + 1])
            firstDifference = frame;
    }
    EXPECT_EQ(firstDifference, kFrames) << "the stream departs from the module's rendering";
    EXPECT_GT(LargestValue(heard, 0, kFrames), 0.1f) << "the module is heard at all";
}

// The start of a module as libopenmpt itself renders it, to find song starts by in a stream.
struct SongStart {
    // A restart ramps down what was sounding where the song stood, so its first milliseconds
    // may differ from a fresh module's; from then on it is frame for frame the same. A start
    // mixed ahead and thrown away would lose a whole block.
    static constexpr std::size_t kRamp = 1024;
    static constexpr std::size_t kFrames = 3 * audio::ModulePlayer::kBlockFrames;
    static_assert(kRamp < audio::ModulePlayer::kBlockFrames);

    SongStart(const std::vector<std::uint8_t>& bytes, DWORD flags) : frames(2 * kFrames) {
        std::ostringstream log;
        openmpt::module reference(bytes.data(), bytes.data() + bytes.size(), log);
        audio::ApplyRenderSettings(reference, audio::RenderSettingsForFlags(flags));
        for (std::size_t done = 0; done < kFrames; done += audio::ModulePlayer::kBlockFrames) {
            reference.read_interleaved_stereo(audio::kOutputRate, audio::ModulePlayer::kBlockFrames,
                                              frames.data() + 2 * done);
        }
        mark = kRamp;  // a frame that stands out
        while (mark < kFrames && std::fabs(frames[2 * mark]) < 0.01f) ++mark;
    }

    // Whether the song starts, as rendered, at a frame of `heard` in [from, to).
    bool FoundIn(const std::vector<float>& heard, std::size_t from, std::size_t to) const {
        for (std::size_t start = from; start < to && 2 * (start + kFrames) <= heard.size();
             ++start) {
            if (heard[2 * (start + mark)] != frames[2 * mark]) continue;
            if (std::equal(frames.begin() + 2 * kRamp, frames.end(),
                           heard.begin() + 2 * (start + kRamp)))
                return true;
        }
        return false;
    }

    std::vector<float> frames;
    std::size_t mark = 0;
};

// Small requests, and now and then one that takes several mixes in one fill.
constexpr std::array<std::size_t, 8> kRestartSteps = {64, 17, 333, 1, 2048, 129, 6150, 512};
constexpr std::size_t kLargestRestartStep = 6150;

// A restart can fall anywhere in the device thread's fill. Wherever it falls, the song then
// starts at its first frame, as the module itself renders it.
TEST_F(EngineOutputTest, ASongRestartedWhileTheDeviceFillsStartsAtItsFirstFrame) {
    const auto bytes = MakeTestMod(8, 24, 3);
    const SongStart song(bytes, 34);
    ASSERT_LT(song.mark, SongStart::kRamp + 500) << "the module sounds from its start";
    const HMUSIC music = LoadFromMemory(bytes, 34);
    constexpr std::size_t kRestarts = 100;
    constexpr std::size_t kLead = 3001;  // the restart falls at most this far into a stretch
    constexpr std::size_t kAfterRestart = SongStart::kFrames + 2 * kLargestRestartStep;
    constexpr std::size_t kCapacity = kRestarts * (kLead + 2 * kAfterRestart + kLargestRestartStep);
    std::vector<float> heard(2 * kCapacity);
    // The device pumps up to `allowed` and waits there, so every restart meets it mid-stream.
    std::atomic<std::size_t> pumped{0};
    std::atomic<std::size_t> allowed{0};
    std::atomic<bool> done{false};
    std::thread device([&] {
        std::size_t at = 0;
        for (std::size_t i = 0; !done.load();) {
            const std::size_t step = kRestartSteps[i % kRestartSteps.size()];
            if (at + step > allowed.load() || at + step > kCapacity) {
                std::this_thread::yield();
                continue;
            }
            audio::PumpOffline(heard.data() + 2 * at, step);
            at += step;
            ++i;
            pumped.store(at);
        }
    });
    struct Window {
        std::size_t from, to;  // the song's first frame lies in [from, to)
    };
    std::vector<Window> windows;
    const auto waitFor = [&](std::size_t frames) {
        while (pumped.load() + kLargestRestartStep < std::min(frames, kCapacity)) {
            std::this_thread::yield();
        }
    };
    for (std::size_t r = 0; r < kRestarts; ++r) {
        const std::size_t stretch = pumped.load();
        allowed.store(stretch + kLead + kAfterRestart);
        waitFor(stretch + (r * 7919) % kLead);  // a different phase of the fills each time
        const std::size_t before = pumped.load();
        ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
        const std::size_t after = pumped.load();
        windows.push_back({before, after + kLargestRestartStep + 1});
        allowed.store(std::max(allowed.load(), after + kAfterRestart));
        waitFor(allowed.load());
    }
    done.store(true);
    device.join();

    std::size_t lost = 0;
    for (const Window& window : windows)
        lost += song.FoundIn(heard, window.from, window.to) ? 0 : 1;
    EXPECT_EQ(lost, 0u) << "of " << kRestarts << " restarts, these did not start at the song's "
                        << "first frame";
}

// The one place where a fill could get it wrong, hit every time: a restart that lands after
// the fill has set out and just before it mixes a block.
HMUSIC hookMusic = 0;
int hookCountdown = 0;
int hookRestarts = 0;
void RestartEveryFewMixes() {
    if (--hookCountdown > 0) return;
    ++hookRestarts;
    hookCountdown = 2 + hookRestarts % 5;
    BASS_MusicPlayEx(hookMusic, 0, 0, 1);
}

TEST_F(EngineOutputTest, ASongRestartedJustBeforeABlockIsMixedStartsAtItsFirstFrame) {
    const auto bytes = MakeTestMod(8, 24, 3);
    const SongStart song(bytes, 34);
    hookMusic = LoadFromMemory(bytes, 34);
    ASSERT_NE(BASS_MusicPlayEx(hookMusic, 0, 0, 1), 0);
    Pump(10000, 512);
    hookCountdown = 1;
    hookRestarts = 0;
    constexpr std::size_t kCapacity = 2000000;
    std::vector<float> heard(2 * kCapacity);
    std::vector<std::pair<std::size_t, std::size_t>> windows;
    audio::SetBeforeEachMix(RestartEveryFewMixes);
    std::size_t at = 0;
    for (std::size_t i = 0; at + kLargestRestartStep <= kCapacity; ++i) {
        const std::size_t step = kRestartSteps[i % kRestartSteps.size()];
        const int restartsBefore = hookRestarts;
        audio::PumpOffline(heard.data() + 2 * at, step);
        // The song starts in this fill or at the start of the next.
        if (hookRestarts != restartsBefore) windows.emplace_back(at, at + step + 1);
        at += step;
    }
    audio::SetBeforeEachMix(nullptr);
    ASSERT_GT(windows.size(), 50u);

    std::size_t lost = 0;
    std::size_t compared = 0;
    // Only songs that play long enough before the next restart can be compared.
    for (std::size_t w = 0; w + 1 < windows.size(); ++w) {
        if (windows[w + 1].first < windows[w].second + SongStart::kFrames) continue;
        ++compared;
        lost += song.FoundIn(heard, windows[w].first, windows[w].second) ? 0 : 1;
    }
    ASSERT_GT(compared, 20u);
    EXPECT_EQ(lost, 0u) << "of " << compared;
}

TEST_F(EngineOutputTest, PausedTailDoesNotCountAsHeardAndPlayOnGoesOnFromThere) {
    const HMUSIC music = LoadFromMemory(MakeTestMod());
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    Pump(5000);
    const std::uint64_t played = audio::PlayedFrames(music);
    EXPECT_EQ(played, 5000 - kDefaultOfflineBuffer);
    ASSERT_NE(BASS_Pause(), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PAUSED);
    Pump(3000);
    EXPECT_EQ(audio::PlayedFrames(music), played) << "the position holds while paused";
    ASSERT_NE(BASS_Start(), 0);
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    Pump(1000);
    // The faded tail was heard, then the stream went on where the tail ended.
    EXPECT_EQ(audio::PlayedFrames(music), played + kFade + 1000);
}

// The player changes songs by pausing, freeing the engine and starting again, all between two
// device buffers. The device then still holds the old song's last mixed frames.
TEST(DeviceFeedTest, ANewMixerStartsOnlyOnceTheOldOnesFramesHaveFadedOut) {
    const auto song = HeldSine();
    audio::DeviceFeed feed;
    std::vector<float> heard;
    auto fill = [&](std::size_t frames) {
        std::vector<float> out(2 * frames);
        feed.fill(out.data(), frames, 0);
        heard.insert(heard.end(), out.begin(), out.end());
    };
    auto first = std::make_unique<audio::Mixer>();
    audio::ModulePlayer one(song, 34);
    one.restart(false);
    first->attach(&one);
    feed.attach(first.get());
    fill(3000);
    feed.pause(0);
    feed.detach();
    first.reset();  // freed before the device asked for anything more

    audio::Mixer second;
    audio::ModulePlayer two(song, 34);
    two.restart(false);
    second.attach(&two);
    feed.attach(&second);
    feed.start();
    fill(4000);

    const float music5ms = LargestStep(heard, 3000 - kFade, 3000);
    EXPECT_LE(LargestStep(heard, 3000 - kFade, 3000 + 3 * kFade), music5ms);
    // The new song's first frame comes right after the old one's fading tail.
    EXPECT_GT(LargestValue(heard, 3000, 3010), 0.05f);
    EXPECT_EQ(two.startFrame(), 3000 + kFade);
    EXPECT_GT(LargestValue(heard, 3000 + 2 * kFade, 7000), 0.1f);
}

// The heard position is read on the UI thread while the device thread fills: a reader must
// never see one fill's stream position with another fill's frame count or time.
TEST(DeviceFeedTest, WhatAFillPublishesIsNeverReadTornWhileTheNextOneWrites) {
    const auto song = HeldSine();
    audio::DeviceFeed feed;
    audio::Mixer mixer;
    audio::ModulePlayer player(song, 34);
    player.restart(true);
    mixer.attach(&player);
    feed.attach(&mixer);
    std::atomic<bool> done{false};
    std::thread device([&] {
        std::array<float, 2 * 3> out{};
        // Each fill hands 1 to 3 frames and stamps its time with the frame count reached.
        for (std::uint64_t filled = 0; filled < 200000;) {
            const std::size_t frames = 1 + filled % 3;
            filled += frames;
            feed.fill(out.data(), frames, filled);
        }
        done.store(true);
    });
    std::uint64_t reads = 0;
    std::uint64_t torn = 0;
    std::uint64_t last = 0;
    while (!done.load()) {
        const audio::DeviceFeed::Given given = feed.lastGiven();
        if (given.streamEnd != given.deviceEnd || given.time != given.deviceEnd ||
            given.time < last)
            ++torn;
        last = given.time;
        ++reads;
    }
    device.join();
    EXPECT_EQ(torn, 0u) << "of " << reads << " reads";
    EXPECT_EQ(feed.lastGiven().time, feed.lastGiven().deviceEnd);
}

// The device goes away mid-song (a sound server killed) and comes back: the song waits, then
// goes on from the frame the listener last heard, so nothing of it is lost.
TEST_F(EngineOutputTest, LostDeviceResumesFromWhereTheListenerStoppedHearing) {
    const auto song = MakeTestMod(64, 2, 6);
    // The same song heard without interruption.
    const HMUSIC reference = LoadFromMemory(song, 34);
    ASSERT_NE(BASS_MusicPlayEx(reference, 0, 0, 1), 0);
    const std::vector<float> whole = Pump(40000, 500);
    ResetEngineSeams();
    audio::SetOutputKind(audio::OutputKind::Offline);
    ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);

    const HMUSIC music = LoadFromMemory(song, 34);
    ASSERT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0);
    const std::vector<float> beforeLoss = Pump(15000, 500);
    audio::InjectFailures({.deviceLost = true});
    for (int poll = 0; poll < 100; ++poll) {
        EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING) << "the song waits";
        EXPECT_EQ(audio::PumpOffline(nullptr, 441), 0u);
    }
    EXPECT_EQ(audio::PlayedFrames(music), 15000 - kDefaultOfflineBuffer);
    std::array<float, 513> spectrum{};
    EXPECT_EQ(BASS_ChannelGetData(music, spectrum.data(), BASS_DATA_FFT512), 512);

    audio::InjectFailures({});
    EXPECT_EQ(BASS_ChannelIsActive(music), BASS_ACTIVE_PLAYING);
    const std::vector<float> afterReturn = Pump(20000, 500);
    // What the listener heard: the frames the lost device had played, then the rest. The first
    // frames after the return fade in.
    const std::size_t heardBefore = 15000 - kDefaultOfflineBuffer;
    const std::vector<float> expected(whole.begin() + 2 * heardBefore, whole.end());
    ASSERT_GE(afterReturn.size(), 2 * 20000u);
    for (std::size_t i = 2 * kFade; i < 2 * 20000; ++i) {
        ASSERT_EQ(afterReturn[i], expected[i]) << "sample " << i;
    }
    EXPECT_EQ(std::vector<float>(beforeLoss.begin(), beforeLoss.begin() + 2 * heardBefore),
              std::vector<float>(whole.begin(), whole.begin() + 2 * heardBefore));
    EXPECT_EQ(audio::PlayedFrames(music), heardBefore + 20000 - kDefaultOfflineBuffer);
}

TEST_F(EngineOutputTest, FilesLargerThanAnyModuleAreRefusedUnread) {
    TempDir dir;
    const auto path = dir / "huge.mod";
    {
        // Sparse: 65 MiB on paper, nothing on disk; a real module at its start.
        WriteFile(path, MakeTestMod());
        std::filesystem::resize_file(path, (64u << 20) + 1);
    }
    {
        LargestAllocationWatch watch;
        EXPECT_EQ(BASS_MusicLoad(0, path.c_str(), 0, 0, 34), 0u);
        EXPECT_EQ(BASS_ErrorGetCode(), 2);
        EXPECT_LT(watch.largest(), 1u << 20) << "the file was read before it was refused";
    }
    std::filesystem::resize_file(path, 64u << 20);
    LargestAllocationWatch watch;
    EXPECT_NE(BASS_MusicLoad(0, path.c_str(), 0, 0, 34), 0u) << "64 MiB itself is accepted";
    EXPECT_GE(watch.largest(), 64u << 20) << "the watch sees the file being read";
}

}  // namespace
}  // namespace hollowtide::testing
