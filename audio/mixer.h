// Mixes the playing modules into the output and keeps a short history of what it mixed, tagged
// with output frame numbers, for the spectrum.
//
// Thread contract: mix runs on the output thread (the SDL callback, or whoever pumps the offline
// output), one call at a time; it never blocks, allocates or does I/O. attach and detach run on
// the UI thread. copyHistory may run on any thread. Frame numbers count stereo frames mixed
// since the mixer was made, starting at 0.
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
    static constexpr std::size_t kChunkFrames = 1024;
    static constexpr std::size_t kHistoryFrames = 1 << 15;  // 0.74 s; a power of two

    Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Output thread: mixes `frames` frames into `out` (2 * frames interleaved floats, may be
    // null when only the history is wanted).
    void mix(float* out, std::size_t frames) noexcept;

    // UI thread: starts mixing `player`; false when every channel is taken.
    bool attach(ModulePlayer* player);
    // UI thread: stops mixing `player`; on return the output thread no longer touches it.
    void detach(ModulePlayer* player);

    // Frames mixed so far (any thread).
    std::uint64_t mixedFrames() const { return mixed_.load(std::memory_order_acquire); }

    // Any thread: copies the mono mix ((left + right) / 2) of the `count` frames that end just
    // before frame `end` into `dst`; frames before frame 0 read as 0. False when `end` lies
    // beyond the mixed frames or the frames have already left the history.
    bool copyHistory(std::uint64_t end, float* dst, std::size_t count) const;

  private:
    std::array<std::atomic<ModulePlayer*>, kMaxChannels> channels_{};
    UseGuard mixing_;

    // Output thread only.
    std::vector<float> sum_;      // one chunk, interleaved
    std::vector<float> channel_;  // one chunk of one module, interleaved

    // Written by the output thread; read anywhere. Slot f % kHistoryFrames holds frame f.
    std::vector<std::atomic<float>> history_;
    std::atomic<std::uint64_t> mixed_{0};
    std::atomic<std::uint64_t> writing_{0};  // frames mixed once the chunk being written is done
};

}  // namespace hollowtide::audio
