#include "audio/mixer.h"

#include <algorithm>

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
    for (auto& slot : channels_) {
        ModulePlayer* player = slot.load();
        if (player == nullptr || player->state() != PlayState::Playing) continue;
        if (first) {
            summed = player->render(out, frames, firstFrame);
            first = false;
            continue;
        }
        const std::size_t done = player->render(channel_.data(), frames, firstFrame);
        const std::size_t overlap = std::min(done, summed);
        for (std::size_t i = 0; i < 2 * overlap; ++i) out[i] += channel_[i];
        if (done > summed) {
            std::copy_n(channel_.begin() + 2 * summed, 2 * (done - summed), out + 2 * summed);
            summed = done;
        }
    }
    std::fill(out + 2 * summed, out + 2 * frames, 0.0f);
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

}  // namespace hollowtide::audio
