#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "player/playback_rules.h"

namespace {

using hollowtide::player::NextTitleLeft;
using hollowtide::player::PickRandomSong;
using hollowtide::player::SongEntry;
using hollowtide::player::SongPath;

TEST(TitleScroll, MovesLeftAndReentersAfterSixtyTicks) {
    int left = 3000;
    std::vector<int> seen;
    for (int tick = 1; tick <= 60; ++tick) {
        left = NextTitleLeft(left);
        seen.push_back(left);
    }
    EXPECT_EQ(seen.front(), 2900);
    EXPECT_EQ(seen[58], -2900);             // the last position before the wrap
    EXPECT_EQ(seen.back(), 3000);           // -3000 is reached and replaced at once
    EXPECT_EQ(NextTitleLeft(-2950), 3000);  // anything at or past the wrap point re-enters
}

TEST(ShufflePick, MapsTheUnitIntervalOntoSongsOneTo49) {
    const auto pickOf = [](float r) { return PickRandomSong(0, [r] { return r; }); };
    EXPECT_EQ(pickOf(0.0f), 1);
    EXPECT_EQ(pickOf(1.0f / 49.0f - 1e-6f), 1);
    EXPECT_EQ(pickOf(1.0f / 49.0f + 1e-6f), 2);
    EXPECT_EQ(pickOf(std::nextafter(1.0f, 0.0f)), 49);
    // A faulty source never yields a song outside the table.
    EXPECT_EQ(pickOf(1.0f), 49);
    EXPECT_EQ(pickOf(-0.5f), 1);
    EXPECT_EQ(pickOf(std::numeric_limits<float>::quiet_NaN()), 1);
}

TEST(ShufflePick, DrawsAgainUntilTheSongToAvoidIsMissed) {
    std::vector<float> draws = {0.0f, 0.0f, 0.5f};
    std::size_t next = 0;
    EXPECT_EQ(PickRandomSong(1, [&] { return draws[next++]; }), 25);
    EXPECT_EQ(next, 3u);
}

TEST(ShufflePick, ClockSeededDrawsCoverEverySongButTheAvoidedOne) {
    const auto draw = hollowtide::player::ClockSeededDraw();
    std::vector<int> counts(51, 0);
    for (int i = 0; i < 20000; ++i) ++counts[PickRandomSong(17, draw)];
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[17], 0);
    EXPECT_EQ(counts[50], 0);
    for (int song = 1; song <= 49; ++song) {
        if (song != 17) {
            EXPECT_GT(counts[song], 250) << "song " << song;  // about 416 each
        }
    }
}

TEST(SongPath, JoinsTheProgramFolderAndTheStoredPathAsEightBitText) {
    const SongEntry entry{1, "X_t.MOD", "\\data\\Caf\xe9 Tune.MOD", 34};
    EXPECT_EQ(SongPath("/opt/ht", entry), QByteArray("/opt/ht\\data\\Caf\xc3\xa9 Tune.MOD"));
    EXPECT_EQ(SongPath("/opt/ht/", entry), QByteArray("/opt/ht\\data\\Caf\xc3\xa9 Tune.MOD"));
    EXPECT_EQ(SongPath("/", entry), QByteArray("/\\data\\Caf\xc3\xa9 Tune.MOD"));
}

}  // namespace
