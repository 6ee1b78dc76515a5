// The music pack in data/, rendered with libopenmpt: lengths, silences, levels and formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <set>
#include <thread>
#include <vector>

#include "audio/path_lookup.h"
#include "player/song_catalog.h"

namespace fs = std::filesystem;
namespace catalog = hollowtide::catalog;

namespace {

constexpr int kRate = 44100;
constexpr int kBlock = kRate / 100;            // 10 ms
constexpr float kSilence = 0.001f;             // -60 dBFS
constexpr double kLongestRenderSeconds = 400;  // a song that never ends stops here

struct Rendered {
    std::string fileName;
    std::vector<char> bytes;
    bool loaded = false;
    double seconds = 0;
    bool ended = false;
    double peakDb = -200;
    double rmsDb = -200;
    double longestInnerSilence = 0;  // seconds, between the first and the last sound
    double endDb = -200;             // RMS of the last half second, dBFS
};

fs::path DataFolder() {
    const char* folder = std::getenv("HOLLOWTIDE_DATA_DIR");
    return folder != nullptr ? fs::path(folder) : fs::path();
}

// The file whose name matches ignoring case, found the way the player finds it.
fs::path FindIgnoringCase(const fs::path& folder, const std::string& name) {
    return hollowtide::audio::FindPathIgnoringCase((folder / name).string()).value_or(fs::path());
}

void Render(Rendered& song) {
    try {
        openmpt::module module(song.bytes);
        song.loaded = true;
        std::vector<float> buffer(2 * kBlock);
        double sum = 0;
        float peak = 0;
        std::size_t frames = 0;
        std::vector<double> blockPower;  // the last half second's blocks, oldest first
        std::size_t silentRun = 0, longestRun = 0;
        bool heardAny = false;
        while (frames < kLongestRenderSeconds * kRate) {
            const std::size_t got = module.read_interleaved_stereo(kRate, kBlock, buffer.data());
            if (got == 0) {
                song.ended = true;
                break;
            }
            float blockPeak = 0;
            double blockSum = 0;
            for (std::size_t i = 0; i < 2 * got; ++i) {
                blockSum += static_cast<double>(buffer[i]) * buffer[i];
                blockPeak = std::max(blockPeak, std::fabs(buffer[i]));
            }
            sum += blockSum;
            blockPower.push_back(blockSum / (2.0 * static_cast<double>(got)));
            if (blockPower.size() > 50) blockPower.erase(blockPower.begin());
            peak = std::max(peak, blockPeak);
            if (blockPeak >= kSilence) {
                heardAny = true;
                longestRun = std::max(longestRun, silentRun);
                silentRun = 0;
            } else if (heardAny) {
                ++silentRun;
            }
            frames += got;
        }
        song.seconds = static_cast<double>(frames) / kRate;
        song.peakDb = 20 * std::log10(std::max(peak, 1e-10f));
        song.rmsDb =
            10 * std::log10(std::max(sum / (2.0 * std::max<std::size_t>(frames, 1)), 1e-20));
        song.longestInnerSilence = static_cast<double>(longestRun * kBlock) / kRate;
        double tail = 0;
        for (double power : blockPower) tail += power;
        if (tail > 0) song.endDb = 10 * std::log10(tail / static_cast<double>(blockPower.size()));
    } catch (const std::exception&) {
        song.loaded = false;
    }
}

// Every module of the pack as bytes: songs in table order, then the intro tune. Empty when a
// file is missing from the data folder.
const std::vector<Rendered>& LoadedPack() {
    static const std::vector<Rendered> pack = [] {
        std::vector<Rendered> songs;
        const fs::path folder = DataFolder();
        std::vector<std::string> names;
        for (const catalog::CatalogSong& song : catalog::kSongs) {
            names.push_back(catalog::FileNameOf(song));
        }
        names.push_back(catalog::kIntroTuneFileName);
        for (const std::string& name : names) {
            Rendered song;
            song.fileName = name;
            const fs::path path = FindIgnoringCase(folder, name);
            if (path.empty()) return std::vector<Rendered>{};
            std::ifstream in(path, std::ios::binary);
            song.bytes.assign(std::istreambuf_iterator<char>(in), {});
            songs.push_back(std::move(song));
        }
        return songs;
    }();
    return pack;
}

// The pack rendered once each, on two threads.
const std::vector<Rendered>& RenderedPack() {
    static const std::vector<Rendered> pack = [] {
        std::vector<Rendered> songs = LoadedPack();
        std::atomic<std::size_t> next{0};
        auto work = [&] {
            for (std::size_t i = next++; i < songs.size(); i = next++) Render(songs[i]);
        };
        std::thread helper(work);
        work();
        helper.join();
        return songs;
    }();
    return pack;
}

#define REQUIRE_PACK()                                                                     \
    ASSERT_EQ(LoadedPack().size(), 50u)                                                    \
        << "the music pack is missing from HOLLOWTIDE_DATA_DIR (" << DataFolder().string() \
        << "): build the music_pack target"

}  // namespace

