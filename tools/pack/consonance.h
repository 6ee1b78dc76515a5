// Keeping the voices of a song from rubbing: no two notes that sound together a minor second
// (or a major seventh) apart. Works on a pattern as it is being written, from the notes
// already in it; drums and other unpitched sounds never rub.
#pragma once

#include <vector>

#include "tools/pack/harmony.h"
#include "tools/pack/song.h"

namespace packgen {

// Whether two pitches sound a minor second or a major seventh apart, give or take octaves.
bool Rubs(int a, int b);

// The pitch sounding on `channel` at `row`, from the last note at or before it in the
// pattern; -1 once a key off, a cut or a volume of 0 has stopped it, before any note, and for
// an unpitched instrument.
int SoundingPitch(const Song& song, const Pattern& pattern, int row, int channel);

// Whether `pitch` would rub against anything sounding at `row` on `others`.
bool RubsAt(const Song& song, const Pattern& pattern, int row, int pitch,
            const std::vector<int>& others);

// The pitch of `key`'s scale nearest to `pitch` (a major third away at most) that rubs against
// nothing sounding at `row` on `others`: `pitch` itself when it is free; -1 when none is.
int NearestFreePitch(const Song& song, const Key& key, const Pattern& pattern, int row, int pitch,
                     const std::vector<int>& others);

// Over rows [from, to) of `channel`: a note struck against a rub moves to the nearest free
// pitch of the key where `mayMove`, and is dropped otherwise or where none is free; a held
// note that another voice comes to rub against is released on that row.
void ReleaseRubs(const Song& song, Pattern& pattern, const Key& key, int channel, int from, int to,
                 const std::vector<int>& others, bool mayMove);

}  // namespace packgen
