// Which channel carries which part, and which parts play in each section of a song.
#pragma once

#include "tools/pack/plan.h"

namespace packgen {

// Channel of each part; -1 where the song has no room for it. In a MOD one channel may carry
// several drum roles.
struct Layout {
    int bass = -1, kick = -1, snare = -1, hat = -1, lead = -1, echo = -1, chords = -1, pad = -1;
};

Layout LayoutFor(const SongPlan& plan, bool hasDrums);

struct Parts {
    bool kick = false, snare = false, hats = false;  // hats include percussion
    bool bass = false, chords = false, pad = false;
    bool lead = false, echo = false, solo = false, riser = false;
    bool fills = true;      // the last bar before the next section may be a fill
    bool leadAlt = false;   // the second lead voice takes the melody
    double gainFrom = 1.0;  // volume scale at the section's start, rising or falling
    double gainTo = 1.0;    // to this at its end
    bool steady() const { return gainFrom == gainTo; }
};

// The parts of a section; `first` is true for the song's first section.
Parts PartsOf(const SongPlan& plan, SectionKind kind, bool first);

}  // namespace packgen
