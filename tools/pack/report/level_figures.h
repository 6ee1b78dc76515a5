// How loud a rendering is over its length: how it ends, how far its level moves, and how its
// opening sits against the rest. Worked out from the power of each 10 ms block.
#pragma once

#include <vector>

namespace packreport {

inline constexpr double kBlockSeconds = 0.01;

struct LevelFigures {
    double endDb = -200;     // RMS of the final 0.5 s, -200 for digital silence
    bool endsOnHit = false;  // those 0.5 s hold a hit just struck, louder than before it
    double rangeDb = 0;      // 3 s windows: 95th minus 10th percentile of their level
    double openingDb = 0;    // first 8 s after the first sound against the median window
};

// `blockPower`: mean square of both channels' samples, per 10 ms block.
LevelFigures MeasureLevels(const std::vector<double>& blockPower);

}  // namespace packreport
