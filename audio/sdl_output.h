// Output through SDL2's audio subsystem: the default device, 44100 Hz stereo float, mixing in
// SDL's callback.
#pragma once

#include <SDL2/SDL.h>

#include <atomic>
#include <cstdint>

#include "audio/mixer.h"
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

// An open audio device, closed (after its callback has returned for good) when the object goes.
class SdlAudioDevice {
  public:
    // Opens the default device paused; throws EngineError(3) on failure.
    explicit SdlAudioDevice(const SDL_AudioSpec& wanted);
    ~SdlAudioDevice();
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    SDL_AudioDeviceID id() const { return id_; }
    int bufferFrames() const { return bufferFrames_; }

  private:
    SDL_AudioDeviceID id_ = 0;
    int bufferFrames_ = 0;
};

class SdlOutput : public Output {
  public:
    // Frames per device buffer (5.8 ms). Short, because closing the device lets two buffers
    // drain and the player closes it before every song; short also keeps the latency small.
    static constexpr int kBufferFrames = 256;

    // Opens the device and starts it running. Throws EngineError(3) when it cannot.
    explicit SdlOutput(Mixer& mixer);
    ~SdlOutput() override = default;

    void start() override;
    void pause() override;
    bool paused() const override { return paused_.load(); }
    std::uint64_t heardFrame() const override;

  private:
    static void Callback(void* self, Uint8* stream, int length);
    std::uint64_t runningHeardFrame() const;

    // While paused the listener hears nothing new: the position stays where pause() found it.
    std::atomic<std::uint64_t> pausedHeard_{0};

    Mixer& mixer_;
    std::atomic<bool> paused_{false};
    UseGuard inCallback_;

    // Written by the callback, read by heardFrame: a sequence lock with atomic fields. The
    // sequence is odd while the callback updates the pair.
    std::atomic<std::uint32_t> sequence_{0};
    std::atomic<std::uint64_t> framesGiven_{0};      // total after the latest callback
    std::atomic<std::uint64_t> callbackCounter_{0};  // SDL performance counter at that callback

    // Declared last: the device closes (and its callback stops) before the members above go.
    SdlAudioSubsystem subsystem_;
    SdlAudioDevice device_;
};

}  // namespace hollowtide::audio
