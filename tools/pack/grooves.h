// Rhythm families and the one-bar drum grooves drawn from them. Positions count 32nd notes
// (0 to 31 in a bar); on a grid of 16th-note rows the odd positions are left out.
#pragma once

#include <vector>

#include "tools/pack/drum_synth.h"
#include "tools/pack/random.h"

namespace packgen {

enum class RhythmFamily {
    FourOnFloor,
    Backbeat,
    Breakbeat,
    HalfTime,
    Shuffle,     // dotted figures: the beat split long-short
    SpeedSwing,  // rows alternate between a long and a short speed
    DelaySwing,  // off-beat hits pushed late with note delays
    Bossa,
    Electro,
    TwoStep,
    March,
    Gallop,
    OneDrop,
    Tribal,  // toms carry the beat
    Sparse,  // a hit or two a bar
    None,    // no drums at all
};
const char* FamilyName(RhythmFamily family);

struct DrumHit {
    int position = 0;  // 32nds from the bar's start
    DrumRole role = DrumRole::Kick;
    int velocity = 64;  // 0 to 64
    bool late = false;  // played a little after its row (swing by delay)
};

struct Groove {
    RhythmFamily family = RhythmFamily::Backbeat;
    std::vector<DrumHit> main;       // most bars
    std::vector<DrumHit> variation;  // every fourth bar
    bool usesFineGrid = false;       // has hits on odd 32nds
    // Speed swing: even rows last `longSpeed` ticks, odd rows `shortSpeed`.
    bool alternatesSpeed = false;
    int lateTicks = 0;  // delay swing: ticks the late hits wait
    std::vector<DrumRole> roles() const;
};

// A groove of the family; the random draw makes it the song's own.
Groove MakeGroove(RhythmFamily family, Random& random);

// A fill for the bar before a new section: `kind` 0 to 3.
std::vector<DrumHit> MakeFill(int kind, const Groove& groove, Random& random);

}  // namespace packgen
