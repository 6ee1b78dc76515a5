// Tidying a composed song: instruments that no pattern plays are dropped, with their samples.
#pragma once

#include "tools/pack/song.h"

namespace packgen {

void DropUnusedInstruments(Song& song);

}  // namespace packgen
