// Output through SDL2's audio subsystem: the default device, 44100 Hz stereo float, fed from
// SDL's callback. Unless SDL_AUDIODRIVER names a driver, SDL's PipeWire driver plays when a
// PipeWire server has a sink, else the first of SDL's drivers that starts.
//
// The device is opened once and kept for the rest of the process: BASS_Free and BASS_Init only
// detach and attach mixers. A sound server can take seconds to close a stream it has only just
// opened, and the player restarts the engine before every song.
//
// A device that is lost (the sound server went away, the card was unplugged) or that stops
// calling back for more than a second is replaced by the default device as soon as one can be
// opened, retried four times a second on a thread of its own. Meanwhile the stream waits where
// the listener stopped hearing it, and plays on from there.
//
// A device paused for longer than a song change takes is closed: a paused device still streams
// silence, which keeps its thread, the sound server and the sound card awake for nothing. The
// next start opens one again, on the same thread, and the stream plays on when it calls back.
//
// Thread contract: Acquire, Forget, maintain and the start and pause hooks run on the UI thread;
// the callback runs on SDL's audio thread; the keeper thread alone opens and closes devices once
// it exists (from the first pause or the first loss on).
#pragma once

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "audio/output.h"

namespace hollowtide::audio {

// SDL's audio subsystem, initialised for the object's lifetime. Throws EngineError(3) when no
// real driver is available: a null driver ("dummy", "disk") counts only when the environment
// variable SDL_AUDIODRIVER names it.
class SdlAudioSubsystem {
  public:
    SdlAudioSubsystem();
    ~SdlAudioSubsystem();
    SdlAudioSubsystem(const SdlAudioSubsystem&) = delete;
    SdlAudioSubsystem& operator=(const SdlAudioSubsystem&) = delete;
};

class SdlOutput : public Output {
  public:
    // Frames per device buffer (46 ms): few wake-ups of the audio thread, and the heard-frame
    // estimate keeps the display in step with the ear.
    static constexpr int kBufferFrames = 2048;
    // What the program asks a PulseAudio server (or PipeWire's) to hold for its stream, through
    // PULSE_LATENCY_MSEC, which the program sets at its start unless the user did. Left to SDL, the
    // server holds one device buffer and asks for more in quarters of it: some hundred wake-ups a
    // second of the audio thread and of the server. This much lets both sleep a good deal longer.
    // The price is latency: Stop is heard about 90-130 ms late and Next 100-130 ms (fades reach
    // only what the server does not hold yet; bench/stop_latency.sh). 80 ms brings that to about
    // 85 ms and doubles the server's wake-ups and load; 60 ms, about 70 ms.
    static constexpr int kServerBufferMs = 150;
    // How long a paused device stays open. The player pauses before every song start and starts
    // again some milliseconds later; Stop leaves it paused.
    static constexpr int kCloseAfterPauseMs = 3000;

    // The process's SDL output, opened by the first call. Throws EngineError(3) when no device
    // has ever been opened and none can be opened now. Once one was, a device that is gone for
    // the moment is no failure: the output keeps trying to bring one back.
    static SdlOutput& Acquire();
    // Test seam: closes the device and forgets that there ever was one. The engine must be
    // freed.
    static void Forget();
    // Test seam: true while the process's SDL output has a device open.
    static bool DeviceOpen();

    ~SdlOutput() override;

    DeviceFeed& feed() override { return feed_; }
    void maintain() override;

    // True while there is no device to play to: it was lost and a replacement is being sought,
    // or it was closed while paused (any thread).
    bool replacing() const { return replacing_.load(); }

  protected:
    std::uint64_t framesInDevice(const DeviceFeed::Given& given) const override;
    void afterStart() override;
    void afterPause() override;

  private:
    struct Device;

    SdlOutput();
    std::unique_ptr<Device> OpenDevice();  // throws EngineError(3)
    static void Callback(void* device, Uint8* stream, int length);
    void UpdateClock(std::uint64_t now) noexcept;
    void RequestReplacement(bool stalled);
    void StartKeeperLocked();
    void KeeperLoop();
    void ReplaceDevice(std::unique_lock<std::mutex>& lock);
    void CloseWhilePaused(std::unique_lock<std::mutex>& lock);
    // Keeper thread: retires the open device, if any, and closes it (on a thread of its own
    // when it stalled).
    void CloseDevice(bool stalled);
    void StopKeeperThread();

    // Declared first: it is shut down after every device is closed.
    SdlAudioSubsystem subsystem_;

    DeviceFeed feed_;
    std::atomic<int> bufferFrames_{kBufferFrames};  // the open device's, set before it runs
    // The listener's clock: the device frame heard at time t (in frames since the steady clock's
    // epoch) is t + clockOffset_. Each callback is one noisy reading of it, as a sound server
    // asks for frames in uneven steps; their running average is steady.
    std::atomic<double> heardOffset_{0.0};
    std::atomic<bool> clockSet_{false};
    double clockOffset_ = 0.0;       // audio thread only
    double queuedAtCallback_ = 0.0;  // frames the device holds, on average, when it calls back
    std::atomic<std::uint64_t> openedAt_{0};  // clock reading when the device opened
    std::atomic<bool> lost_{false};       // set by the callback when SDL has given the device up
    std::atomic<bool> replacing_{false};  // a replacement is being sought
    std::atomic<bool> deviceOpen_{false};

    // Owned by the UI thread until the keeper thread exists, then by that thread.
    std::unique_ptr<Device> device_;

    std::mutex mutex_;
    std::condition_variable wake_;
    // Guarded by mutex_.
    bool wanted_ = false;   // a device is to be opened, in place of the one there is, if any
    bool stalled_ = false;  // the device to replace stopped calling back
    bool pausedNow_ = false;
    std::chrono::steady_clock::time_point pausedSince_;
    bool closedForPause_ = false;  // no device, because the stream was paused a while
    bool quit_ = false;
    std::thread keeper_;
};

}  // namespace hollowtide::audio
