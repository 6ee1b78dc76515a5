#include "tools/pack/report/pack_figures.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <set>
#include <thread>

#include "audio/path_lookup.h"
#include "player/song_catalog.h"
#include "tools/pack/report/analyser_share.h"
#include "tools/pack/report/sample_pitch.h"

namespace packreport {

namespace fs = std::filesystem;
namespace catalog = hollowtide::catalog;

namespace {

// The file whose name matches ignoring case, found the way the player finds it.
fs::path FindIgnoringCase(const fs::path& folder, const std::string& name) {
    return hollowtide::audio::FindPathIgnoringCase((folder / name).string()).value_or(fs::path());
}

}  // namespace

void MeasureSong(SongFigures& song) {
    if (song.path.empty()) return;
    std::ifstream in(song.path, std::ios::binary);
    song.bytes.assign(std::istreambuf_iterator<char>(in), {});
    song.samples = ReadModuleSamples(song.bytes);
    song.render = Render(song.bytes);
    if (!song.samples || !song.render.loaded) return;
    std::set<std::uint64_t> hashes;
    for (const SampleData& sample : song.samples->samples) {
        if (!sample.data.empty()) hashes.insert(HashOf(sample.data));
    }
    song.sampleHashes.assign(hashes.begin(), hashes.end());
    for (const SampleData& sample : song.samples->samples)
        song.soundingOffsets.push_back(SoundingOffset(sample));
    openmpt::module module(song.bytes);
    song.scan =
        ScanSong(module, *song.samples, song.render.visitedRows, song.render.speedChangesPerRow);
    song.notes = ReadNotes(module, *song.samples, song.scan, song.soundingOffsets,
                           song.render.visitedRows, song.render.rowsPerSecond);
    song.melody = MeasureMelody(song.notes);
    song.drums = MeasureDrums(DrumBars(song.notes));
    song.idiomShares = IdiomShares(song.notes);
    std::vector<int> played;
    int lastOrder = -1;
    for (const auto& [order, row] : song.render.visitedRows) {
        (void)row;
        if (order == lastOrder) continue;
        lastOrder = order;
        played.push_back(module.get_order_pattern(order));
    }
    song.repeatedOrders = RepeatedOrderShare(played);
}

double RepeatedOrderShare(const std::vector<int>& playedPatterns) {
    std::set<int> seen;
    int repeats = 0;
    for (int pattern : playedPatterns) repeats += !seen.insert(pattern).second;
    return playedPatterns.empty() ? 0 : static_cast<double>(repeats) / playedPatterns.size();
}

std::uint64_t HashOf(const std::vector<std::int16_t>& data) {
    std::uint64_t hash = 0xCBF29CE484222325ull;  // FNV-1a
    for (std::int16_t value : data) {
        hash = (hash ^ static_cast<std::uint16_t>(value)) * 0x100000001B3ull;
    }
    return hash ^ data.size();
}

std::vector<SongFigures> MeasurePack(const fs::path& folder, bool throughEngine) {
    std::vector<SongFigures> pack;
    for (const catalog::CatalogSong& entry : catalog::kSongs) {
        SongFigures song;
        song.fileName = catalog::FileNameOf(entry);
        song.musician = entry.musician;
        song.loadFlags = entry.loadFlags;
        pack.push_back(std::move(song));
    }
    SongFigures intro;
    intro.fileName = catalog::kIntroTuneFileName;
    intro.musician = catalog::kIntroTuneMusician;
    intro.loadFlags = catalog::kModFlags;
    intro.isSong = false;
    pack.push_back(std::move(intro));
    for (SongFigures& song : pack) song.path = FindIgnoringCase(folder, song.fileName);

    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < pack.size(); i = next++) MeasureSong(pack[i]);
    };
    std::thread helper(work);
    work();
    helper.join();
    if (throughEngine) {
        for (SongFigures& song : pack) {
            if (song.isSong && !song.path.empty()) {
                song.analyserShare = AnalyserShare(song.path.string(), song.loadFlags);
            }
        }
    }
    return pack;
}

}  // namespace packreport
