#include "audio/offline_output.h"

#include <algorithm>

namespace hollowtide::audio {

OfflineOutput::OfflineOutput(Mixer& mixer, std::size_t bufferFrames)
    : mixer_(mixer), bufferFrames_(bufferFrames) {}

void OfflineOutput::pause() {
    paused_.store(true);
    pumping_.waitUntilUnused();
}

std::uint64_t OfflineOutput::heardFrame() const {
    const std::uint64_t mixed = mixer_.mixedFrames();
    return mixed > bufferFrames_ ? mixed - bufferFrames_ : 0;
}

std::size_t OfflineOutput::pump(float* out, std::size_t frames) {
    UseScope scope(pumping_);
    if (paused_.load()) {
        if (out != nullptr) std::fill_n(out, 2 * frames, 0.0f);
        return 0;
    }
    mixer_.mix(out, frames);
    return frames;
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
