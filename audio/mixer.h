// Mixes the playing modules into one stereo stream.
//
// Thread contract: mix runs on the output thread (the device callback, or whoever pumps the
// offline output), one call at a time; it never blocks, allocates or does I/O. attach and detach
// run on the UI thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/module_player.h"
#include "audio/use_guard.h"

namespace hollowtide::audio {

class Mixer {
  public:
    static constexpr std::size_t kMaxChannels = 16;
    static constexpr std::size_t kChunkFrames = 2048;  // most frames one mix call may take: a block

    Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Output thread: mixes `frames` (at most kChunkFrames) interleaved stereo frames into `out`,
    // the first of which is stream frame `firstFrame`.
    void mix(float* out, std::size_t frames, std::uint64_t firstFrame) noexcept;

    // UI thread: starts mixing `player`; false when every channel is taken.
    bool attach(ModulePlayer* player);
    // UI thread: stops mixing `player`; on return the output thread no longer touches it.
    void detach(ModulePlayer* player);

  private:
    std::array<std::atomic<ModulePlayer*>, kMaxChannels> channels_{};
    UseGuard mixing_;
    std::vector<float> channel_;  // output thread only: one chunk of a second module
};

}  // namespace hollowtide::audio
