#include <gtest/gtest.h>

#include <string>

#include "app/joke_steps.h"

namespace hollowtide::app {
namespace {

void ExpectFrame(const std::optional<JokeFrame>& frame, int option, const std::string& title,
                 PictureChange image1, PictureChange image3) {
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->option, option);
    EXPECT_EQ(std::string(frame->title), title);
    EXPECT_EQ(frame->image1, image1);
    EXPECT_EQ(frame->image3, image3);
}

TEST(JokeSteps, CycleThroughThreeStepsAndWrapOnTheFourthTick) {
    JokeSteps steps;
    ExpectFrame(steps.Tick(), 1, "Who wants a Jolly Rogering?", PictureChange::Show,
                PictureChange::Clear);
    EXPECT_EQ(steps.JokeStep, 2);
    ExpectFrame(steps.Tick(), 2, "Me me ME oooh ME!!!!!", PictureChange::Keep, PictureChange::Keep);
    ExpectFrame(steps.Tick(), 3, "Squeal like a pig, FAT BOY!", PictureChange::Clear,
                PictureChange::Show);
    EXPECT_EQ(steps.JokeStep, 4);
    ExpectFrame(steps.Tick(), 1, "Who wants a Jolly Rogering?", PictureChange::Show,
                PictureChange::Clear);
    EXPECT_EQ(steps.JokeStep, 2);
}

TEST(JokeSteps, AStepOutsideTheCycleShowsNothing) {
    for (std::int16_t odd : {0, 5, -1}) {
        JokeSteps steps;
        steps.JokeStep = odd;
        EXPECT_FALSE(steps.Tick().has_value()) << odd;
        EXPECT_EQ(steps.JokeStep, odd);
    }
}

}  // namespace
}  // namespace hollowtide::app
