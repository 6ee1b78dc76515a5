#include "audio/engine_state.h"

#include "audio/offline_output.h"

namespace hollowtide::audio {

EngineState& Engine() {
    // Never destroyed: an output left running at exit must not find its mixer gone.
    static EngineState* const state = new EngineState;
    return *state;
}

ModulePlayer* FindModule(DWORD handle) {
    auto& modules = Engine().modules;
    const auto found = modules.find(handle);
    return found != modules.end() ? found->second.get() : nullptr;
}

void ReleaseEngine() {
    EngineState& engine = Engine();
    WithdrawOfflineOutput();
    if (engine.output != nullptr) {
        engine.output->pause();
        engine.output->feed().detach();  // no mixing from here on
        engine.output = nullptr;
    }
    engine.modules.clear();
    engine.analyser.reset();
    engine.mixer.reset();
    engine.offline.reset();
}

}  // namespace hollowtide::audio
