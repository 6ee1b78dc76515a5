// Composition: turns a song plan into a finished tracker song, with a bass line that follows
// the chords, drums with fills, chord arpeggios, and a lead built from repeating motifs.
#pragma once

#include "tools/pack/plan.h"
#include "tools/pack/song.h"

namespace packgen {

Song Compose(const SongPlan& plan);

}  // namespace packgen
