// What each module of the pack is: musician, key, tempo, progressions and form, chosen so that
// no two songs share tempo, key and progression all at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/pack/harmony.h"
#include "tools/pack/song.h"

namespace packgen {

// Sections of a song. Verse2 is the verse's chords with a varied melody; Solo is an
// instrumental over the chorus chords; Breakdown drops the drums and builds back up.
enum class SectionKind {
    Intro,
    Verse,
    Chorus,
    Bridge,
    FinalChorus,
    Ending,
    Verse2,
    Solo,
    Breakdown
};

struct SongPlan {
    int number = 0;  // 1 to 49; 0 for the intro tune
    int musician = 0;
    Format format = Format::Mod;
    std::string fileName;
    std::string title;   // the module's internal name
    bool loops = false;  // the intro tune plays round and round; songs end
    Key key;
    int tempo = 125;
    int speed = 6;
    Progression verse;
    Progression chorus;
    Progression bridge;
    std::vector<SectionKind> form;
    std::uint64_t seed = 0;
};

// Seconds one 64-row pattern lasts at a speed and tempo.
double PatternSeconds(int speed, int tempo);
// Number of 64-row patterns a section spans.
int PatternsIn(SectionKind kind);

// The 49 songs in table order, then the intro tune.
std::vector<SongPlan> PlanPack();

}  // namespace packgen
