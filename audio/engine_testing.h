// Seams of the sound engine for tests and benchmarks: an offline output that the caller pumps
// by hand instead of a real device, and injected failures of the version, init and start steps.
// Call these from the thread that calls the engine operations, while no output is running
// (before BASS_Init, or after BASS_Free), except PumpOffline, which plays the device's role.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/bass.h"

namespace hollowtide::audio {

enum class OutputKind { Sdl, Offline };

// Which output the next BASS_Init opens. The default is Sdl.
void SetOutputKind(OutputKind kind);
OutputKind CurrentOutputKind();

// With the offline output: mixes `frames` stereo frames at 44100 Hz exactly as the device
// callback would, as if the listener had just heard them. `out` (2 * frames floats,
// interleaved) may be null. Returns the number of frames mixed (0 when no offline output is
// running). The spectrum then follows the pumped frames, with the offline latency model below.
std::size_t PumpOffline(float* out, std::size_t frames);

// Frames the offline output pretends to buffer (its latency); default 1024.
void SetOfflineBufferFrames(std::size_t frames);

struct InjectedFailures {
    bool wrongVersion = false;  // BASS_GetVersion reports 2.0 instead of 1.8
    bool initFails = false;     // BASS_Init fails as if no output device could be opened
    bool startFails = false;    // BASS_Start fails
};
void InjectFailures(const InjectedFailures& failures);
InjectedFailures CurrentInjectedFailures();

// Frames played by the module's channel since its last BASS_MusicPlayEx, as heard at the output
// (0 for an unknown handle). Lets tests check song starts and ends deterministically.
std::uint64_t PlayedFrames(DWORD handle);

}  // namespace hollowtide::audio
