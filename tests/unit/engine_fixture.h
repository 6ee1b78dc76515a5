// Shared set-up of the engine tests: an engine on the offline output, torn down after each test
// with every seam back at its default.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"

namespace hollowtide::testing {

inline constexpr std::size_t kDefaultOfflineBuffer = 1024;

inline void ResetEngineSeams() {
    BASS_Free();
    audio::SetOutputKind(audio::OutputKind::Sdl);
    audio::InjectFailures({});
    audio::SetOfflineBufferFrames(kDefaultOfflineBuffer);
}

inline HMUSIC LoadFromMemory(const std::vector<std::uint8_t>& bytes, DWORD flags = 0) {
    return BASS_MusicLoad(1, bytes.data(), 0, static_cast<DWORD>(bytes.size()), flags);
}

// Pumps the offline output and returns the interleaved frames.
inline std::vector<float> Pump(std::size_t frames, std::size_t bufferFrames = 1000) {
    std::vector<float> out(2 * frames);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t step = std::min(bufferFrames, frames - done);
        audio::PumpOffline(out.data() + 2 * done, step);
        done += step;
    }
    return out;
}

class OfflineEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEngineSeams();
        audio::SetOutputKind(audio::OutputKind::Offline);
        ASSERT_NE(BASS_Init(-1, 44100, 0, nullptr), 0);
    }
    void TearDown() override { ResetEngineSeams(); }
};

}  // namespace hollowtide::testing
