#include "audio/mixer.h"

#include "audio/vector_state.h"

#include <algorithm>

namespace hollowtide::audio {

Mixer::Mixer() : sum_(2 * kChunkFrames), channel_(2 * kChunkFrames), history_(kHistoryFrames) {
    for (auto& sample : history_) sample.store(0.0f, std::memory_order_relaxed);
}

namespace {

void StoreMono(const float* stereo, std::size_t frames, std::atomic<float>* slots) noexcept {
    for (std::size_t i = 0; i < frames; ++i) {
        slots[i].store(0.5f * (stereo[2 * i] + stereo[2 * i + 1]), std::memory_order_relaxed);
    }
}

}  // namespace

void Mixer::mix(float* out, std::size_t frames) noexcept {
    UseScope scope(mixing_);
    ClearUpperVectorState();
    std::uint64_t frame = mixed_.load(std::memory_order_relaxed);
    while (frames > 0) {
        const std::size_t chunk = std::min(frames, kChunkFrames);
        // The first playing module renders straight into the sum (the program only ever
        // plays one); any others are added to it.
        std::size_t summed = 0;
        bool first = true;
        for (auto& slot : channels_) {
            ModulePlayer* player = slot.load();
            if (player == nullptr || player->state() != PlayState::Playing) continue;
            if (first) {
                summed = player->render(sum_.data(), chunk, frame);
                first = false;
                continue;
            }
            const std::size_t done = player->render(channel_.data(), chunk, frame);
            const std::size_t overlap = std::min(done, summed);
            for (std::size_t i = 0; i < 2 * overlap; ++i) sum_[i] += channel_[i];
            if (done > summed) {
                std::copy_n(channel_.begin() + 2 * summed, 2 * (done - summed),
                            sum_.begin() + 2 * summed);
                summed = done;
            }
        }
        std::fill(sum_.begin() + 2 * summed, sum_.begin() + 2 * chunk, 0.0f);
        // Announce the slots about to be overwritten before touching them: a reader that sees a
        // new value in a slot (acquire, against the release fence) then also sees this
        // announcement.
        writing_.store(frame + chunk, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
        // The chunk lands in at most two runs of the ring, one before its end and one after.
        const std::size_t start = frame & (kHistoryFrames - 1);
        const std::size_t firstRun = std::min(chunk, kHistoryFrames - start);
        StoreMono(sum_.data(), firstRun, &history_[start]);
        StoreMono(sum_.data() + 2 * firstRun, chunk - firstRun, &history_[0]);
        if (out != nullptr) {
            std::copy_n(sum_.begin(), 2 * chunk, out);
            out += 2 * chunk;
        }
        frame += chunk;
        mixed_.store(frame, std::memory_order_release);
        frames -= chunk;
    }
}

bool Mixer::attach(ModulePlayer* player) {
    for (auto& slot : channels_) {
        ModulePlayer* expected = nullptr;
        if (slot.compare_exchange_strong(expected, player)) return true;
    }
    return false;
}

void Mixer::detach(ModulePlayer* player) {
    for (auto& slot : channels_) {
        ModulePlayer* expected = player;
        slot.compare_exchange_strong(expected, nullptr);
    }
    mixing_.waitUntilUnused();
}

bool Mixer::copyHistory(std::uint64_t end, float* dst, std::size_t count) const {
    const std::uint64_t mixed = mixed_.load(std::memory_order_acquire);
    if (end > mixed || count > kHistoryFrames) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t back = count - i;  // frames before `end`
        dst[i] =
            back > end
                ? 0.0f
                : history_[(end - back) & (kHistoryFrames - 1)].load(std::memory_order_acquire);
    }
    // The output thread may have lapped the history while we copied: then the copy is torn.
    const std::uint64_t oldest = end >= count ? end - count : 0;
    return writing_.load(std::memory_order_relaxed) - oldest <= kHistoryFrames;
}

}  // namespace hollowtide::audio
