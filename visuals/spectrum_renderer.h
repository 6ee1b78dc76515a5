// Drawing of the spectrum bars into an image: pure functions of the levels, so tests can check
// exact pixels without a window.
#pragma once

#include <QColor>
#include <QImage>

#include "visuals/spectrum_levels.h"

namespace hollowtide::visuals {

inline constexpr int kBandWidth = 2;
inline constexpr int kBandHeight = 50;
inline constexpr int kBarCopyWidth = 5;  // columns a bar copy spans; only the band's 2 exist
inline constexpr QRgb kBandGrey = 0xFFC6C6C6;
inline constexpr QRgb kBandBlack = 0xFF000000;

// The striped source of every bar (the picture of `picWinAmpBand`): 2 x 50, Format_RGB32, row r
// black where r mod 3 = 2 and grey C6C6C6 otherwise.
QImage MakeBandImage();

// Clears `box` to black, then draws every bar k with h = DrawnBarHeight(levels[k]) > 0 as a copy
// of the band's rows H - h .. H - 1 to the same rows of `box` at column 3k. Only the band's two
// columns are copied, so bars are 2 pixels wide with a 1-pixel black gap; rows above 0, rows
// beyond the band and columns beyond `box` are clipped, and nothing outside `band` is read.
// `box` should be Format_RGB32 (others are converted); its height is normally H.
void RenderSpectrum(QImage& box, const QImage& band, const BarLevelArray& levels, int H);

}  // namespace hollowtide::visuals
