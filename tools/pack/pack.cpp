#include "tools/pack/pack.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "tools/pack/compose.h"
#include "tools/pack/it_writer.h"
#include "tools/pack/loudness.h"
#include "tools/pack/mod_writer.h"
#include "tools/pack/render_level.h"
#include "tools/pack/uniqueness.h"
#include "tools/pack/xm_writer.h"

namespace packgen {

namespace {

constexpr double kModLevelDb = -2.0;
constexpr double kXmLevelDb = 0.5;
constexpr double kItLevelDb = -5.5;

// Loud enough for the analyser's bars to stand up on the bass and the melody, with a margin
// under full scale for the players' own resampling.
constexpr LevelGoal kLevelGoal{-15.3, -1.4};

// The level each format is brought to, in dB of the estimate: the formats mix at levels of
// their own.
double TargetLevelDb(Format format) {
    switch (format) {
        case Format::Mod:
            return kModLevelDb;
        case Format::Xm:
            return kXmLevelDb;
        case Format::It:
            return kItLevelDb;
    }
    return kModLevelDb;
}

}  // namespace

Bytes WriteModule(const Song& song) {
    switch (song.format) {
        case Format::Mod:
            return WriteMod(song);
        case Format::Xm:
            return WriteXm(song);
        case Format::It:
            return WriteIt(song);
    }
    return {};
}

std::vector<ComposedSong> ComposePack() {
    std::vector<ComposedSong> songs;
    for (SongPlan& plan : PlanPack()) songs.push_back({std::move(plan), Song{}});
    // Composing and levelling a song needs nothing of the others, and levelling renders the
    // whole song: one worker per core. Each song keeps its own seed, so the pack stays the same.
    std::atomic<std::size_t> next{0};
    auto work = [&]() {
        for (std::size_t i = next++; i < songs.size(); i = next++) {
            Song song = Compose(songs[i].plan);
            Level(song, TargetLevelDb(song.format));
            LevelByRender(song, kLevelGoal);
            songs[i].song = std::move(song);
        }
    };
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> threads;
    for (unsigned w = 1; w < workers; ++w) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    // Keeping songs apart goes in pack order: each is checked against those before it.
    PackUniqueness uniqueness;
    for (ComposedSong& composed : songs)
        uniqueness.MakeUnique(composed.song, composed.plan.musician);
    return songs;
}

std::vector<PackFile> BuildPack() {
    std::vector<PackFile> pack;
    for (const ComposedSong& composed : ComposePack()) {
        pack.push_back({composed.plan.fileName, WriteModule(composed.song)});
    }
    return pack;
}

void WritePack(const std::vector<PackFile>& pack, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const PackFile& file : pack) {
        const std::filesystem::path path = folder / file.fileName;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace packgen
