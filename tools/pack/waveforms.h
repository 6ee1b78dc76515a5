// Sample synthesis: tiny looped single-cycle waveforms and short drum hits, all 8-bit.
#pragma once

#include "tools/pack/song.h"

namespace packgen {

enum class Wave {
    Square12,  // 12.5 % duty
    Square25,
    Square50,
    Triangle,
    Saw,
    SoftSquare,  // square with rounded edges: a mellow organ-like tone
    Sine,
};

// One looped cycle of `length` points (a power of two from 16 to 256); its transpose makes a
// played pitch come out right whatever the length.
Sample MakeWave(Wave wave, int length, int amplitude);

// Drums, recorded to sound right when played at note kDrumNote.
inline constexpr int kDrumNote = 61;
Sample MakeKick(int amplitude, double punch);
Sample MakeSnare(int amplitude, double noisiness);
Sample MakeHat(int amplitude, bool open);
Sample MakeTom(int amplitude);        // a pitched drum: play it at any note
Sample MakeNoiseLoop(int amplitude);  // looped white noise, for XM/IT sweeps and risers

const char* WaveName(Wave wave);

}  // namespace packgen
