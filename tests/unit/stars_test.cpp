#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <map>
#include <memory>
#include <vector>

#include "visuals/geometry.h"
#include "visuals/stars.h"

using namespace hollowtide::visuals;

namespace {

constexpr int kTimer4 = 0, kTimer5 = 1, kTimer6 = 2, kTimer7 = 3, kTimer8 = 4;

std::vector<StarEvent> EventsOf(const std::vector<StarEvent>& events, int star) {
    std::vector<StarEvent> mine;
    for (const StarEvent& event : events) {
        if (event.star == star) {
            mine.push_back(event);
        }
    }
    return mine;
}

}  // namespace

TEST(StarTable, PixelsAreTheNearestToTheTwipPoints) {
    for (const StarSpec& star : kStars) {
        EXPECT_EQ(star.pixel, TwipsPoint(star.twips.x(), star.twips.y())) << star.timerName;
    }
}

TEST(StarTwinkle, AlternatesLitAndDarkAndIgnoresOtherStates) {
    StarTwinkle star(5250);
    EXPECT_FALSE(star.Tick().has_value());  // state 0 before the window's load
    star.State = 1;
    auto tick = star.Tick();
    ASSERT_TRUE(tick);
    EXPECT_EQ(tick->colour, kStarLit);
    EXPECT_EQ(tick->nextIntervalMs, 200);
    EXPECT_EQ(star.State, 2);
    tick = star.Tick();
    ASSERT_TRUE(tick);
    EXPECT_EQ(tick->colour, kStarDark);
    EXPECT_EQ(tick->nextIntervalMs, 5250);
    EXPECT_EQ(star.State, 1);
    star.State = 3;
    EXPECT_FALSE(star.Tick().has_value());
    EXPECT_EQ(star.State, 3);
}

TEST(StarSchedule, EachStarFirstFlashesAfterItsDarkPause) {
    StarSchedule schedule;
    const auto events = schedule.RunUntil(30000);
    const std::map<int, std::int64_t> firstFlash{
        {kTimer7, 5250}, {kTimer8, 8895}, {kTimer6, 10310}, {kTimer5, 15250}, {kTimer4, 27250}};
    for (const auto& [star, time] : firstFlash) {
        const auto mine = EventsOf(events, star);
        ASSERT_FALSE(mine.empty()) << kStars[star].timerName;
        EXPECT_EQ(mine[0].timeMs, time) << kStars[star].timerName;
        EXPECT_EQ(mine[0].colour, kStarLit) << kStars[star].timerName;
    }
    // In 30 s every star flashed, Timer4's exactly once.
    const auto timer4 = EventsOf(events, kTimer4);
    ASSERT_EQ(timer4.size(), 2u);  // lit at 27.25 s, dark at 27.45 s
    EXPECT_EQ(timer4[1].timeMs, 27450);
    EXPECT_EQ(timer4[1].colour, kStarDark);
}

TEST(StarSchedule, FlashesLast200MsAndRepeatAfterTheNextDarkPause) {
    StarSchedule schedule;
    const auto timer7 = EventsOf(schedule.RunUntil(16150), kTimer7);
    const std::vector<std::pair<std::int64_t, QRgb>> expected{{5250, kStarLit},
                                                              {5450, kStarDark},
                                                              {10700, kStarLit},
                                                              {10900, kStarDark},
                                                              {16150, kStarLit}};
    ASSERT_EQ(timer7.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(timer7[i].timeMs, expected[i].first) << i;
        EXPECT_EQ(timer7[i].colour, expected[i].second) << i;
    }
}

class StarFieldTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "stars_test";
            static char* argv[] = {name, nullptr};
            app_ = std::make_unique<QCoreApplication>(argc, argv);
        }
    }
    static void TearDownTestSuite() { app_.reset(); }

    static inline std::unique_ptr<QCoreApplication> app_;
};

TEST_F(StarFieldTest, LayoutHasOnlyTimer4OnAndLoadStartsAllDark) {
    StarField stars;
    for (int i = 0; i < kStarCount; ++i) {
        EXPECT_EQ(stars.TimerOf(i).interval(), kStars[i].darkPauseMs) << i;
        EXPECT_EQ(stars.TimerOf(i).isActive(), i == kTimer4) << i;
        EXPECT_EQ(stars.TimerOf(i).timerType(), Qt::PreciseTimer) << i;
        EXPECT_EQ(stars.StateOf(i), 0) << i;
    }
    int painted = 0;
    QObject::connect(&stars, &StarField::PaintPoint, [&] { ++painted; });
    stars.TickStar(kTimer4);  // before the load: nothing happens
    EXPECT_EQ(painted, 0);

    stars.Load();
    for (int i = 0; i < kStarCount; ++i) {
        EXPECT_TRUE(stars.TimerOf(i).isActive()) << i;
        EXPECT_EQ(stars.TimerOf(i).interval(), kStars[i].darkPauseMs) << i;
        EXPECT_EQ(stars.StateOf(i), 1) << i;
    }
    EXPECT_EQ(&stars.TimerOf(kTimer8), &stars.Timer8);
}

TEST_F(StarFieldTest, TickPaintsItsOwnPointAndRewritesOnlyItsOwnTimer) {
    StarField stars;
    stars.Load();
    std::vector<std::pair<QPoint, QColor>> painted;
    QObject::connect(&stars, &StarField::PaintPoint,
                     [&](QPoint pixel, QColor colour) { painted.emplace_back(pixel, colour); });

    stars.TickStar(kTimer7);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].first, QPoint(67, 227));
    EXPECT_EQ(painted[0].second, QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(stars.Timer7.interval(), 200);
    EXPECT_TRUE(stars.Timer7.isActive());
    EXPECT_EQ(stars.StateOf(kTimer7), 2);
    for (int other : {kTimer4, kTimer5, kTimer6, kTimer8}) {
        EXPECT_EQ(stars.TimerOf(other).interval(), kStars[other].darkPauseMs) << other;
        EXPECT_EQ(stars.StateOf(other), 1) << other;
    }

    stars.TickStar(kTimer7);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[1].first, QPoint(67, 227));
    EXPECT_EQ(painted[1].second, QColor(0, 0, 0));
    EXPECT_EQ(stars.Timer7.interval(), 5250);
}

TEST_F(StarFieldTest, TimerTimeoutRunsTheTick) {
    StarField stars;
    stars.Load();
    QColor last;
    QObject::connect(&stars, &StarField::PaintPoint, [&](QPoint, QColor c) { last = c; });
    stars.Timer5.setInterval(1);  // instead of waiting 15.25 s
    EXPECT_TRUE(QTest::qWaitFor([&] { return last.isValid(); }, 5000));
    EXPECT_EQ(last, QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(stars.Timer5.interval(), 200);
}
