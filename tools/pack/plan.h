// What each module of the pack is: musician, key, tempo and speed, groove, instruments,
// opening, form and ending, chosen so that no two songs share tempo, key and progression.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/pack/grooves.h"
#include "tools/pack/harmony.h"
#include "tools/pack/persona.h"
#include "tools/pack/song.h"

namespace packgen {

// Sections of a song. Verse2 is the verse's chords with a varied melody; Solo is an
// instrumental over the chorus chords; Breakdown drops the drums and the bass.
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

struct Section {
    SectionKind kind = SectionKind::Verse;
    int patterns = 1;
};

struct SongPlan {
    int number = 0;  // 1 to 49; 0 for the intro tune
    int musician = 0;
    int songOfMusician = 0;  // 0 for the musician's first song in the table
    Format format = Format::Mod;
    std::string fileName;
    std::string title;   // the module's internal name
    bool loops = false;  // the intro tune plays round and round; songs end
    Key key;
    int bpm = 120;        // beats per minute as a listener counts them
    int speed = 6;        // ticks per row (the long row's, under speed swing)
    int shortSpeed = 0;   // speed swing: the short row's ticks; 0 when rows do not alternate
    int tempo = 125;      // the tracker's tempo value
    int rowsPerStep = 1;  // rows per 16th note: 2 puts 32nds on the grid
    RhythmFamily groove = RhythmFamily::Backbeat;
    ToneKind lead = ToneKind::Pulse;
    ToneKind bass = ToneKind::ChipTriangle;
    ToneKind chords = ToneKind::Pulse;
    ToneKind pad = ToneKind::SoftSquare;
    BassFeel bassFeel = BassFeel::RootPulse;
    ChordFeel chordFeel = ChordFeel::FastArp;
    Opening opening = Opening::Cold;
    Ending ending = Ending::Cadence;
    double targetSeconds = 150;
    Progression verse;
    Progression chorus;
    Progression bridge;
    std::vector<Section> form;
    std::uint64_t seed = 0;

    int barsPerPattern() const { return 4 / rowsPerStep; }
};

// Seconds one 64-row pattern lasts at a speed and tempo.
double PatternSeconds(int speed, int tempo);
// Seconds the plan's form lasts.
double FormSeconds(const SongPlan& plan);

// The 49 songs in table order, then the intro tune.
std::vector<SongPlan> PlanPack();

}  // namespace packgen
