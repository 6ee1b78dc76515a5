#include "audio/offline_output.h"

#include <algorithm>

namespace hollowtide::audio {

OfflineOutput::OfflineOutput(std::size_t bufferFrames)
    : bufferFrames_(bufferFrames), discarded_(2 * Mixer::kChunkFrames) {}

void OfflineOutput::maintain() {
    // The pretend device comes back the moment it is available again.
    if (DeviceLossSimulated()) {
        feed_.suspend(heardFrame());
    } else {
        feed_.resume();
    }
}

std::size_t OfflineOutput::pump(float* out, std::size_t frames) {
    if (DeviceLossSimulated()) {
        if (out != nullptr) std::fill_n(out, 2 * frames, 0.0f);
        return 0;
    }
    const bool mixing = !feed_.paused() && !feed_.suspended();
    if (out != nullptr) {
        feed_.fill(out, frames, 0);
    } else {
        for (std::size_t done = 0; done < frames;) {
            const std::size_t step = std::min(frames - done, Mixer::kChunkFrames);
            feed_.fill(discarded_.data(), step, 0);
            done += step;
        }
    }
    return mixing ? frames : 0;
}

namespace {
std::atomic<OfflineOutput*> registered{nullptr};
UseGuard registeredInUse;
}  // namespace

void RegisterOfflineOutput(OfflineOutput* output) {
    registered.store(output);
}

void WithdrawOfflineOutput() {
    registered.store(nullptr);
    registeredInUse.waitUntilUnused();
}

std::size_t PumpRegisteredOfflineOutput(float* out, std::size_t frames) {
    UseScope scope(registeredInUse);
    OfflineOutput* output = registered.load();
    if (output != nullptr) return output->pump(out, frames);
    if (out != nullptr) std::fill_n(out, 2 * frames, 0.0f);
    return 0;
}

}  // namespace hollowtide::audio
