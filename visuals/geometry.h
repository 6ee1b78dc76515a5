// Conversions shared by every window: layouts are given in twips (15 to a pixel at 96 dpi),
// and real values become whole numbers by rounding to the nearest, an exact half to even.
#pragma once

#include <QPoint>
#include <QRect>
#include <cmath>

namespace hollowtide::visuals {

// Nearest whole number; an exact half goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));  // the default rounding mode is to-even
}

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) {
    return RoundHalfEven(twips / kTwipsPerPixel);
}

inline QRect TwipsRect(double left, double top, double width, double height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

inline QPoint TwipsPoint(double x, double y) {
    return {TwipsToPixels(x), TwipsToPixels(y)};
}

}  // namespace hollowtide::visuals
