#include "about/bubbles.h"

#include <chrono>
#include <cmath>
#include <random>
#include <utility>

#include "visuals/geometry.h"

namespace hollowtide::about {

namespace {

// Not 2 pi: the swing runs a little slower than one full turn per cycle of phase.
constexpr double kSwingFactor = 6.28;

// Set-up puts bubbles below the bottom edge; renewed bubbles start closer to it.
constexpr int kSetUpDepth = 75;
constexpr int kRenewDepth = 10;

}  // namespace

RandomSource MakeClockSeededRandom() {
    const auto seed =
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return [engine = std::mt19937(seed),
            uniform = std::uniform_real_distribution<float>(0.0f, 1.0f)]() mutable {
        // The distribution may round up to 1 for floats; keep the promise of [0, 1).
        const float value = uniform(engine);
        return value < 1.0f ? value : 0.0f;
    };
}

BubbleField::BubbleField(RandomSource random) : random_(std::move(random)) {}

void BubbleField::SetUp(int width, int height) {
    HalfWidth_ = static_cast<std::int16_t>(visuals::RoundHalfEven(width / 2.0));
    PhaseStep_ = 0.04f;
    height_ = height;
    for (int i = 0; i < kBubblesInUse; ++i) {
        Bubble& bubble = Bubbles_[i];
        // The draws are taken in exactly this order.
        bubble.Sway = 3 + 20 * random_();
        bubble.Phase = 3 * random_();
        bubble.PosY = static_cast<float>(height + kSetUpDepth);
        bubble.Rise = 1 + 4 * random_();
        bubble.Radius = 1 + 2 * random_();
    }
}

double BubbleField::CentreX(const Bubble& bubble) const {
    return HalfWidth_ + bubble.Sway * std::sin(kSwingFactor * bubble.Phase);
}

void BubbleField::Renew(Bubble& bubble) {
    bubble.Sway = 5 + 20 * random_();
    bubble.PosY = static_cast<float>(height_ + kRenewDepth);
    bubble.Phase = 3 * random_();
    bubble.Rise = 1 + 4 * random_();
    bubble.Radius = 1 + 2 * random_();
}

void BubbleField::Frame(const BubbleCanvas& canvas) {
    for (int i = 0; i < kBubblesInUse; ++i) {
        Bubble& bubble = Bubbles_[i];
        canvas.Erase(CentreX(bubble), bubble.PosY, bubble.Radius);
        bubble.PosY = bubble.PosY - bubble.Rise;
        bubble.Phase = bubble.Phase + PhaseStep_ / bubble.Rise;
        if (bubble.PosY < 0) Renew(bubble);  // a bubble exactly at the top stays a frame more
        canvas.Draw(CentreX(bubble), bubble.PosY, bubble.Radius);
    }
}

}  // namespace hollowtide::about
