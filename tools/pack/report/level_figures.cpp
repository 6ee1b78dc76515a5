#include "tools/pack/report/level_figures.h"

#include <algorithm>
#include <cmath>

#include "tools/pack/report/statistics.h"

namespace packreport {

namespace {

constexpr std::size_t kEndBlocks = 50;       // 0.5 s
constexpr std::size_t kWindowBlocks = 300;   // 3 s
constexpr std::size_t kOpeningBlocks = 800;  // 8 s
constexpr double kQuietDb = -50;
constexpr double kAudibleDb = -60;
constexpr double kHitRiseDb = 6;  // a final hit stands this far above the half second before

double Db(double power) {
    return power > 0 ? 10 * std::log10(power) : -200;
}

double MeanPower(const std::vector<double>& power, std::size_t from, std::size_t to) {
    to = std::min(to, power.size());
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += power[i];
    return to > from ? sum / static_cast<double>(to - from) : 0;
}

}  // namespace

LevelFigures MeasureLevels(const std::vector<double>& blockPower) {
    LevelFigures figures;
    const std::size_t n = blockPower.size();
    if (n == 0) return figures;
    const std::size_t endStart = n > kEndBlocks ? n - kEndBlocks : 0;
    figures.endDb = Db(MeanPower(blockPower, endStart, n));
    // A hit just struck: the loudest block of the last 1.5 s is in the final half second,
    // well above the half second before the hit.
    const std::size_t tailStart = n > 3 * kEndBlocks ? n - 3 * kEndBlocks : 0;
    const std::size_t loudest = static_cast<std::size_t>(
        std::max_element(blockPower.begin() + static_cast<std::ptrdiff_t>(tailStart),
                         blockPower.end()) -
        blockPower.begin());
    if (loudest >= endStart && loudest >= kEndBlocks) {
        const double before = MeanPower(blockPower, loudest - kEndBlocks, loudest);
        figures.endsOnHit = Db(blockPower[loudest]) >= Db(before) + kHitRiseDb;
    }

    std::vector<double> windows;
    for (std::size_t start = 0; start + kWindowBlocks <= n; start += kWindowBlocks) {
        const double level = Db(MeanPower(blockPower, start, start + kWindowBlocks));
        if (level >= kQuietDb) windows.push_back(level);
    }
    if (windows.empty()) return figures;
    figures.rangeDb = Percentile(windows, 0.95) - Percentile(windows, 0.10);
    std::size_t first = 0;
    while (first < n && Db(blockPower[first]) < kAudibleDb) ++first;
    figures.openingDb = Db(MeanPower(blockPower, first, first + kOpeningBlocks)) - Median(windows);
    return figures;
}

}  // namespace packreport
