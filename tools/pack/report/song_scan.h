// What the patterns of one module do with its samples: which samples are drums and of what
// kind, the song's dominant one-bar drum pattern and rhythm families, and its note blocks.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/pack/report/module_reader.h"

namespace openmpt {
class module;
}

namespace packreport {

enum class DrumKind { Kick, Tom, Snare, Hat, Cymbal, Blip };
const char* DrumKindName(DrumKind kind);

// What a sample sounds like on its own, from its data at the rate it is mostly played at.
enum class SampleClass { SingleCycle, LongLoop, Noise, OneShot };
const char* SampleClassName(SampleClass kind);

struct ScannedSample {
    int index = 0;  // into ModuleSamples::samples
    std::size_t uses = 0;
    std::map<int, std::size_t> notes;  // OpenMPT note (61 = C-5) and how often
    int commonNote = 61;
    SampleClass kind = SampleClass::OneShot;
    bool drum = false;
    DrumKind drumKind = DrumKind::Snare;
};

struct RhythmFamilies {
    bool fourOnFloor = false;
    bool backbeat = false;
    bool halfTime = false;
    bool breakbeat = false;
    bool shuffle = false;
    bool swing = false;  // alternating speeds or delayed off-beat hits
};

struct SongScan {
    std::vector<ScannedSample> samples;  // every sample with data
    int drumSounds = 0;
    std::string dominantDrumPattern;  // 16 of 'x' or '.', empty when the song has no drums
    RhythmFamilies families;
    // Channel blocks of 16 rows with at least two notes: "row:note ..." strings.
    std::set<std::string> noteBlocks;
};

SongScan ScanSong(openmpt::module& module, const ModuleSamples& samples,
                  const std::vector<std::pair<int, int>>& visitedRows, double speedChangesPerRow);

}  // namespace packreport
