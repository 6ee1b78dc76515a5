#include "visuals/spectrum_levels.h"

#include "visuals/geometry.h"

namespace hollowtide::visuals {

int RawBarHeight(float magnitude, int H) {
    // A float times an int is exact in double, so only the final rounding decides.
    return RoundHalfEven(static_cast<double>(magnitude) * H);
}

int LiftedBarHeight(int y, int H) {
    if (y > 1 && y < H / 2.0) {
        return RoundHalfEven((H - y) * 0.3 + y);
    }
    return y;
}

float NextBarLevel(float level, int y, int H) {
    if (level < static_cast<float>(y)) {
        return static_cast<float>(y);
    }
    const float half = static_cast<float>(H) / 2.0f;
    return level > half ? level - 3.0f : level - 2.0f;
}

int DrawnBarHeight(float level) {
    return RoundHalfEven(level);
}

void UpdateBarLevels(BarLevelArray& levels, const float* spectrum, int H) {
    for (int k = 0; k < kBarCount; ++k) {
        const int y = LiftedBarHeight(RawBarHeight(spectrum[k + 1], H), H);
        levels[k] = NextBarLevel(levels[k], y, H);
    }
}

}  // namespace hollowtide::visuals
