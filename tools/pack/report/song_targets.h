// How each song moves, breathes and ends: endings, development, dynamics, melody, harmony,
// drums and effects, per song and for the pack, against the human modules' range.
#pragma once

#include <cstdio>
#include <vector>

#include "tools/pack/report/pack_figures.h"
#include "tools/pack/report/printer.h"

namespace packreport {

// The targets over the pack's songs.
void SongMeasureTargets(const std::vector<const SongFigures*>& songs, Printer& p);

// One line of these measures per song.
void PrintSongMeasureLines(const std::vector<const SongFigures*>& songs, std::FILE* out);

// Each measure's 10th percentile, median and 90th percentile over `songs`, and each effect's.
void PrintDistributions(const std::vector<const SongFigures*>& songs, std::FILE* out);

}  // namespace packreport
