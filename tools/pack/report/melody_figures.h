// What the written notes say about a song's melody and harmony: the lead's steps and skips,
// notes that clash, how well the voices share one scale, and whether lead and bass agree on
// a key.
#pragma once

#include <vector>

#include "tools/pack/report/note_events.h"

namespace packreport {

struct MelodyFigures {
    int leadChannel = -1;  // -1 when no channel plays melodic notes in enough bars
    int bassChannel = -1;
    double meanInterval = -1;  // lead, semitones; -1 without a lead
    double skipShare = -1;     // lead intervals of 3 to 7 semitones
    double stepShare = -1;     // lead intervals of 0 to 2 semitones
    double clashShare = -1;    // sounding pairs a minor second or major seventh apart
    double scaleFit = -1;      // largest share of melodic notes one diatonic scale covers
    int leadKey = -1;          // best-fit diatonic scale (its major tonic, 0 = C), -1 unknown
    int bassKey = -1;
    bool keysClash = false;  // lead and bass a semitone or a tritone apart
};

// The diatonic scale (major tonic 0 to 11) that covers most of `pitches`, with its share;
// ties go to the one closest on the circle of fifths to `near` (when 0 to 11).
struct ScaleFit {
    int tonic = -1;
    double share = 0;
};
ScaleFit BestScale(const std::vector<int>& pitches, int near = -1);

// Steps round the circle of fifths between two major tonics, 0 to 6.
int FifthsApart(int tonicA, int tonicB);

MelodyFigures MeasureMelody(const SongNotes& song);

}  // namespace packreport
