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

    // UI thread: starts mixing `player`; false when every channel is taken. A player attached
    // `fromTheTop` has just been restarted: it is not mixed until the output has claimed it
    // (takeRestarts) and has thrown away what it mixed ahead, so that the song's first frame
    // is the next one the device takes, however the attach falls between two mixes.
    bool attach(ModulePlayer* player, bool fromTheTop = false);
    // UI thread: stops mixing `player`; on return the output thread no longer touches it.
    void detach(ModulePlayer* player);

    // Output thread: true when players attached from the top have been claimed since the last
    // call; the caller mixes afresh from the device's position, and mix plays them from then on.
    bool takeRestarts() noexcept;

  private:
    std::array<std::atomic<ModulePlayer*>, kMaxChannels> channels_{};
    // Set by attach before it fills the slot, cleared by takeRestarts: an output thread that
    // sees the slot's player also sees the mark.
    std::array<std::atomic<bool>, kMaxChannels> unclaimed_{};
    UseGuard mixing_;
    std::vector<float> channel_;  // output thread only: one chunk of a second module
};

}  // namespace hollowtide::audio
