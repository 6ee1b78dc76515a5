// Impulse Tracker IT: instruments with envelopes, new-note actions and resonant filters.
#pragma once

#include "tools/pack/bytes.h"
#include "tools/pack/song.h"

namespace packgen {

Bytes WriteIt(const Song& song);

}  // namespace packgen
