// The generator as a whole: deterministic, agrees with the song table, plans varied songs.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

#include "player/song_catalog.h"
#include "player/song_table.h"
#include "tools/pack/pack.h"
#include "tools/pack/plan.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const std::vector<packgen::PackFile>& Pack() {
    static const std::vector<packgen::PackFile> pack = packgen::BuildPack();
    return pack;
}

}  // namespace

TEST(PackGenerator, IsDeterministicAndWritesWhatItBuilds) {
    const std::vector<packgen::PackFile> again = packgen::BuildPack();
    ASSERT_EQ(again.size(), Pack().size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].fileName, Pack()[i].fileName);
        EXPECT_TRUE(again[i].bytes == Pack()[i].bytes) << again[i].fileName;
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("packgen_test_" + std::to_string(::getpid()));
    packgen::WritePack(Pack(), folder);
    for (const packgen::PackFile& file : Pack()) {
        std::ifstream in(folder / file.fileName, std::ios::binary);
        const std::vector<char> written((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(written.size(), file.bytes.size()) << file.fileName;
        EXPECT_TRUE(
            std::equal(written.begin(), written.end(), file.bytes.begin(),
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }))
            << file.fileName;
    }
    std::filesystem::remove_all(folder);
}

TEST(PackGenerator, WritesExactlyTheTablesFilesAndTheIntroTune) {
    std::set<std::string> names;
    for (const packgen::PackFile& file : Pack()) names.insert(Lower(file.fileName));
    ASSERT_EQ(names.size(), 50u) << "two files whose names differ only in case";
    for (int number = 1; number <= hollowtide::player::kSongCount; ++number) {
        const std::string path = hollowtide::player::FindSong(number)->storedPath;
        EXPECT_EQ(names.count(Lower(path.substr(6))), 1u) << path;
    }
    EXPECT_EQ(names.count(Lower(hollowtide::player::IntroTuneFileName().toStdString())), 1u);
}

TEST(PackGenerator, PlansVariedSongsWithReturningSectionsAndRealEndings) {
    using packgen::SectionKind;
    const std::vector<packgen::SongPlan> plans = packgen::PlanPack();
    ASSERT_EQ(plans.size(), 50u);
    std::set<std::tuple<int, int, int, packgen::Progression>> signatures;
    for (const packgen::SongPlan& plan : plans) {
        SCOPED_TRACE(plan.fileName);
        if (plan.loops) continue;
        EXPECT_TRUE(
            signatures
                .emplace(plan.tempo, plan.key.tonic, static_cast<int>(plan.key.mode), plan.verse)
                .second)
            << "same tempo, key and progression as an earlier song";
        EXPECT_NE(plan.verse, plan.chorus);
        EXPECT_EQ(plan.form.front(), SectionKind::Intro);
        EXPECT_EQ(plan.form.back(), SectionKind::Ending);
        std::map<SectionKind, int> count;
        for (SectionKind kind : plan.form) ++count[kind];
        EXPECT_GE(count[SectionKind::Verse] + count[SectionKind::Verse2], 1);
        EXPECT_GE(count[SectionKind::Chorus], 2) << "the chorus returns";
        EXPECT_EQ(count[SectionKind::Bridge], 1);
    }
    EXPECT_EQ(std::count_if(plans.begin(), plans.end(), [](const auto& p) { return p.loops; }), 1);
    EXPECT_TRUE(plans.back().loops);
    EXPECT_NE(plans.back().form.back(), SectionKind::Ending);
}

TEST(PackGenerator, DataFolderHoldsTheCurrentPack) {
    const char* folder = std::getenv("HOLLOWTIDE_DATA_DIR");
    ASSERT_NE(folder, nullptr) << "HOLLOWTIDE_DATA_DIR is not set";
    for (const packgen::PackFile& file : Pack()) {
        std::ifstream in(std::filesystem::path(folder) / file.fileName, std::ios::binary);
        ASSERT_TRUE(in.good()) << file.fileName << " is missing from " << folder
                               << ": build the music_pack target";
        const std::vector<char> onDisk((std::istreambuf_iterator<char>(in)), {});
        EXPECT_TRUE(
            onDisk.size() == file.bytes.size() &&
            std::equal(onDisk.begin(), onDisk.end(), file.bytes.begin(),
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }))
            << file.fileName << " is stale: rebuild the music_pack target";
    }
}
