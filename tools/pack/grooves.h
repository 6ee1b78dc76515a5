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
    int retrigger = 0;  // struck again every this many ticks (a roll), 0 for once
    bool operator==(const DrumHit&) const = default;
};

struct Groove {
    RhythmFamily family = RhythmFamily::Backbeat;
    std::vector<DrumHit> main;    // the groove's own bar
    std::vector<DrumHit> answer;  // its partner: the same bar with a kick moved or added
    bool twoBar = false;          // bars go main, answer, main, answer; else main, varied
    bool usesFineGrid = false;    // has hits on odd 32nds
    // Speed swing: even rows last `longSpeed` ticks, odd rows `shortSpeed`.
    bool alternatesSpeed = false;
    int lateTicks = 0;  // delay swing: ticks the late hits wait
    std::vector<DrumRole> roles() const;
};

// A groove of the family; the random draw makes it the song's own.
Groove MakeGroove(RhythmFamily family, Random& random);

// How hard the drummer plays a section: softer verses, a lift in the choruses.
enum class Drive { Soft, Steady, Lift };

// One bar between fills as a drummer plays it: the groove's bar (or its answer, on the odd bars
// of a two-bar groove), now and then with a ghost note, an opened hat, a moved kick or a hat
// left out, and played harder or softer with the drive.
std::vector<DrumHit> PlayBar(const Groove& groove, int bar, Drive drive, Random& random);

inline constexpr int kFillKinds = 6;
// A fill for the bar before a new section: `kind` 0 to kFillKinds - 1.
std::vector<DrumHit> MakeFill(int kind, const Groove& groove, Random& random);

}  // namespace packgen
