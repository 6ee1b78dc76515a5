// Melodic motifs: one bar of rhythm with a contour in scale steps, and their variations.
#pragma once

#include <vector>

#include "tools/pack/random.h"

namespace packgen {

struct MotifNote {
    int step = 0;    // row within the bar, 0 to 15
    int length = 1;  // rows
    int offset = 0;  // scale steps from the bar's anchor
};

using Motif = std::vector<MotifNote>;

// A new motif; `density` 0 to 100 chooses between sparse and busy rhythms.
Motif MakeMotif(Random& random, int density, int leapiness);
// The same rhythm with its ending turned: the answer to a motif.
Motif AnswerTo(const Motif& motif, Random& random);
// The motif with its longest note split in two by a neighbour note: a decorated repeat.
Motif Ornamented(const Motif& motif, Random& random);
// The same notes with one of them a step early or late: a motif's rhythm varied on return.
Motif Retimed(const Motif& motif, Random& random);
// A closing bar: a short pickup then a long note on the anchor.
Motif Cadence(Random& random);

}  // namespace packgen
