// What human-made modules measure, from their 10th to their 90th percentile: the yardstick of
// the measures of how a song moves. The first group was measured over 47 modules from Debian's
// game packages. The effect shares come from `packreport --human` over 45 modules of nine of
// them (ironseed-data, pingus-data, tecnoballz-data, heroes-sound-tracks, freedroid-data,
// biniax2-data, gl-117-data, bomberclone-data, pekka-kana-2-data: every other module file of
// each, six at most).
#pragma once

#include <array>

#include "tools/pack/report/note_events.h"

namespace packreport::human {

inline constexpr double kEndDbHigh = -16.2;  // p90; p10 is digital silence
inline constexpr double kCentroidSpreadLow = 374, kCentroidSpreadHigh = 1372;
inline constexpr double kCrestLow = 11.9, kCrestHigh = 17.5;
inline constexpr double kRmsLow = -25.1, kRmsHigh = -13.9;
inline constexpr double kRepeatedOrdersHigh = 0.51;
inline constexpr double kMeanIntervalLow = 0.8, kMeanIntervalHigh = 9.3;
inline constexpr double kClashHigh = 0.14, kClashMedian = 0.03;
inline constexpr double kScaleFitMedian = 0.92;
inline constexpr double kDrumFormulaHigh = 0.21;
inline constexpr double kDrumChangeMedian = 0.79;
inline constexpr double kSkipHigh = 0.52, kSkipMedian = 0.25;
inline constexpr double kStepMedian = 0.65;
inline constexpr double kRangeLow = 1.9, kRangeMedian = 3.7;
inline constexpr double kOpeningMedian = -2.2;

struct Range {
    double low, high;
};
// Share of notes carrying each effect, in Idiom order.
inline constexpr std::array<Range, static_cast<std::size_t>(Idiom::Count)> kIdiomShares = {{
    {0, 0.003},      // arpeggio
    {0, 0.004},      // portamento up
    {0, 0.003},      // portamento down
    {0, 0.026},      // tone portamento
    {0, 0.014},      // vibrato
    {0, 0},          // tremolo
    {0, 0.233},      // volume slide
    {0.009, 0.662},  // volume set
    {0, 0.005},      // note delay
    {0, 0},          // note cut
    {0, 0.004},      // retrigger
    {0, 0.148},      // sample offset
    {0, 0},          // panning
}};

}  // namespace packreport::human
