// The last frames of the engine's output stream, stereo, numbered by their place in the stream.
// The output thread writes frames in order; the UI thread copies recent ones out for the
// spectrum, and learns afterwards whether the writer overtook it while it copied.
//
// Thread contract: write and readOwn run on one thread at a time (the output thread). read may
// run on any thread. Each slot is one atomic 64-bit word holding a frame's two floats, so a copy
// never sees half a frame and needs no lock.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace hollowtide::audio {

class FrameRing {
  public:
    // 0.37 s at 44100 Hz, a power of two: the device's latency, the look-ahead and a spectrum
    // block fit with room to spare.
    static constexpr std::size_t kFrames = 1 << 14;

    FrameRing() : slots_(kFrames) {
        for (auto& slot : slots_) slot.store(0, std::memory_order_relaxed);
    }
    FrameRing(const FrameRing&) = delete;
    FrameRing& operator=(const FrameRing&) = delete;

    // Writer: stores `count` interleaved frames as stream frames `first`, `first + 1`, ...
    void write(std::uint64_t first, const float* stereo, std::size_t count) noexcept {
        // Announce the slots about to be overwritten before touching them: a reader that sees a
        // new value (acquire, against the release fence) then also sees this announcement. The
        // mark never moves back, even when the writer goes back to rewrite frames it had mixed
        // ahead, so it always covers the newest frame a slot may hold.
        if (first + count > writing_.load(std::memory_order_relaxed)) {
            writing_.store(first + count, std::memory_order_relaxed);
        }
        std::atomic_thread_fence(std::memory_order_release);
        // At most two runs: up to the ring's end, then from its start.
        const std::size_t start = first & kMask;
        const std::size_t firstRun = std::min(count, kFrames - start);
        Store(stereo, firstRun, slots_.data() + start);
        Store(stereo + 2 * firstRun, count - firstRun, slots_.data());
    }

    // Writer thread only (it alone writes, so its own reads need no check).
    void readOwn(std::uint64_t first, float* stereo, std::size_t count) const noexcept {
        for (std::size_t i = 0; i < count; ++i) {
            Unpack(slots_[(first + i) & kMask].load(std::memory_order_relaxed), stereo + 2 * i);
        }
    }

    // Any thread: copies the frames [end - count, end) into `left` and `right`; frames before
    // frame 0 read as 0. False when the copy may be torn: the writer has announced frames that
    // overwrite part of it, or `count` exceeds the ring.
    bool read(std::uint64_t end, float* left, float* right, std::size_t count) const noexcept {
        if (count > kFrames) return false;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t back = count - i;  // frames before `end`
            float frame[2] = {0.0f, 0.0f};
            if (back <= end) {
                Unpack(slots_[(end - back) & kMask].load(std::memory_order_acquire), frame);
            }
            left[i] = frame[0];
            right[i] = frame[1];
        }
        const std::uint64_t oldest = end >= count ? end - count : 0;
        return writing_.load(std::memory_order_relaxed) - oldest <= kFrames;
    }

  private:
    static constexpr std::uint64_t kMask = kFrames - 1;

    // A frame's two floats are stored as one word, with their bytes as they lie in memory.
    static void Store(const float* stereo, std::size_t count,
                      std::atomic<std::uint64_t>* slots) noexcept {
        // This runs for every frame played: each frame is one plain load and one plain store.
        std::size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            slots[i].store(Word(stereo + 2 * i), std::memory_order_relaxed);
            slots[i + 1].store(Word(stereo + 2 * i + 2), std::memory_order_relaxed);
            slots[i + 2].store(Word(stereo + 2 * i + 4), std::memory_order_relaxed);
            slots[i + 3].store(Word(stereo + 2 * i + 6), std::memory_order_relaxed);
        }
        for (; i < count; ++i) slots[i].store(Word(stereo + 2 * i), std::memory_order_relaxed);
    }
    static std::uint64_t Word(const float* frame) noexcept {
        std::uint64_t word;
        std::memcpy(&word, frame, sizeof word);
        return word;
    }
    static void Unpack(std::uint64_t word, float* frame) noexcept {
        std::memcpy(frame, &word, sizeof word);
    }

    std::vector<std::atomic<std::uint64_t>> slots_;
    std::atomic<std::uint64_t> writing_{0};  // frames written once the write in progress is done
};

}  // namespace hollowtide::audio
