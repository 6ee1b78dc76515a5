// How the drums move from bar to bar: the "three identical bars and a fill" formula, how often
// a bar that is no fill differs from the one before, and two-bar A-B patterns.
#pragma once

#include <string>
#include <vector>

#include "tools/pack/report/note_events.h"

namespace packreport {

struct DrumFigures {
    int groups = 0;            // 4-bar groups with drums, counted from each order position's top
    double formulaShare = -1;  // groups whose bars 1-3 are identical and bar 4 differs
    double changeShare = -1;   // bars 2 and 3 of a group that differ from the bar before
    int abGroups = 0;          // groups playing A B A B with A and B different
};

// One string per bar of the drum hits in it (channel, row in the bar, note, sample, volume
// set), per section in play order: a section starts at an order position, and a pattern of
// fewer than four bars (or not a multiple of four) runs on into the next one.
std::vector<std::vector<std::string>> DrumBars(const SongNotes& song);

DrumFigures MeasureDrums(const std::vector<std::vector<std::string>>& sections);

}  // namespace packreport
