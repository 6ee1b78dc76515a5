// One module rendered through libopenmpt at its default settings, the way a listener's player
// plays it: length, levels, the opening's loudness, its brightness over time and the rows it
// passes through. Every audio figure comes from this one rendering.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "tools/pack/report/level_figures.h"

namespace packreport {

struct RenderFigures {
    bool loaded = false;
    bool ended = false;  // stopped by itself within the render limit
    double seconds = 0;
    double peakDb = -200;
    double rmsDb = -200;
    std::vector<double> envelope;  // RMS per 10 ms of the mono mix, the first 8 s
    double buildUpDb = 0;          // loudness of 8-10 s over 0-2 s after the first sound
    double rowsPerSecond = 0;
    int mainSpeed = 0;              // ticks per row for the longest time
    double speedChangesPerRow = 0;  // how often the speed differs from the row before
    std::vector<std::pair<int, int>> visitedRows;  // (order, row), in play order, first visits
    LevelFigures levels;
    double crestDb = 0;         // whole-song sample peak over whole-song RMS
    double centroidSpread = 0;  // standard deviation of the 1 s spectral centroids, Hz
};

RenderFigures Render(const std::vector<std::uint8_t>& bytes);

}  // namespace packreport
