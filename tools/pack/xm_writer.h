// FastTracker 2 XM: instruments with volume and panning envelopes, linear frequencies.
#pragma once

#include "tools/pack/bytes.h"
#include "tools/pack/song.h"

namespace packgen {

Bytes WriteXm(const Song& song);

}  // namespace packgen
