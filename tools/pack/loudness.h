// An estimate of how loud a song plays, from its notes, volumes, samples and envelopes, without
// mixing it: the power each note brings while it sounds, summed over the song. Used to bring
// every song of the pack to one level.
#pragma once

#include "tools/pack/song.h"

namespace packgen {

// Mean power per second of the song, in the sample scale (a full-scale square at volume 64
// in one channel gives 1), before the format's own mixing level.
double EstimatedPower(const Song& song);

// Scales every volume of the song (sample defaults and the volumes in its cells) by `gain`.
void ScaleVolumes(Song& song, double gain);

// The largest volume in the song's samples and cells.
int LoudestVolume(const Song& song);

// Brings the song's estimated level to `targetDb` (dB of EstimatedPower), within what its
// volumes can do.
void Level(Song& song, double targetDb);

}  // namespace packgen
