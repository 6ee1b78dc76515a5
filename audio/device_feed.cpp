#include "audio/device_feed.h"

#include <algorithm>

namespace hollowtide::audio {

namespace {
std::atomic<void (*)()> beforeEachMix{nullptr};
}  // namespace

void DeviceFeed::SetBeforeEachMix(void (*hook)()) noexcept {
    beforeEachMix.store(hook);
}

void DeviceFeed::attach(Mixer* mixer) {
    mixer_.store(mixer);
    generation_.fetch_add(1);
}

void DeviceFeed::detach() {
    mixer_.store(nullptr);
    inFill_.waitUntilUnused();
}

void DeviceFeed::pause(std::uint64_t heardNow) {
    if (paused_.load()) return;
    pausedAt_.store(heardNow);
    paused_.store(true);
}

void DeviceFeed::start() {
    if (!paused_.load()) return;
    floor_.store(std::max(floor_.load(), pausedAt_.load()));
    paused_.store(false);
}

void DeviceFeed::suspend(std::uint64_t replayFrom) {
    if (suspended_.load()) return;
    suspendedAt_.store(replayFrom);
    suspended_.store(true);
}

void DeviceFeed::resume() {
    if (!suspended_.load()) return;
    floor_.store(std::max(floor_.load(), suspendedAt_.load()));
    rewind_.store(true);  // before the fill that sees the device back can run
    suspended_.store(false);
}

DeviceFeed::Given DeviceFeed::lastGiven() const {
    constexpr auto kRelaxed = std::memory_order_relaxed;
    for (;;) {
        const std::uint32_t before = sequence_.load(std::memory_order_acquire);
        Given given{givenEnd_.load(kRelaxed), givenDevice_.load(kRelaxed),
                    givenTime_.load(kRelaxed)};
        // The copy is read before the sequence is read again.
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1u) == 0 && sequence_.load(kRelaxed) == before) return given;
    }
}

std::uint64_t DeviceFeed::heardFrame(const Given& given, std::uint64_t framesInDevice) const {
    if (suspended_.load()) return suspendedAt_.load();
    if (paused_.load()) return pausedAt_.load();
    const std::uint64_t end = given.streamEnd;
    const std::uint64_t heard = end > framesInDevice ? end - framesInDevice : 0;
    return std::max(heard, floor_.load());
}

bool DeviceFeed::copyFrames(std::uint64_t end, float* left, float* right, std::size_t count) const {
    if (!history_.read(end, left, right, count)) return false;
    // The frames before the current mixer's first one belong to an earlier song.
    const std::uint64_t origin = origin_.load();
    const std::uint64_t first = end >= count ? end - count : 0;
    if (origin > first) {
        const auto before =
            static_cast<std::size_t>(std::min<std::uint64_t>(origin - first, count));
        std::fill_n(left, before, 0.0f);
        std::fill_n(right, before, 0.0f);
    }
    return true;
}

void DeviceFeed::fill(float* out, std::size_t frames, std::uint64_t time) noexcept {
    UseScope scope(inFill_);
    filled_ += frames;
    if (suspended_.load()) {
        std::fill_n(out, 2 * frames, 0.0f);
        publish(time);
        return;
    }
    // The flags are read before they are cleared: they are seldom set, and a plain read costs
    // nothing next to a locked exchange.
    if (rewind_.load() && rewind_.exchange(false)) {
        // The device is back: play again what the lost one swallowed, as far as the history
        // still holds it, fading in.
        played_ = std::clamp(suspendedAt_.load(), history_.oldest(), mixed_);
        gain_ = 0.0f;
        fading_ = false;
    }
    const std::uint64_t generation = generation_.load();
    if (generation != seenGeneration_) {
        seenGeneration_ = generation;
        // A new mixer: what the previous one mixed ahead fades out before its first frame, and
        // nothing else of it is played.
        if (!fading_ && gain_ > 0.0f && mixed_ > played_) beginFadeOut();
        mixed_ = fading_ ? fadeEnd_ : played_;
        origin_.store(mixed_);
    }

    Mixer* mixer = paused_.load() ? nullptr : mixer_.load();
    const bool running = mixer != nullptr;
    if (!running && wasRunning_ && !fading_) beginFadeOut();
    wasRunning_ = running;

    std::size_t done = 0;
    while (done < frames) {
        if (fading_) {
            done += outputTail(out + 2 * done, frames - done);
        } else if (running) {
            done += outputRunning(*mixer, out + 2 * done, frames - done);
        } else {
            std::fill(out + 2 * done, out + 2 * frames, 0.0f);
            break;
        }
    }
    publish(time);
}

