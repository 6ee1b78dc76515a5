// The pack's targets, each printed with its measured value and whether it is met.
#pragma once

#include <cstdio>
#include <optional>
#include <vector>

#include "tools/pack/report/pack_figures.h"

namespace packreport {

struct ReportOptions {
    std::optional<bool> generatorCurrent;  // the data folder holds what the generator builds
    std::optional<bool> deterministic;     // two runs of the generator gave the same bytes
    bool perSong = false;                  // also print one line per song
};

// Prints every target; returns whether all are met.
bool PrintTargets(const std::vector<SongFigures>& pack, const ReportOptions& options,
                  std::FILE* out);

}  // namespace packreport
