// The bar arithmetic of the spectrum analyser: from the engine's FFT magnitudes to the heights
// of the 32 bars. Pure functions, no Qt and no engine, so tests can check exact levels.
//
// A bar's level is its height in pixels. Levels always hold whole numbers; a bar jumps up to a
// louder value at once and sinks by 3 pixels per pass above half height, by 2 at or below it,
// with no lower bound (so a silent bar swings between 0 and -2).
#pragma once

#include <array>

namespace hollowtide::visuals {

inline constexpr int kBarCount = 32;
inline constexpr int kBarPitch = 3;              // columns from one bar's left edge to the next
inline constexpr int kSpectrumBufferSize = 513;  // floats the engine's FFT request may write

using BarLevelArray = std::array<float, kBarCount>;

// magnitude x H, to the nearest whole number (an exact half to even). No upper limit.
int RawBarHeight(float magnitude, int H);

// Low bars (1 < y < H / 2) are lifted 30 % of the way towards the top; others are unchanged.
int LiftedBarHeight(int y, int H);

// The bar's next level: y when the level is below it, otherwise the level sunk by 3 (above H / 2)
// or by 2 (at or below H / 2).
float NextBarLevel(float level, int y, int H);

// The height the bar is drawn with: its level to the nearest whole number.
int DrawnBarHeight(float level);

// One pass of level updates: bar k reads spectrum[k + 1] (bin 0 is skipped), so `spectrum` must
// hold at least kBarCount + 1 floats.
void UpdateBarLevels(BarLevelArray& levels, const float* spectrum, int H);

}  // namespace hollowtide::visuals