TEST(PackRender, SongsPlayOnceForTheirLengthAndStayLevelWithoutGaps) {
    REQUIRE_PACK();
    std::vector<double> levels;
    for (std::size_t i = 0; i < catalog::kSongs.size(); ++i)
        levels.push_back(RenderedPack()[i].rmsDb);
    std::sort(levels.begin(), levels.end());
    const double median = levels[levels.size() / 2];
    for (std::size_t i = 0; i < RenderedPack().size(); ++i) {
        const Rendered& song = RenderedPack()[i];
        SCOPED_TRACE(song.fileName);
        ASSERT_TRUE(song.loaded);
        EXPECT_TRUE(song.ended);
        if (i < catalog::kSongs.size()) {
            EXPECT_GE(song.seconds, 90.0);
            EXPECT_LE(song.seconds, 240.0);
        }
        EXPECT_LE(song.longestInnerSilence, 2.0);
        EXPECT_LE(song.peakDb, -1.0);
        EXPECT_NEAR(song.rmsDb, median, 3.0);
    }
}

// A song ends as music does, faded or died away, not cut off in the middle of its sound; a
// few may end on a final hit still ringing.
TEST(PackRender, SongsDieAwayBeforeTheyEnd) {
    REQUIRE_PACK();
    int loudEnds = 0;
    for (std::size_t i = 0; i < catalog::kSongs.size(); ++i) {
        const Rendered& song = RenderedPack()[i];
        if (song.endDb > -30.0) ++loudEnds;
    }
    EXPECT_LE(loudEnds, 3);
}

TEST(PackRender, IntroTuneLoopsForThirtyToNinetySecondsWithoutAGap) {
    REQUIRE_PACK();
    Rendered intro = LoadedPack().back();
    Render(intro);
    ASSERT_TRUE(intro.loaded);
    EXPECT_GE(intro.seconds, 30.0);
    EXPECT_LE(intro.seconds, 90.0);

    // Played looping, it runs past its length and sounds right across the loop point.
    openmpt::module module(intro.bytes);
    module.set_repeat_count(-1);
    const double loop = module.get_duration_seconds();
    EXPECT_NEAR(loop, intro.seconds, 0.25);
    std::vector<float> buffer(2 * kBlock);
    double seconds = 0;
    double quietestAcrossSeam = 1;
    while (seconds < loop + 3) {
        ASSERT_EQ(module.read_interleaved_stereo(kRate, kBlock, buffer.data()),
                  static_cast<std::size_t>(kBlock));
        seconds += static_cast<double>(kBlock) / kRate;
        if (seconds > loop - 1 && seconds < loop + 1) {
            float peak = 0;
            for (float value : buffer) peak = std::max(peak, std::fabs(value));
            quietestAcrossSeam = std::min<double>(quietestAcrossSeam, peak);
        }
    }
    EXPECT_GE(quietestAcrossSeam, kSilence) << "the loop point falls silent";
    EXPECT_EQ(module.get_current_order(), 0) << "the tune did not restart from its beginning";
}

TEST(PackFiles, FormatsChannelsAndInstrumentUseAreAsIntended) {
    REQUIRE_PACK();
    std::size_t totalBytes = 0;
    for (std::size_t i = 0; i < LoadedPack().size(); ++i) {
        const Rendered& song = LoadedPack()[i];
        SCOPED_TRACE(song.fileName);
        totalBytes += song.bytes.size();
        const catalog::ModuleFormat format =
            i < catalog::kSongs.size() ? catalog::kSongs[i].format : catalog::ModuleFormat::Mod;
        openmpt::module module(song.bytes);
        int slots = 0;
        switch (format) {
            case catalog::ModuleFormat::Mod:
                EXPECT_EQ(module.get_metadata("type"), "mod");
                EXPECT_EQ(module.get_num_channels(), 4);
                ASSERT_GT(song.bytes.size(), 1084u);
                EXPECT_EQ(std::string(song.bytes.begin() + 1080, song.bytes.begin() + 1084),
                          "M.K.");
                EXPECT_EQ(module.get_num_instruments(), 0);
                slots = 0;
                for (int s = 0; s < module.get_num_samples(); ++s) {
                    if (!module.get_sample_names()[static_cast<std::size_t>(s)].empty()) ++slots;
                }
                break;
            case catalog::ModuleFormat::Xm:
                EXPECT_EQ(module.get_metadata("type"), "xm");
                EXPECT_EQ(module.get_num_channels(), 8);
                slots = module.get_num_instruments();
                break;
            case catalog::ModuleFormat::It:
                EXPECT_EQ(module.get_metadata("type"), "it");
                EXPECT_EQ(module.get_num_channels(), 8);
                slots = module.get_num_instruments();
                break;
        }
        EXPECT_GE(slots, 3) << "bass, lead and one more voice at least";

        // Every instrument (every sample in a MOD) is played somewhere in the song.
        std::set<int> used;
        for (int order = 0; order < module.get_num_orders(); ++order) {
            const int pattern = module.get_order_pattern(order);
            for (int row = 0; row < module.get_pattern_num_rows(pattern); ++row) {
                for (int channel = 0; channel < module.get_num_channels(); ++channel) {
                    const int instrument = module.get_pattern_row_channel_command(
                        pattern, row, channel, openmpt::module::command_instrument);
                    if (instrument != 0) used.insert(instrument);
                }
            }
        }
        EXPECT_EQ(static_cast<int>(used.size()), slots);
        EXPECT_EQ(*used.rbegin(), slots);
    }
    EXPECT_LT(totalBytes, 6u * 1024u * 1024u);
}
