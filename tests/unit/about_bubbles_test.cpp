#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "about/bubbles.h"

namespace hollowtide::about {
namespace {

// Hands out the given values in turn and counts how many were asked for.
class ScriptedRandom {
  public:
    explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}
    RandomSource Source() {
        return [this] {
            const float value = values_.empty() ? 0.0f : values_[taken_ % values_.size()];
            ++taken_;
            return value;
        };
    }
    std::size_t taken() const { return taken_; }

  private:
    std::vector<float> values_;
    std::size_t taken_ = 0;
};

struct Circle {
    bool erase;
    double x, y, radius;
};

struct RecordingCanvas {
    std::vector<Circle> circles;
    BubbleCanvas canvas{[this](double x, double y, double r) {
                            circles.push_back({true, x, y, r});
                        },
                        [this](double x, double y, double r) {
                            circles.push_back({false, x, y, r});
                        }};
};

TEST(AboutBubbles, HalfWidthRoundsHalvesToEven) {
    ScriptedRandom random({0.5f});
    BubbleField field(random.Source());
    field.SetUp(465, 332);
    EXPECT_EQ(field.HalfWidth(), 232);
    field.SetUp(467, 332);
    EXPECT_EQ(field.HalfWidth(), 234);
    EXPECT_FLOAT_EQ(field.PhaseStep(), 0.04f);
}

TEST(AboutBubbles, SetUpTakesFourDrawsPerBubbleInOrderAndStartsBelowTheEdge) {
    ScriptedRandom random({0.5f, 0.25f, 0.75f, 0.1f});
    BubbleField field(random.Source());
    field.SetUp(465, 332);

    EXPECT_EQ(random.taken(), 4u * kBubblesInUse);
    for (int i = 0; i < kBubblesInUse; ++i) {
        const Bubble& b = field.Bubbles()[i];
        EXPECT_FLOAT_EQ(b.Sway, 13.0f) << i;   // 3 + 20 r
        EXPECT_FLOAT_EQ(b.Phase, 0.75f) << i;  // 3 r
        EXPECT_FLOAT_EQ(b.PosY, 407.0f) << i;  // height + 75
        EXPECT_FLOAT_EQ(b.Rise, 4.0f) << i;    // 1 + 4 r
        EXPECT_FLOAT_EQ(b.Radius, 1.2f) << i;  // 1 + 2 r
    }
    for (int i = kBubblesInUse; i < kBubbleRecords; ++i) {
        const Bubble& b = field.Bubbles()[i];
        EXPECT_EQ(b.Sway + b.Phase + b.PosY + b.Rise + b.Radius, 0.0f) << "record " << i;
    }
}

TEST(AboutBubbles, SwayRangesDifferBetweenSetUpAndRenewal) {
    ScriptedRandom low({0.0f});
    BubbleField field(low.Source());
    field.SetUp(465, 332);
    EXPECT_FLOAT_EQ(field.Bubbles()[0].Sway, 3.0f);
    field.Bubbles()[0].PosY = 0.5f;
    RecordingCanvas canvas;
    field.Frame(canvas.canvas);
    EXPECT_FLOAT_EQ(field.Bubbles()[0].Sway, 5.0f);

    ScriptedRandom high({0.999f});
    BubbleField wide(high.Source());
    wide.SetUp(465, 332);
    EXPECT_NEAR(wide.Bubbles()[0].Sway, 23.0f, 0.03f);
    EXPECT_NEAR(wide.Bubbles()[0].Radius, 3.0f, 0.003f);
    EXPECT_LT(wide.Bubbles()[0].Radius, 3.0f);
}

TEST(AboutBubbles, FrameErasesMovesAndRedrawsEachBubbleInTurn) {
    ScriptedRandom random({0.5f, 0.25f, 0.75f, 0.1f});
    BubbleField field(random.Source());
    field.SetUp(465, 332);
    const std::size_t drawsAfterSetUp = random.taken();

    RecordingCanvas canvas;
    field.Frame(canvas.canvas);

    ASSERT_EQ(canvas.circles.size(), 2u * kBubblesInUse);
    EXPECT_EQ(random.taken(), drawsAfterSetUp) << "no bubble was renewed, so no draws";
    const float newPhase = 0.75f + 0.04f / 4.0f;
    const double oldX = 232 + 13.0f * std::sin(6.28 * 0.75f);
    const double newX = 232 + 13.0f * std::sin(6.28 * newPhase);
    for (int i = 0; i < kBubblesInUse; ++i) {
        const Circle& erase = canvas.circles[2 * i];
        const Circle& draw = canvas.circles[2 * i + 1];
        EXPECT_TRUE(erase.erase);
        EXPECT_FALSE(draw.erase);
        EXPECT_DOUBLE_EQ(erase.x, oldX);
        EXPECT_DOUBLE_EQ(erase.y, 407.0);
        EXPECT_DOUBLE_EQ(draw.x, newX);
        EXPECT_DOUBLE_EQ(draw.y, 403.0);
        EXPECT_DOUBLE_EQ(draw.radius, 1.2f);
    }
    EXPECT_FLOAT_EQ(field.Bubbles()[0].Phase, newPhase);
}

TEST(AboutBubbles, RenewsOnlyOnceStrictlyPastTheTopEdge) {
    ScriptedRandom random({0.5f, 0.25f, 0.75f, 0.1f});
    BubbleField field(random.Source());
    field.SetUp(465, 332);
    Bubble& first = field.Bubbles()[0];
    first.PosY = 6.0f;
    first.Rise = 3.0f;
    RecordingCanvas canvas;

    field.Frame(canvas.canvas);  // 6 -> 3
    field.Frame(canvas.canvas);  // 3 -> 0: exactly at the edge, kept
    EXPECT_FLOAT_EQ(first.PosY, 0.0f);
    EXPECT_FLOAT_EQ(first.Rise, 3.0f);

    const std::size_t before = random.taken();
    canvas.circles.clear();
    field.Frame(canvas.canvas);  // 0 -> -3: renewed
    EXPECT_EQ(random.taken() - before, 4u);
    EXPECT_FLOAT_EQ(first.PosY, 342.0f);  // height + 10
    EXPECT_FLOAT_EQ(first.Sway, 15.0f);   // 5 + 20 r
    EXPECT_FLOAT_EQ(first.Phase, 0.75f);
    EXPECT_FLOAT_EQ(first.Rise, 4.0f);
    EXPECT_FLOAT_EQ(first.Radius, 1.2f);
    // Erased where it was, drawn where it starts again.
    EXPECT_DOUBLE_EQ(canvas.circles[0].y, 0.0);
    EXPECT_DOUBLE_EQ(canvas.circles[1].y, 342.0);
    EXPECT_DOUBLE_EQ(canvas.circles[1].x, 232 + 15.0f * std::sin(6.28 * 0.75f));
}

TEST(AboutBubbles, EveryBubbleStaysInsideTheBand) {
    BubbleField field(MakeClockSeededRandom());
    field.SetUp(465, 332);
    RecordingCanvas canvas;
    for (int frame = 0; frame < 2000; ++frame) field.Frame(canvas.canvas);
    for (const Circle& c : canvas.circles) {
        EXPECT_GE(c.x - c.radius, 204.0);
        EXPECT_LE(c.x + c.radius, 260.0);
        EXPECT_LE(c.y, 407.0);
        EXPECT_GE(c.y, 0.0);
    }
}

}  // namespace
}  // namespace hollowtide::about
