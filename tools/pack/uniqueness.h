// What keeps the songs of the pack apart: no sample's data in the songs of two musicians, and
// no 16-row block of notes of one channel in two songs. Songs are checked in pack order against
// those before them, and nudged where they meet one: a sample a step quieter, a note an octave
// (or, for a drum, a semitone) away.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/pack/song.h"

namespace packgen {

// The channel blocks of 16 rows with two notes or more in the patterns the song plays, as
// "row:note" text of the written notes.
std::set<std::string> NoteBlocks(const Song& song);

std::uint64_t SampleHash(const Sample& sample);

class PackUniqueness {
  public:
    // Nudges `song` (of `musician`) until it shares nothing it may not with earlier songs,
    // then remembers what it holds.
    void MakeUnique(Song& song, int musician);

  private:
    std::map<std::uint64_t, int> sampleOwners_;  // hash -> musician
    std::set<std::string> blocks_;
};

}  // namespace packgen
