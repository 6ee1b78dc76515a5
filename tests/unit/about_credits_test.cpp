#include <gtest/gtest.h>

#include <string>

#include "about/credits.h"

namespace hollowtide::about {
namespace {

TEST(AboutCredits, AlternateTogetherOnEveryTick) {
    Credits credits;
    EXPECT_EQ(std::string(credits.Label1Caption()), "CODE: Quiddle");
    EXPECT_EQ(std::string(credits.Label3Caption()), "BASS.DLL v1.8");

    credits.Tick();
    EXPECT_EQ(std::string(credits.Label1Caption()), "GFX: Quiddle");
    EXPECT_EQ(std::string(credits.Label3Caption()).rfind("By: ", 0), 0u);
    EXPECT_GT(std::string(credits.Label3Caption()).size(), 4u) << "the author has a name";

    credits.Tick();
    EXPECT_EQ(std::string(credits.Label1Caption()), "CODE: Quiddle");
    EXPECT_EQ(std::string(credits.Label3Caption()), "BASS.DLL v1.8");
}

}  // namespace
}  // namespace hollowtide::about
