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
#include "audio/offline_output.h"
#include "audio/output.h"
#include "audio/spectrum.h"

namespace hollowtide::audio {

struct EngineState {
    // Present from a successful BASS_Init to BASS_Free. Order matters on release: the output
    // stops mixing before the modules and the mixer go (see ReleaseEngine).
    std::unique_ptr<Mixer> mixer;
    std::unique_ptr<SpectrumAnalyser> analyser;
    std::map<DWORD, std::unique_ptr<ModulePlayer>> modules;
    // The output the mixer feeds: the process's SDL output, which outlives the engine, or the
    // offline output made for this BASS_Init (owned by `offline`).
    Output* output = nullptr;
    std::unique_ptr<OfflineOutput> offline;

    // Handles only grow (wrapping past 0), so a freed handle is not handed out again soon.
    DWORD lastHandle = 0;

    // Test seams.
    OutputKind outputKind = OutputKind::Sdl;
    InjectedFailures failures;
    std::size_t offlineBufferFrames = 1024;

    bool initialised() const { return mixer != nullptr; }
};

EngineState& Engine();

// The module of `handle`, or null.
ModulePlayer* FindModule(DWORD handle);

// Pauses the output and detaches the mixer, then drops every module and the mixer. Safe in any
// state.
void ReleaseEngine();

}  // namespace hollowtide::audio
