// The intro screen's credits marquee: where the text stands (in twips inside its strip) and
// which colour it takes next. Plain logic, driven by the intro screen's two timers.
#pragma once

#include <QColor>
#include <cstdint>

namespace hollowtide {

class MarqueeScroll {
  public:
    static constexpr float kStep = 100.0f;
    static constexpr float kWrapAt = -17600.0f;
    static constexpr float kRestartAt = 2500.0f;
    static constexpr float kPlacementGap = 500.0f;

    // Puts the text just left of its strip: strip left - text width - 500.
    void Place(float stripLeftTwips, float textWidthTwips) {
        left_ = stripLeftTwips - textWidthTwips - kPlacementGap;
    }

    // One scroll step: 100 twips to the left, back to 2500 at -17600 or beyond.
    void Tick() {
        left_ -= kStep;
        if (left_ <= kWrapAt) left_ = kRestartAt;
    }

    float left() const { return left_; }
    void setLeft(float left) { left_ = left; }

  private:
    float left_ = 0.0f;
};

// `ColourStep`: 0 until the load event starts the cycle, then 1 cyan, 2 red, 3 white.
class MarqueeColourCycle {
  public:
    void Start() { ColourStep = 1; }

    // Returns the colour the text takes on this tick, or an invalid colour when the cycle has
    // not started (or holds an unknown step).
    QColor Tick();

    std::int16_t ColourStep = 0;
};

}  // namespace hollowtide
