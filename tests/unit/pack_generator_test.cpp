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
    std::set<int> openings, endings, speeds;
    for (const packgen::SongPlan& plan : plans) {
        SCOPED_TRACE(plan.fileName);
        if (plan.loops) continue;
        EXPECT_TRUE(
            signatures
                .emplace(plan.tempo, plan.key.tonic, static_cast<int>(plan.key.mode), plan.verse)
                .second)
            << "same tempo, key and progression as an earlier song";
        EXPECT_NE(plan.verse, plan.chorus);
        ASSERT_GE(plan.form.size(), 3u);
        EXPECT_EQ(plan.form.back().kind, SectionKind::Ending);
        EXPECT_EQ(plan.form[plan.form.size() - 2].kind, SectionKind::FinalChorus);
        std::map<SectionKind, int> count;
        for (const packgen::Section& section : plan.form) {
            EXPECT_GE(section.patterns, 1);
            ++count[section.kind];
        }
        EXPECT_GE(count[SectionKind::Verse] + count[SectionKind::Verse2], 1) << "a verse";
        EXPECT_LE(count[SectionKind::Intro], 1);
        // A cold start goes straight into the tune; every other opening has a section of its own.
        const SectionKind first = plan.form.front().kind;
        if (plan.opening == packgen::Opening::Cold) {
            EXPECT_NE(first, SectionKind::Intro);
        } else {
            EXPECT_TRUE(first == SectionKind::Intro || first == SectionKind::Breakdown);
        }
        const double seconds = packgen::FormSeconds(plan);
        EXPECT_GE(seconds, 90.0);
        EXPECT_LE(seconds, 240.0);
        EXPECT_GE(plan.tempo, 32);
        EXPECT_LE(plan.tempo, 255);
        EXPECT_GE(plan.speed, 2);
        EXPECT_LE(plan.speed, 8);
        if (plan.shortSpeed > 0) {
            EXPECT_LT(plan.shortSpeed, plan.speed) << "swing: a long row, then a short one";
            EXPECT_EQ(plan.rowsPerStep, 1);
        }
        openings.insert(static_cast<int>(plan.opening));
        endings.insert(static_cast<int>(plan.ending));
        speeds.insert(plan.speed);
    }
    EXPECT_GE(openings.size(), 6u) << "songs open in many ways";
    EXPECT_GE(endings.size(), 4u);
    EXPECT_GE(speeds.size(), 4u);
    EXPECT_EQ(std::count_if(plans.begin(), plans.end(), [](const auto& p) { return p.loops; }), 1);
    EXPECT_TRUE(plans.back().loops);
    EXPECT_NE(plans.back().form.back().kind, SectionKind::Ending);
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
