// The engine's process-wide state, shared by the operations (bass.cpp) and the test seams
// (engine_testing.cpp).
//
// Thread contract: everything here belongs to the UI thread (the thread that calls the engine
// operations), except what the members' own types document as shared with the output thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/mixer.h"
#include "audio/module_player.h"
#include "audio/output.h"
#include "audio/spectrum.h"

namespace hollowtide::audio {

struct EngineState {
    // Present from a successful BASS_Init to BASS_Free. Destruction order matters: the output
    // stops mixing before the modules and the mixer go (see ReleaseEngine).
    std::unique_ptr<Mixer> mixer;
    std::unique_ptr<SpectrumAnalyser> analyser;
    std::map<DWORD, std::unique_ptr<ModulePlayer>> modules;
    std::unique_ptr<Output> output;

    // Handles only grow (wrapping past 0), so a freed handle is not handed out again soon.
    DWORD lastHandle = 0;

    // Test seams.
    OutputKind outputKind = OutputKind::Sdl;
    InjectedFailures failures;
    std::size_t offlineBufferFrames = 1024;

    bool initialised() const { return output != nullptr; }
};

EngineState& Engine();

// The module of `handle`, or null.
ModulePlayer* FindModule(DWORD handle);

// Stops the output, then drops every module, the mixer and the output. Safe in any state.
void ReleaseEngine();

}  // namespace hollowtide::audio
