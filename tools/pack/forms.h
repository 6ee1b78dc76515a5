// Song forms: how a song opens, what follows, and how it ends, grown to the song's length.
#pragma once

#include "tools/pack/plan.h"
#include "tools/pack/random.h"

namespace packgen {

std::vector<Section> MakeForm(const SongPlan& plan, Random& random);

// The intro screen's tune: a looping chip tune in D major without an ending.
SongPlan IntroTunePlan();

}  // namespace packgen
