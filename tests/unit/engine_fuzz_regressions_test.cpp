// Every input the engine's fuzzer (tests/fuzz) has flagged, run through the same path with the
// module part of the input (tests/fuzz/fuzz_input.h): loaded from memory with every load flag of
// the pack, played, pumped, asked for its spectrum and freed. Inputs flagged as slow must also
// stay fast in an optimised build without the sanitizers.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "engine_fixture.h"
#include "fuzz/fuzz_input.h"

// The sanitizers slow the engine several times over, and so does an unoptimised build: a time
// bound holds only without them.
#if defined(__SANITIZE_ADDRESS__)
#define HOLLOWTIDE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define HOLLOWTIDE_SANITIZED 1
#endif
#endif
#if defined(__OPTIMIZE__) && !defined(HOLLOWTIDE_SANITIZED)
constexpr bool kTimeBoundsHold = true;
#else
constexpr bool kTimeBoundsHold = false;
#endif

namespace hollowtide::testing {
namespace {

struct Finding {
    const char* file;  // in tests/fuzz/regressions
    const char* what;  // what it broke, or how it was flagged
    // For an input flagged as slow: the most its six loads and plays may take in an optimised
    // build, four times what they take on a busy machine. 0: no bound.
    double boundSeconds = 0.0;
};

const std::array<Finding, 2> kFindings = {{
    {"slow-start-under-load.input",
     "a MOD whose first load took over a second on a loaded machine (0.3 s alone, sanitized)",
     0.25},
    {"slow-it-load.input",
     "an IT whose load took over a second on a loaded machine (60 ms alone, sanitized)", 1.0},
}};

std::vector<std::uint8_t> Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using EngineFuzzRegressionsTest = OfflineEngineTest;

TEST_F(EngineFuzzRegressionsTest, EveryFindingPlaysOrIsRefusedCleanlyAndInTime) {
    const std::filesystem::path folder = HOLLOWTIDE_FUZZ_REGRESSIONS;
    for (const Finding& finding : kFindings) {
        SCOPED_TRACE(std::string(finding.file) + ": " + finding.what);
        const std::vector<std::uint8_t> bytes = Read(folder / finding.file);
        const auto input = fuzzing::ReadFuzzInput(bytes);
        ASSERT_TRUE(input.has_value());
        const std::vector<std::uint8_t> module(input->module.begin(), input->module.end());
        const auto start = std::chrono::steady_clock::now();
        for (const DWORD flags : fuzzing::kPackLoadFlags) {
            const HMUSIC music = LoadFromMemory(module, flags);
            if (music == 0) {
                EXPECT_NE(BASS_ErrorGetCode(), 0);
                continue;
            }
            if (BASS_MusicPlayEx(music, 0, 0, 1) != 0) {
                Pump(3017, 441);
                std::array<float, 513> spectrum{};
                BASS_ChannelGetData(music, spectrum.data(), BASS_DATA_FFT512);
            }
            BASS_StreamFree(music);
            EXPECT_EQ(BASS_ErrorGetCode(), 0);
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (kTimeBoundsHold && finding.boundSeconds > 0.0) {
            EXPECT_LT(took.count(), finding.boundSeconds);
        }
    }
}

}  // namespace
}  // namespace hollowtide::testing
