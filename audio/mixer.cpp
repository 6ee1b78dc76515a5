#include "audio/mixer.h"

#include <algorithm>

#include "audio/shared_samples.h"
#include "audio/vector_state.h"

namespace hollowtide::audio {

Mixer::Mixer() : channel_(2 * kChunkFrames) {}

void Mixer::mix(float* out, std::size_t frames, std::uint64_t firstFrame) noexcept {
    UseScope scope(mixing_);
    ClearUpperVectorState();
    frames = std::min(frames, kChunkFrames);
    // The first playing module renders straight into `out` (the program only ever plays one);
    // any others are added to it.
    std::size_t summed = 0;
    bool first = true;
    for (std::size_t i = 0; i < kMaxChannels; ++i) {
        ModulePlayer* player = channels_[i].load();
        if (player == nullptr || player->state() != PlayState::Playing) continue;
        if (unclaimed_[i].load(std::memory_order_relaxed)) continue;  // waits for takeRestarts
        if (first) {
            summed = player->render(out, frames, firstFrame);
            first = false;
            continue;
        }
        const std::size_t done = player->render(channel_.data(), frames, firstFrame);
        const std::size_t overlap = std::min(done, summed);
        for (std::size_t i = 0; i < 2 * overlap; ++i) StoreSample(out[i], out[i] + channel_[i]);
        if (done > summed) {
            CopySamples(channel_.data() + 2 * summed, 2 * (done - summed), out + 2 * summed);
            summed = done;
        }
    }
    FillSamples(out + 2 * summed, 2 * (frames - summed), 0.0f);
}

bool Mixer::attach(ModulePlayer* player, bool fromTheTop) {
    // Only the UI thread fills slots, so a slot seen empty stays empty until it is filled here.
    for (std::size_t i = 0; i < kMaxChannels; ++i) {
        if (channels_[i].load() != nullptr) continue;
        unclaimed_[i].store(fromTheTop);
        channels_[i].store(player);
        return true;
    }
    return false;
}

bool Mixer::takeRestarts() noexcept {
    bool claimed = false;
    for (std::size_t i = 0; i < kMaxChannels; ++i) {
        // The player is read first: the mark was set before it was stored.
        if (channels_[i].load() == nullptr) continue;
        if (unclaimed_[i].load(std::memory_order_relaxed) && unclaimed_[i].exchange(false)) {
            claimed = true;
        }
    }
    return claimed;
}

void Mixer::detach(ModulePlayer* player) {
    for (auto& slot : channels_) {
        ModulePlayer* expected = player;
        slot.compare_exchange_strong(expected, nullptr);
    }
    mixing_.waitUntilUnused();
}

}  // namespace hollowtide::audio
