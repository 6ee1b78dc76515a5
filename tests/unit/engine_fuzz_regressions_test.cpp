// Every input the engine's fuzzer (tests/fuzz) has flagged, run through the same path: loaded
// from memory with every load flag of the pack, played, pumped, asked for its spectrum and freed.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "engine_fixture.h"

namespace hollowtide::testing {
namespace {

struct Finding {
    const char* file;  // in tests/fuzz/regressions
    const char* what;  // what it broke, or how it was flagged
};

constexpr std::array<Finding, 1> kFindings = {{
    {"slow-start-under-load.mod",
     "a MOD whose first load took over a second on a loaded machine (0.3 s alone, sanitized)"},
}};

std::vector<std::uint8_t> Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using EngineFuzzRegressionsTest = OfflineEngineTest;

TEST_F(EngineFuzzRegressionsTest, EveryFindingPlaysOrIsRefusedCleanly) {
    const std::filesystem::path folder = HOLLOWTIDE_FUZZ_REGRESSIONS;
    for (const Finding& finding : kFindings) {
        SCOPED_TRACE(std::string(finding.file) + ": " + finding.what);
        const std::vector<std::uint8_t> bytes = Read(folder / finding.file);
        ASSERT_FALSE(bytes.empty());
        for (const DWORD flags : {34u, 16418u, 17u, 16401u, 2u, 18u}) {
            const HMUSIC music = LoadFromMemory(bytes, flags);
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
    }
}

}  // namespace
}  // namespace hollowtide::testing
