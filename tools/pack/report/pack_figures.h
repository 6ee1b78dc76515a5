// Every file of the pack in a data folder, read back and measured: its samples, its patterns,
// its sound through libopenmpt and, optionally, through the program's engine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/pack/report/drum_figures.h"
#include "tools/pack/report/melody_figures.h"
#include "tools/pack/report/module_reader.h"
#include "tools/pack/report/note_events.h"
#include "tools/pack/report/render_figures.h"
#include "tools/pack/report/song_scan.h"

namespace packreport {

struct SongFigures {
    std::string fileName;
    std::filesystem::path path;  // empty when the file is missing
    int musician = 0;
    std::uint32_t loadFlags = 0;
    bool isSong = true;  // false for the intro tune
    std::vector<std::uint8_t> bytes;
    std::optional<ModuleSamples> samples;
    std::vector<std::uint64_t> sampleHashes;  // one per distinct non-empty sample
    RenderFigures render;
    SongScan scan;
    // Per sample of `samples`: semitones it sounds off its written pitch class, when pitched.
    std::vector<std::optional<double>> soundingOffsets;
    double analyserShare = -1;
    SongNotes notes;
    MelodyFigures melody;
    DrumFigures drums;
    std::vector<double> idiomShares;  // per Idiom
    double repeatedOrders = 0;        // played order positions whose pattern played before
};

std::uint64_t HashOf(const std::vector<std::int16_t>& data);

// Reads and measures the file at song.path (nothing when it is empty).
void MeasureSong(SongFigures& song);

// Played order positions, in play order, whose pattern was played at an earlier one.
double RepeatedOrderShare(const std::vector<int>& playedPatterns);

// The 49 songs in table order, then the intro tune.
std::vector<SongFigures> MeasurePack(const std::filesystem::path& folder, bool throughEngine);

}  // namespace packreport
