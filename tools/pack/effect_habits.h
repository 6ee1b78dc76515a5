// Each musician's way with tracker effects on the tune: how often a lead note comes a few
// ticks late, restarts past its sample's attack, flutters up by arpeggio or bends down as its
// phrase ends, and how often the bass glides from note to note. Their vibrato and the lead's
// tone portamento are in persona.h.
#pragma once

namespace packgen {

struct EffectHabits {
    int delays = 0;      // percent of off-beat lead notes pushed late by a note delay (EDx)
    int offsets = 0;     // percent of repeated plucked lead notes struck past the attack (9xx)
    int trills = 0;      // percent of long lead notes that open with an arpeggio flutter (0xy)
    int falls = 0;       // percent of phrase-ending lead notes that bend down as they end (2xx)
    int bassSlides = 0;  // percent of held bass notes that glide into the next one (3xx)
};

const EffectHabits& HabitsOf(int musician);

}  // namespace packgen
