// A song's playing time as the media controls are told it.
#include <gtest/gtest.h>

#include "audio/module_length.h"
#include "support/test_modules.h"

using hollowtide::audio::ModuleFileLengthMicroseconds;
using hollowtide::testing::MakeTestMod;
using hollowtide::testing::TempDir;
using hollowtide::testing::WriteFile;

TEST(ModuleLength, IsThePlayingTimeOfTheModuleOnce) {
    TempDir dir;
    // Two patterns of 64 rows at speed 6, tempo 125: a row lasts 6 * 2.5 / 125 = 0.12 s.
    WriteFile(dir / "data" / "Song.MOD", MakeTestMod(64, 2, 6));
    const auto length = ModuleFileLengthMicroseconds((dir.path().string() + "\\data\\song.mod"));
    ASSERT_TRUE(length.has_value());
    EXPECT_NEAR(static_cast<double>(*length), 128 * 0.12e6, 1000.0);
}

TEST(ModuleLength, NothingForFilesThatAreNoModules) {
    TempDir dir;
    WriteFile(dir / "empty.mod", {});
    WriteFile(dir / "text.mod", std::vector<std::uint8_t>(2000, 'x'));
    for (const char* name : {"empty.mod", "text.mod", "missing.mod", ""}) {
        EXPECT_FALSE(ModuleFileLengthMicroseconds(dir.path().string() + "/" + name).has_value())
            << name;
    }
}
