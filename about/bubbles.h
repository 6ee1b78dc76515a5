// The rising bubbles of the About screen: 31 cyan rings that climb and sway inside the black
// band between the two pictures. Plain logic: the window supplies the random source and the
// surface that the circles are erased from and drawn on, so every step can be checked exactly.
// Runs on the UI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace hollowtide::about {

// One bubble. All five values are single-precision, and every step below keeps them so.
struct Bubble {
    float Sway = 0;    // horizontal swing in pixels
    float Phase = 0;   // swing phase in cycles; grows without bound
    float PosY = 0;    // vertical centre in pixels, 0 at the top, growing downwards
    float Rise = 0;    // upward speed in pixels per frame
    float Radius = 0;  // circle radius in pixels
};

// The table has room for 101 records; only the first 31 ever move.
inline constexpr int kBubbleRecords = 101;
inline constexpr int kBubblesInUse = 31;

// Uniform values in [0, 1).
using RandomSource = std::function<float()>;

// A random source seeded from the clock.
RandomSource MakeClockSeededRandom();

// The circle operations one frame needs: both take the centre and the radius in pixels. Erase
// paints the circle black, outline and inside; Draw paints a cyan outline filled black.
struct BubbleCanvas {
    std::function<void(double x, double y, double radius)> Erase;
    std::function<void(double x, double y, double radius)> Draw;
};

class BubbleField {
  public:
    explicit BubbleField(RandomSource random);

    // Fresh bubbles for a surface of the given size: every one starts 75 pixels below the
    // bottom edge, so they come into view one by one at their own speeds.
    void SetUp(int width, int height);

    // Moves every bubble one step: erase, rise, sway, renew past the top edge, draw.
    void Frame(const BubbleCanvas& canvas);

    // The centre x of a bubble at its present phase.
    double CentreX(const Bubble& bubble) const;

    const std::array<Bubble, kBubbleRecords>& Bubbles() const { return Bubbles_; }
    std::array<Bubble, kBubbleRecords>& Bubbles() { return Bubbles_; }
    std::int16_t HalfWidth() const { return HalfWidth_; }
    float PhaseStep() const { return PhaseStep_; }

  private:
    void Renew(Bubble& bubble);

    RandomSource random_;
    std::array<Bubble, kBubbleRecords> Bubbles_{};
    std::int16_t HalfWidth_ = 0;
    float PhaseStep_ = 0.04f;
    int height_ = 0;
};

}  // namespace hollowtide::about
