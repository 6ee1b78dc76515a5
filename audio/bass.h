// The sound engine: eleven operations under their established names, built on libopenmpt
// (decoding), SDL2 (output) and KissFFT (spectrum).
//
// Thread contract: every operation below is called from one thread at a time (the UI thread in
// the program). The mixer runs on the output's own thread (SDL's callback thread, or the thread
// that pumps the offline output) and never blocks, allocates or does I/O; it shares state with
// these operations only through atomics and a lock-free spectrum history.
//
// Every failure sets the last error code (BASS_ErrorGetCode) to a code of the engine error table
// (audio/mod_bass.h); every success sets it to 0. Calls in the wrong state are refused with a
// code: 8 before BASS_Init (or after BASS_Free), 5 for a handle that is not loaded.
#pragma once

#include <cstdint>

using DWORD = std::uint32_t;
using BOOL = int;
using HMUSIC = DWORD;

// Load flags. The bits keep their established values; their meaning in this engine is:
//  - neither RAMP nor RAMPS: no volume ramping (notes start and stop hard, and may click);
inline constexpr DWORD BASS_MUSIC_RAMP = 1;     // volume ramping on note starts and stops
inline constexpr DWORD BASS_MUSIC_RAMPS = 2;    // sensitive ramping: shorter, steeper ramps (wins
                                                // over RAMP when both are set)
inline constexpr DWORD BASS_MUSIC_FT2MOD = 16;  // tracker-style full stereo: hard-panned channels
                                                // stay hard (separation 100 %, else 50 %)
inline constexpr DWORD BASS_MUSIC_PT1MOD = 32;  // early-tracker sound: two-tap linear
                                                // interpolation instead of the 8-tap windowed sinc,
                                                // brighter and a little gritty, as the trackers of
                                                // the day mixed
inline constexpr DWORD BASS_MUSIC_NONINTER = 16384;  // no interpolation: samples are held from one
                                                     // output frame to the next (zero-order hold);
                                                     // wins over PT1MOD

// Play flags.
inline constexpr DWORD BASS_MUSIC_LOOP = 4;  // loop the module forever; 0 plays it once

// Results of BASS_ChannelIsActive.
inline constexpr DWORD BASS_ACTIVE_STOPPED = 0;  // never played, ended and heard, or no such handle
inline constexpr DWORD BASS_ACTIVE_PLAYING = 1;
inline constexpr DWORD BASS_ACTIVE_PAUSED = 3;  // playing, but the output is paused (BASS_Pause)

// Length word of BASS_ChannelGetData that asks for the magnitudes of a 512-sample FFT:
// 257 floats (bins 0 to 256) are written into a caller buffer of at least 513 floats.
inline constexpr DWORD BASS_DATA_FFT512 = 0x80000000u;

DWORD BASS_GetVersion();  // low 16 bits major (1), high 16 bits minor (8)

// Opens the output on the default device (device -1, else 23) at 44100 Hz (else 25), running.
// 14 when already initialised; 3 when no sound device can be opened (a null SDL driver counts
// only when SDL_AUDIODRIVER asks for it).
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window);
BOOL BASS_Start();  // resumes the output
BOOL BASS_Pause();  // stops the output at once; the modules keep their places
// Releases the output and every module; safe in any state, any number of times. Once it
// returns the mixer no longer runs.
void BASS_Free();
void BASS_StreamFree(DWORD handle);  // frees a module; handle 0 is ignored

// mem = 0: `file` is a path as 8-bit text, `\` or `/` separated, found whatever the letter case
// of its components; `offset` bytes are skipped and `length` bytes read (0: to the end).
// mem != 0: `file` points to `length` bytes in memory (plus `offset`).
// Returns a non-zero handle (never reused soon), or 0 with 2 (file cannot be opened or read),
// 6 (not a module), 1 (out of memory) or 20 (memory block missing).
HMUSIC BASS_MusicLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);

// Plays the module from its start (pos must be 0, else 7) with every channel reset, looping for
// BASS_MUSIC_LOOP, else once. With reset = 0 a module that is playing only takes the new flags.
BOOL BASS_MusicPlayEx(HMUSIC handle, DWORD pos, int flags, BOOL reset);

// BASS_ACTIVE_PLAYING from a successful play until the listener has heard the last frame of a
// module played once (the end counts at the output's heard position, not when it is decoded);
// BASS_ACTIVE_PAUSED instead while the output is paused.
DWORD BASS_ChannelIsActive(DWORD handle);

// With BASS_DATA_FFT512: the Hann-windowed spectrum of the last 512 frames the listener has
// heard of the engine's output (everything playing; before the first frame counts as silence),
// each bin the larger of the left and right channels' magnitudes, so a hard-panned part shows
// as strongly as a centred one. A full-scale sine centred on a bin gives about 1.0 there; silence
// gives 0. Returns 512 on success; -1 with 37 when the channel is not active (never played, or
// ended and heard), 20 for a null buffer or another length word, 5 or 8 as above.
std::int32_t BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);

int BASS_ErrorGetCode();
