// Loading modules: the program's backslash paths, letter case that differs from the disk, and
// files that are missing, empty, truncated, corrupt or random.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/path_lookup.h"
#include "engine_fixture.h"
#include "support/test_modules.h"

namespace hollowtide::testing {
namespace {

using EngineLoadTest = OfflineEngineTest;

std::string WindowsStyle(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

TEST_F(EngineLoadTest, FindsFilesThroughBackslashesAndAnyLetterCase) {
    TempDir dir;
    WriteFile(dir / "Data" / "Artist_Tune.mod", MakeTestMod(4, 1, 1));
    const std::string base = dir.path().string();
    for (const std::string stored : {"/Data/Artist_Tune.mod", "\\data\\artist_tune.MOD",
                                     "\\DATA\\ARTIST_TUNE.MOD", "\\dAtA\\\\aRtIsT_tUnE.mOd"}) {
        const std::string path = WindowsStyle(base) + stored;
        EXPECT_NE(BASS_MusicLoad(0, path.c_str(), 0, 0, 34), 0u) << stored;
        EXPECT_EQ(BASS_ErrorGetCode(), 0);
    }
    EXPECT_EQ(audio::FindPathIgnoringCase(base + "\\DATA\\artist_tune.mod"),
              dir / "Data" / "Artist_Tune.mod");
}

TEST_F(EngineLoadTest, ExactCaseWinsOverAnotherSpelling) {
    TempDir dir;
    WriteFile(dir / "song.mod", MakeTestMod(4, 1, 1));
    WriteFile(dir / "SONG.mod", {1, 2, 3});
    EXPECT_EQ(audio::FindPathIgnoringCase((dir / "SONG.mod").string()), dir / "SONG.mod");
    EXPECT_EQ(audio::FindPathIgnoringCase((dir / "song.mod").string()), dir / "song.mod");
}

TEST_F(EngineLoadTest, FilesThatCannotBeOpenedGiveCode2) {
    TempDir dir;
    std::filesystem::create_directories(dir / "data" / "folder.mod");
    for (const std::string& path :
         {(dir / "data" / "missing.mod").string(), (dir / "nodir" / "x.mod").string(),
          (dir / "data" / "folder.mod").string(), std::string()}) {
        EXPECT_EQ(BASS_MusicLoad(0, path.c_str(), 0, 0, 0), 0u) << path;
        EXPECT_EQ(BASS_ErrorGetCode(), 2) << path;
    }
    EXPECT_EQ(BASS_MusicLoad(0, nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), 2);
}

TEST_F(EngineLoadTest, DataThatIsNotAModuleGivesCode6) {
    TempDir dir;
    const auto mod = MakeTestMod(8, 1, 1);
    std::vector<std::uint8_t> noMagic = mod;
    noMagic[1080] = 'X';  // "M.K." becomes "X.K.": no longer a 31-sample module
    std::vector<std::uint8_t> text(2000, 'a');
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
        {"empty.mod", {}},
        {"header-only.mod", std::vector<std::uint8_t>(mod.begin(), mod.begin() + 100)},
        {"text.xm", text},
    };
    for (const auto& [name, bytes] : cases) {
        WriteFile(dir / name, bytes);
        EXPECT_EQ(BASS_MusicLoad(0, (dir / name).c_str(), 0, 0, 0), 0u) << name;
        EXPECT_EQ(BASS_ErrorGetCode(), 6) << name;
    }
    EXPECT_EQ(LoadFromMemory({}), 0u);
}

// Whatever the bytes, loading either refuses them with 6 or gives a module that plays.
void ExpectLoadsOrRefuses(const std::vector<std::uint8_t>& bytes, const std::string& what) {
    const HMUSIC music = bytes.empty() ? BASS_MusicLoad(0, "", 0, 0, 0) : LoadFromMemory(bytes);
    if (music == 0) {
        EXPECT_TRUE(BASS_ErrorGetCode() == 6 || BASS_ErrorGetCode() == 2) << what;
        return;
    }
    EXPECT_NE(BASS_MusicPlayEx(music, 0, 0, 1), 0) << what;
    audio::PumpOffline(nullptr, 2048);
    BASS_StreamFree(music);
}

TEST_F(EngineLoadTest, FuzzedAndTruncatedModulesNeverCrash) {
    const auto mod = MakeTestMod(16, 2, 1);
    for (std::size_t length = 0; length < mod.size(); length += 37) {
        ExpectLoadsOrRefuses({mod.begin(), mod.begin() + length},
                             "truncated " + std::to_string(length));
    }
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes(1 + random() % 4000);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
        ExpectLoadsOrRefuses(bytes, "random " + std::to_string(round));
    }
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes = mod;
        for (int flips = 0; flips < 8; ++flips) {
            bytes[random() % bytes.size()] = static_cast<std::uint8_t>(byte(random));
        }
        ExpectLoadsOrRefuses(bytes, "mutated " + std::to_string(round));
    }
}

TEST_F(EngineLoadTest, OffsetAndLengthSelectPartOfTheFile) {
    TempDir dir;
    std::vector<std::uint8_t> padded(100, 0xEE);
    const auto mod = MakeTestMod(4, 1, 1);
    padded.insert(padded.end(), mod.begin(), mod.end());
    WriteFile(dir / "padded.bin", padded);
    const std::string path = (dir / "padded.bin").string();
    EXPECT_NE(BASS_MusicLoad(0, path.c_str(), 100, 0, 0), 0u);
    EXPECT_NE(BASS_MusicLoad(0, path.c_str(), 100, static_cast<DWORD>(mod.size()), 0), 0u);
    EXPECT_EQ(BASS_MusicLoad(0, path.c_str(), 100000, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), 6);
}

}  // namespace
}  // namespace hollowtide::testing
