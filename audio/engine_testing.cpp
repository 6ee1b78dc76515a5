#include "audio/engine_testing.h"

#include <algorithm>

#include "audio/engine_state.h"
#include "audio/offline_output.h"
#include "audio/sdl_output.h"

namespace hollowtide::audio {

void SetOutputKind(OutputKind kind) {
    Engine().outputKind = kind;
}

OutputKind CurrentOutputKind() {
    return Engine().outputKind;
}

std::size_t PumpOffline(float* out, std::size_t frames) {
    return PumpRegisteredOfflineOutput(out, frames);
}

void SetOfflineBufferFrames(std::size_t frames) {
    Engine().offlineBufferFrames = frames;
}

void InjectFailures(const InjectedFailures& failures) {
    Engine().failures = failures;
    SimulateDeviceLoss(failures.deviceLost);
}

void ForgetOutputDevice() {
    SdlOutput::Forget();
}

bool OutputDeviceOpen() {
    return SdlOutput::DeviceOpen();
}

InjectedFailures CurrentInjectedFailures() {
    return Engine().failures;
}

void SetBeforeEachMix(void (*hook)()) {
    DeviceFeed::SetBeforeEachMix(hook);
}

std::uint64_t PlayedFrames(DWORD handle) {
    const EngineState& engine = Engine();
    const ModulePlayer* player = FindModule(handle);
    if (!engine.initialised() || player == nullptr || !player->hasStarted()) return 0;
    const std::uint64_t heard = engine.output->heardFrame();
    const std::uint64_t start = player->startFrame();
    return heard > start ? std::min(heard - start, player->renderedFrames()) : 0;
}

}  // namespace hollowtide::audio
