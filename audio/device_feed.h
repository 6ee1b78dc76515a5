// What a sound device is fed: the mixer's stream, mixed a few milliseconds ahead of what the
// device takes. Because the next frames are always ready, a pause fades them out instead of
// cutting the wave mid-cycle, a new mixer starts after the old one's frames have faded, and a
// resume fades in. The feed also keeps the stream's recent frames (for the spectrum, and to
// replay what a lost device swallowed) and tells which stream frame the listener hears.
//
// Stream frames are numbered from 0 for the feed's whole life, across mixers: a device that
// stays open across BASS_Free and BASS_Init keeps one feed.
//
// Thread contract: fill runs on the device thread, one call at a time, and never blocks,
// allocates or does I/O. suspend may run on the device thread too. Every other method runs on
// the UI thread, except those marked "any thread".
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "audio/mixer.h"
#include "audio/stream_history.h"
#include "audio/use_guard.h"

namespace hollowtide::audio {

class DeviceFeed {
  public:
    // 5 ms: how long a fade lasts, and so how far ahead of the device the stream is at least
    // mixed.
    static constexpr std::size_t kFadeFrames = 220;

    DeviceFeed() = default;
    DeviceFeed(const DeviceFeed&) = delete;
    DeviceFeed& operator=(const DeviceFeed&) = delete;

    // Mixing from `mixer` starts at the next fill, once whatever the previous mixer had mixed
    // ahead has faded out.
    void attach(Mixer* mixer);
    // On return the device thread no longer touches the mixer (what it mixed ahead still plays
    // out as a fade).
    void detach();

    // Pause: what was mixed ahead fades out and nothing more is mixed until start(). The heard
    // position stays at `heardNow`, the caller's reading just before.
    void pause(std::uint64_t heardNow);
    void start();
    bool paused() const { return paused_.load(); }

    // Device loss (any thread): nothing is mixed and the heard position stays at `replayFrom`.
    // resume() plays on from there: the frames the lost device swallowed are played again.
    void suspend(std::uint64_t replayFrom);
    void resume();
    bool suspended() const { return suspended_.load(); }

    // Device thread: the next `frames` interleaved stereo frames for the device. `time` is the
    // caller's clock reading (nanoseconds; 0 when the device has no clock), kept with the
    // stream position it reached for heardFrame's estimate.
    void fill(float* out, std::size_t frames, std::uint64_t time) noexcept;

    // Any thread: the end of the stream frames given so far, every frame given (silence
    // too), and the time of that fill.
    struct Given {
        std::uint64_t streamEnd = 0;
        std::uint64_t deviceEnd = 0;
        std::uint64_t time = 0;
    };
    Given lastGiven() const;

    // Any thread: the stream frame the listener hears, given the last fill (lastGiven) and how
    // many frames the device still holds ahead of the ear.
    std::uint64_t heardFrame(const Given& given, std::uint64_t framesInDevice) const;

    // Any thread: the `count` stream frames just before `end`, split into channels. Frames
    // from before the current mixer's first frame read as silence. False when the frames have
    // left the history.
    bool copyFrames(std::uint64_t end, float* left, float* right, std::size_t count) const;

    // Test seam: `hook` runs on the device thread just before each block is mixed (null: none),
    // where an engine operation arriving from another thread may fall.
    static void SetBeforeEachMix(void (*hook)()) noexcept;

  private:
    void mixAhead(Mixer& mixer, std::uint64_t target) noexcept;
    void beginFadeOut() noexcept;
    std::size_t outputTail(float* out, std::size_t frames) noexcept;
    std::size_t outputRunning(Mixer& mixer, float* out, std::size_t frames) noexcept;
    void publish(std::uint64_t time) noexcept;

    // Set by the UI thread, read by fill.
    std::atomic<Mixer*> mixer_{nullptr};
    std::atomic<std::uint64_t> generation_{0};  // counts attaches
    std::atomic<bool> paused_{false};
    std::atomic<bool> suspended_{false};
    std::atomic<bool> rewind_{false};  // resume: play again from suspendedAt_
    UseGuard inFill_;

    // Heard-position bookkeeping (any thread).
    std::atomic<std::uint64_t> pausedAt_{0};     // heard position while paused
    std::atomic<std::uint64_t> suspendedAt_{0};  // heard position while the device is lost
    std::atomic<std::uint64_t> floor_{0};        // the heard position never goes below this
    std::atomic<std::uint64_t> origin_{0};       // first frame of the current mixer
    std::atomic<std::uint32_t> sequence_{0};     // odd while fill publishes the pair below
    std::atomic<std::uint64_t> givenEnd_{0};
    std::atomic<std::uint64_t> givenDevice_{0};
    std::atomic<std::uint64_t> givenTime_{0};

    // Device thread only, but for the history's readers: the frames mixed ahead, and the
    // newest ones played, for the spectrum and for what a lost device may have swallowed (its
    // buffers and the server's).
    StreamHistory history_;
    std::uint64_t played_ = 0;  // next stream frame to hand to the device
    std::uint64_t mixed_ = 0;   // next stream frame to mix
    std::uint64_t filled_ = 0;  // frames handed to the device, silence included
    float gain_ = 1.0f;
    bool wasRunning_ = true;
    bool fading_ = false;
    std::uint64_t fadeEnd_ = 0;
    std::uint64_t seenGeneration_ = 0;
};

}  // namespace hollowtide::audio
