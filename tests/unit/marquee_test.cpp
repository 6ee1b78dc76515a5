#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/marquee.h"

using hollowtide::MarqueeColourCycle;
using hollowtide::MarqueeScroll;

TEST(MarqueeScroll, DesignWidthScrollsOffThenWrapsToTheRight) {
    MarqueeScroll marquee;
    marquee.Place(705.0f, 17505.0f);
    std::vector<float> positions{marquee.left()};
    for (int tick = 0; tick < 4; ++tick) {
        marquee.Tick();
        positions.push_back(marquee.left());
    }
    EXPECT_EQ(positions, (std::vector<float>{-17300, -17400, -17500, 2500, 2400}));
}

TEST(MarqueeScroll, OnePassIs201PositionsAndNeverShowsTheWrapPoint) {
    MarqueeScroll marquee;
    marquee.setLeft(2500.0f);
    int ticks = 0;
    float lowest = marquee.left();
    do {
        marquee.Tick();
        lowest = std::min(lowest, marquee.left());
        ++ticks;
    } while (marquee.left() != 2500.0f);
    EXPECT_EQ(ticks, 201);
    EXPECT_EQ(lowest, -17500.0f);
}

TEST(MarqueeScroll, ConstantsDoNotFollowTheTextWidth) {
    MarqueeScroll marquee;
    marquee.Place(705.0f, 3000.0f);
    EXPECT_EQ(marquee.left(), -2795.0f);
    for (int tick = 0; tick < 148; ++tick) marquee.Tick();
    EXPECT_EQ(marquee.left(), -17595.0f);
    marquee.Tick();
    EXPECT_EQ(marquee.left(), 2500.0f);
}

TEST(MarqueeColourCycle, RunsCyanRedWhiteFromTheFirstTickAfterLoad) {
    MarqueeColourCycle cycle;
    EXPECT_FALSE(cycle.Tick().isValid()) << "no colour before the load event starts the cycle";
    EXPECT_EQ(cycle.ColourStep, 0);
    cycle.Start();
    const std::vector<QColor> expected{QColor(0, 255, 255), QColor(255, 0, 0),
                                       QColor(255, 255, 255), QColor(0, 255, 255)};
    for (const QColor& colour : expected) EXPECT_EQ(cycle.Tick(), colour);
    EXPECT_EQ(cycle.ColourStep, 2);
}

TEST(MarqueeColourCycle, UnknownStepChangesNothing) {
    MarqueeColourCycle cycle;
    cycle.ColourStep = 7;
    EXPECT_FALSE(cycle.Tick().isValid());
    EXPECT_EQ(cycle.ColourStep, 7);
}
