// ProTracker MOD: 4 channels, 31 samples, "M.K." signature.
#pragma once

#include "tools/pack/bytes.h"
#include "tools/pack/song.h"

namespace packgen {

// The song's instruments become MOD samples (their sample only; envelopes are dropped).
// Written notes outside ProTracker's three octaves are folded into them.
Bytes WriteMod(const Song& song);

}  // namespace packgen
