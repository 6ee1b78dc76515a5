// The engine's output stream as it is mixed, stereo, numbered by each frame's place in the
// stream, with the last 0.74 s kept: the frames mixed ahead of the device, those a lost device
// may have swallowed, and the spectrum's block. The modules decode straight into it, so every
// frame is written once and read back from where it was made: a second copy of each frame, for
// the spectrum, evicted the decoder's data from the cache and made rendering some 3 % slower.
//
// Thread contract: beginWrite, endWrite, oldest and take run on one thread at a time (the
// output thread). read may run on any thread: it copies frames the writer published before
// (through a release the reader has acquired, such as the device feed's published position) and
// then checks that the writer has not lapped them while it copied. A reader only loses that race
// when it stalls for most of a second between learning a frame's number and copying it, and
// then its copy is thrown away. Samples a reader may see are written and read with relaxed
// atomic accesses (audio/shared_samples.h), except where libopenmpt decodes into them.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/shared_samples.h"

namespace hollowtide::audio {

class StreamHistory {
  public:
    static constexpr std::size_t kFrames = 1 << 15;  // a power of two
    static constexpr std::size_t kMaxWriteFrames = 2048;

    // The slack after the last slot lets a write that wraps still be one contiguous block; what
    // lands in it is copied to the front.
    StreamHistory() : samples_(2 * (kFrames + kMaxWriteFrames), 0.0f) {}
    StreamHistory(const StreamHistory&) = delete;
    StreamHistory& operator=(const StreamHistory&) = delete;

    // Writer: where to write the `count` (at most kMaxWriteFrames) interleaved frames from stream
    // frame `first` on, in one run. Frames from `first + count - kFrames` back are given up
    // first, so that a reader copying them learns it may have been overtaken.
    float* beginWrite(std::uint64_t first, std::size_t count) noexcept {
        // The mark never moves back, even when the writer goes back to rewrite frames it had
        // mixed ahead: it always covers the newest frame a slot may hold.
        if (first + count > written_.load(std::memory_order_relaxed)) {
            written_.store(first + count, std::memory_order_relaxed);
        }
        std::atomic_thread_fence(std::memory_order_release);  // the mark before the samples
        return samples_.data() + 2 * Slot(first);
    }
    // Writer: the block begun at `first` is written.
    void endWrite(std::uint64_t first, std::size_t count) noexcept {
        const std::size_t end = Slot(first) + count;
        if (end > kFrames) {
            CopySamples(samples_.data() + 2 * kFrames, 2 * (end - kFrames), samples_.data());
        }
    }

    // Writer: the oldest stream frame still held.
    std::uint64_t oldest() const noexcept {
        const std::uint64_t newest = written_.load(std::memory_order_relaxed);
        return newest > kFrames ? newest - kFrames : 0;
    }
    // Writer: copies the frames [first, first + count), all held, to `stereo`.
    void take(std::uint64_t first, float* stereo, std::size_t count) const noexcept {
        // At most two runs: up to the last slot, then from the first.
        const std::size_t start = Slot(first);
        const std::size_t firstRun = std::min(count, kFrames - start);
        std::copy_n(samples_.begin() + 2 * start, 2 * firstRun, stereo);
        std::copy_n(samples_.begin(), 2 * (count - firstRun), stereo + 2 * firstRun);
    }

    // Any thread: copies the frames [end - count, end) into `left` and `right`; frames before
    // frame 0 read as 0. False when the copy may be torn: the writer has begun frames that
    // overwrite part of it, or `count` exceeds what is kept.
    bool read(std::uint64_t end, float* left, float* right, std::size_t count) const noexcept {
        if (count > kFrames) return false;
        const std::size_t silent =
            end >= count ? 0 : static_cast<std::size_t>(count - end);  // before frame 0
        std::fill_n(left, silent, 0.0f);
        std::fill_n(right, silent, 0.0f);
        const std::uint64_t oldest = end - (count - silent);
        for (std::size_t i = silent; i < count; ++i) {
            const float* frame = samples_.data() + 2 * Slot(oldest + (i - silent));
            left[i] = LoadSample(frame[0]);
            right[i] = LoadSample(frame[1]);
        }
        std::atomic_thread_fence(std::memory_order_acquire);  // the samples before the mark
        return written_.load(std::memory_order_relaxed) - oldest <= kFrames;
    }

  private:
    static std::size_t Slot(std::uint64_t frame) noexcept {
        return static_cast<std::size_t>(frame & (kFrames - 1));
    }

    std::vector<float> samples_;
    std::atomic<std::uint64_t> written_{0};  // the end of the newest block begun
};

}  // namespace hollowtide::audio
