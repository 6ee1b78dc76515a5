// An output with no device: whoever calls pump plays the device's role. It pretends to buffer a
// fixed number of frames, so the listener hears stream frame (frames given - buffered).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/output.h"
#include "audio/use_guard.h"

namespace hollowtide::audio {

class OfflineOutput : public Output {
  public:
    explicit OfflineOutput(std::size_t bufferFrames);

    DeviceFeed& feed() override { return feed_; }
    void maintain() override;

    // Any thread, one at a time: the device takes `frames` frames into `out` (may be null).
    // Returns the frames newly mixed: 0 while paused (the fading tail and then silence are
    // written) and while the device is lost (it takes nothing).
    std::size_t pump(float* out, std::size_t frames);

  protected:
    std::uint64_t framesInDevice(const DeviceFeed::Given&) const override { return bufferFrames_; }

  private:
    DeviceFeed feed_;
    const std::size_t bufferFrames_;
    std::vector<float> discarded_;  // pump's target when the caller wants no frames
};

// The offline output that PumpOffline drives, if any (set by BASS_Init, withdrawn by BASS_Free;
// withdrawing waits until no pump is running).
void RegisterOfflineOutput(OfflineOutput* output);
void WithdrawOfflineOutput();
std::size_t PumpRegisteredOfflineOutput(float* out, std::size_t frames);

}  // namespace hollowtide::audio
