#include "audio/output.h"

#include <atomic>

namespace hollowtide::audio {
namespace {
std::atomic<bool> simulatedLoss{false};
}  // namespace

void SimulateDeviceLoss(bool lost) {
    simulatedLoss.store(lost);
}

bool DeviceLossSimulated() {
    return simulatedLoss.load(std::memory_order_relaxed);
}

}  // namespace hollowtide::audio
