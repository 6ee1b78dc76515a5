// Reads back what a MOD, XM or IT file holds in its samples: their data, loops and rates, and
// which sample each instrument plays for a note. Patterns are read through libopenmpt instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace packreport {

struct SampleData {
    std::vector<std::int16_t> data;  // 8-bit samples scaled by 256
    bool loops = false;
    std::uint32_t loopStart = 0;
    std::uint32_t loopLength = 0;
    bool sixteenBit = false;
    std::size_t storedBytes = 0;
    std::string name;
    // Playback rate in Hz at OpenMPT note 61 (C-5), from the sample's tuning: MOD finetune, XM
    // relative note and finetune, IT C-5 speed.
    double c5Rate = 8363;
};

struct ModuleSamples {
    std::string type;  // "mod", "xm", "it" or "s3m"
    std::vector<SampleData> samples;
    // For XM and IT instruments: the 0-based sample that instrument i (0-based) plays for
    // OpenMPT note n (1 to 120), or -1. Empty when instruments are sample numbers (MOD, IT in
    // sample mode).
    std::vector<std::vector<int>> keymaps;

    // The 0-based sample a cell with 1-based `instrument` and OpenMPT `note` plays, or -1.
    int SampleFor(int instrument, int note) const;
};

// Parses the file's samples; nullopt when the bytes are no module this reader knows.
std::optional<ModuleSamples> ReadModuleSamples(const std::vector<std::uint8_t>& bytes);

}  // namespace packreport
