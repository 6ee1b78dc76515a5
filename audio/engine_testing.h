// Seams of the sound engine for tests and benchmarks: an offline output that the caller pumps
// by hand instead of a real device, and injected failures of the version, init and start steps.
// Call these from the thread that calls the engine operations, while no output is running
// (before BASS_Init, or after BASS_Free), except PumpOffline and PlayedFrames.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/bass.h"

namespace hollowtide::audio {

enum class OutputKind { Sdl, Offline };

// Which output the next BASS_Init opens. The default is Sdl.
void SetOutputKind(OutputKind kind);
OutputKind CurrentOutputKind();

// With the offline output: plays the device's role, taking `frames` stereo frames at 44100 Hz
// from the same mixer the SDL callback uses. `out` (2 * frames floats, interleaved) may be null.
// Returns the number of frames mixed: 0 when no offline output is running (silence in `out`),
// while the output is paused (BASS_Pause: the last 5 ms mixed fade out, then silence) and while
// the device is lost (silence). May run on another thread than the engine operations; BASS_Free
// waits for a pump in progress.
//
// Latency model: the offline output pretends to buffer SetOfflineBufferFrames frames, so after
// pumping P frames of the stream in total since BASS_Init the listener hears frame
// max(0, P - buffer). Silence pumped while paused does not count. The spectrum,
// BASS_ChannelIsActive's end of song and PlayedFrames follow that heard position: to hear a song
// to its end, pump its length plus the buffer.
std::size_t PumpOffline(float* out, std::size_t frames);

// Frames the offline output pretends to buffer (its latency), taken at BASS_Init; default 1024.
void SetOfflineBufferFrames(std::size_t frames);

struct InjectedFailures {
    bool wrongVersion = false;  // BASS_GetVersion reports 2.0 instead of 1.8
    bool initFails = false;     // BASS_Init fails with 3, as if no output device could be opened
    bool startFails = false;    // BASS_Start fails with 9
    // The sound device goes away: the output takes no frames and none can be opened, as when a
    // sound server is killed, until this is cleared again (the server is back). The SDL output
    // then opens a device again within a quarter of a second; the offline output is back at
    // the next engine call.
    bool deviceLost = false;
};
void InjectFailures(const InjectedFailures& failures);
InjectedFailures CurrentInjectedFailures();

// Closes the SDL output's device, which otherwise stays open for the process's life, and
// forgets that one was ever opened: the next BASS_Init on the SDL output opens one afresh, and
// fails with 3 if it cannot. Call only while the engine is freed.
void ForgetOutputDevice();

// True while the SDL output holds a sound device open. It closes the device once the engine
// has been paused for SdlOutput::kCloseAfterPauseMs, and opens one at the next start.
bool OutputDeviceOpen();

// Runs `hook` on the output's thread just before each block is mixed (null: none), so a test
// can land an engine operation at that point of a fill. The hook may call engine operations
// while no other thread does.
void SetBeforeEachMix(void (*hook)());

// Frames played by the module's channel since its last BASS_MusicPlayEx, as heard at the output
// (0 for an unknown handle). Lets tests check song starts and ends deterministically.
std::uint64_t PlayedFrames(DWORD handle);

}  // namespace hollowtide::audio
