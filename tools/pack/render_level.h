// Levelling by listening: renders a song through libopenmpt, as a player would, and brings its
// loudness to a target without letting its peaks past a ceiling. The estimate in loudness.h
// sets the balance between songs before any mixing; this pass corrects what the estimate cannot
// know (coinciding drum hits, filters, the formats' mixers).
#pragma once

#include "tools/pack/song.h"

namespace packgen {

struct RenderedLevel {
    double rmsDb = -120;   // mean power of both channels over the whole song, dBFS
    double peakDb = -120;  // largest sample of either channel, dBFS
};

RenderedLevel MeasureRendered(const Song& song);

struct LevelGoal {
    double rmsDb;
    double peakCeilingDb;
};

// Scales the song towards `goal.rmsDb`, never past the peak ceiling. Returns the level reached.
RenderedLevel LevelByRender(Song& song, const LevelGoal& goal);

}  // namespace packgen