void DeviceFeed::beginFadeOut() noexcept {
    fadeEnd_ = std::min(mixed_, played_ + kFadeFrames);
    fading_ = fadeEnd_ > played_;
    if (!fading_) gain_ = 0.0f;
}

std::size_t DeviceFeed::outputTail(float* out, std::size_t frames) noexcept {
    // A straight line from the gain now to silence at the tail's last frame.
    const std::uint64_t left = fadeEnd_ - played_;
    const auto count =
        static_cast<std::size_t>(std::min<std::uint64_t>({frames, left, Mixer::kChunkFrames}));
    history_.take(played_, out, count);
    const float step = gain_ / static_cast<float>(left);
    for (std::size_t i = 0; i < count; ++i) {
        const float gain = gain_ - step * static_cast<float>(i + 1);
        out[2 * i] *= gain;
        out[2 * i + 1] *= gain;
    }
    played_ += count;
    gain_ = played_ == fadeEnd_ ? 0.0f : gain_ - step * static_cast<float>(count);
    fading_ = played_ != fadeEnd_;
    return count;
}

std::size_t DeviceFeed::outputRunning(Mixer& mixer, float* out, std::size_t frames) noexcept {
    const std::size_t count = std::min(frames, Mixer::kChunkFrames);
    // A module restarted from the top: what was mixed ahead of the device is mixed afresh, so
    // the song begins at the next frame the device takes. The mixer holds such a module back
    // until it is claimed here, so no block of it can be mixed ahead and then thrown away.
    if (mixer.takeRestarts()) mixed_ = played_;
    mixAhead(mixer, played_ + count + kFadeFrames);
    history_.take(played_, out, count);
    if (gain_ < 1.0f) {
        constexpr float kStep = 1.0f / static_cast<float>(kFadeFrames);
        for (std::size_t i = 0; i < count; ++i) {
            gain_ = std::min(1.0f, gain_ + kStep);
            out[2 * i] *= gain_;
            out[2 * i + 1] *= gain_;
        }
    }
    played_ += count;
    return count;
}

void DeviceFeed::mixAhead(Mixer& mixer, std::uint64_t target) noexcept {
    constexpr std::uint64_t kBlock = ModulePlayer::kBlockFrames;
    static_assert(Mixer::kChunkFrames <= StreamHistory::kMaxWriteFrames);
    // Mixing one more block never overwrites a frame not yet played: the look-ahead, rounded up
    // to whole blocks, and the block itself fit in the history (the rest of it is what was
    // heard, for the spectrum and a replay).
    static_assert(StreamHistory::kFrames >= kFadeFrames + 2 * kBlock + Mixer::kChunkFrames);
    while (mixed_ < target) {
        // Whole decoding blocks, so that modules decode straight into the history.
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(
            (target - mixed_ + kBlock - 1) / kBlock * kBlock, Mixer::kChunkFrames));
        if (auto* hook = beforeEachMix.load(std::memory_order_relaxed)) hook();
        mixer.mix(history_.beginWrite(mixed_, count), count, mixed_);
        history_.endWrite(mixed_, count);
        mixed_ += count;
    }
}

void DeviceFeed::publish(std::uint64_t time) noexcept {
    // Fill alone writes these, so plain stores with fences do: every fill publishes, and
    // read-modify-writes or sequentially consistent stores would lock the bus five times a fill.
    constexpr auto kRelaxed = std::memory_order_relaxed;
    const std::uint32_t sequence = sequence_.load(kRelaxed);
    sequence_.store(sequence + 1, kRelaxed);
    std::atomic_thread_fence(std::memory_order_release);  // odd before any of the three changes
    givenEnd_.store(played_, kRelaxed);
    givenDevice_.store(filled_, kRelaxed);
    givenTime_.store(time, kRelaxed);
    sequence_.store(sequence + 2, std::memory_order_release);
}

}  // namespace hollowtide::audio
