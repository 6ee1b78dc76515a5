// The sound engine: eleven operations under their established names, built on libopenmpt
// (decoding), SDL2 (output) and KissFFT (spectrum).
//
// Thread contract: every operation below is called from one thread at a time (the UI thread in
// the program). The mixer runs on the output's own thread (SDL's callback thread, or the thread
// that pumps the offline output) and never blocks, allocates or does I/O; it shares state with
// these operations only through atomics and a lock-free spectrum ring.
//
// Every failure sets the last error code (BASS_ErrorGetCode) to a code of the engine error table
// (audio/mod_bass.h); every success sets it to 0.
#pragma once

#include <cstdint>

using DWORD = std::uint32_t;
using BOOL = int;
using HMUSIC = DWORD;

// Load flags. The bits keep their established values; their meaning in this engine is:
inline constexpr DWORD BASS_MUSIC_RAMP = 1;       // volume ramping on note starts and stops
inline constexpr DWORD BASS_MUSIC_RAMPS = 2;      // sensitive ramping (shorter, steeper ramps)
inline constexpr DWORD BASS_MUSIC_FT2MOD = 16;    // filled in by the engine header's author
inline constexpr DWORD BASS_MUSIC_PT1MOD = 32;    // filled in by the engine header's author
inline constexpr DWORD BASS_MUSIC_NONINTER = 16384;  // filled in by the engine header's author

// Play flags.
inline constexpr DWORD BASS_MUSIC_LOOP = 4;  // loop the module forever; 0 plays it once

// Length word of BASS_ChannelGetData that asks for the magnitudes of a 512-sample FFT:
// 257 floats (bins 0 to 256) are written into a caller buffer of at least 513 floats.
inline constexpr DWORD BASS_DATA_FFT512 = 0x80000000u;

DWORD BASS_GetVersion();  // low 16 bits major (1), high 16 bits minor (8)
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window);
BOOL BASS_Start();
BOOL BASS_Pause();
void BASS_Free();
void BASS_StreamFree(DWORD handle);
HMUSIC BASS_MusicLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
BOOL BASS_MusicPlayEx(HMUSIC handle, DWORD pos, int flags, BOOL reset);
DWORD BASS_ChannelIsActive(DWORD handle);
std::int32_t BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);
int BASS_ErrorGetCode();
