// An output with no device: whoever calls pump plays the device's role. It pretends to buffer a
// fixed number of frames, so the listener hears frame (pumped - buffered).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "audio/mixer.h"
#include "audio/output.h"

namespace hollowtide::audio {

class OfflineOutput : public Output {
  public:
    OfflineOutput(Mixer& mixer, std::size_t bufferFrames);

    void start() override { paused_.store(false); }
    void pause() override;
    bool paused() const override { return paused_.load(); }
    std::uint64_t heardFrame() const override;

    // Mixes `frames` frames into `out` (may be null). While paused nothing is mixed, `out` is
    // filled with silence and 0 is returned.
    std::size_t pump(float* out, std::size_t frames);

  private:
    Mixer& mixer_;
    const std::size_t bufferFrames_;
    std::atomic<bool> paused_{false};
    UseGuard pumping_;  // lets pause() wait for a pump running on another thread
};

// The offline output that PumpOffline drives, if any (set by BASS_Init, withdrawn by BASS_Free;
// withdrawing waits until no pump is running).
void RegisterOfflineOutput(OfflineOutput* output);
void WithdrawOfflineOutput();
std::size_t PumpRegisteredOfflineOutput(float* out, std::size_t frames);

}  // namespace hollowtide::audio
