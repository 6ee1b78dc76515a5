// Costs of the engine's hot paths: the player's restart cycle, rendering against bare
// libopenmpt, and one spectrum request.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include <libopenmpt/libopenmpt.hpp>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/load_flags.h"
#include "audio/vector_state.h"
#include "support/test_modules.h"

namespace {

namespace ha = hollowtide::audio;
namespace ht = hollowtide::testing;

// A pack module when the pack has been generated, else a test module in a temporary folder.
class BenchModule {
  public:
    BenchModule() {
        if (const char* data = std::getenv("HOLLOWTIDE_DATA_DIR")) {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(data, error)) {
                if (entry.path().extension() == ".mod" || entry.path().extension() == ".MOD") {
                    path_ = entry.path().string();
                    return;
                }
            }
        }
        path_ = (dir_ / "song.mod").string();
        ht::WriteFile(path_, ht::MakeTestMod());
    }
    const std::string& path() const { return path_; }

  private:
    ht::TempDir dir_;
    std::string path_;
};

void RestartCycle(benchmark::State& state, ha::OutputKind kind) {
    if (kind == ha::OutputKind::Sdl) setenv("SDL_AUDIODRIVER", "dummy", 1);
    ha::SetOutputKind(kind);
    const BenchModule module;
    HMUSIC music = 0;
    for (auto _ : state) {
        BASS_Pause();
        BASS_StreamFree(music);
        BASS_Free();
        benchmark::DoNotOptimize(BASS_GetVersion());
        if (BASS_Init(-1, 44100, 0, nullptr) == 0) state.SkipWithError("init failed");
        BASS_Start();
        music = BASS_MusicLoad(0, module.path().c_str(), 0, 0, 16418);
        if (BASS_MusicPlayEx(music, 0, 0, 1) == 0) state.SkipWithError("play failed");
        // In the program a song plays between two restarts; closing a device that has only
        // just opened would measure SDL's start-up rather than the cycle.
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        state.ResumeTiming();
    }
    BASS_Free();
    ha::SetOutputKind(ha::OutputKind::Sdl);
}

void BM_RestartCycleOffline(benchmark::State& state) {
    RestartCycle(state, ha::OutputKind::Offline);
}
void BM_RestartCycleSdlDummy(benchmark::State& state) {
    RestartCycle(state, ha::OutputKind::Sdl);
}
BENCHMARK(BM_RestartCycleOffline)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_RestartCycleSdlDummy)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// A module of about three minutes: 64 patterns of 64 rows at speed 6.
std::vector<std::uint8_t> ThreeMinuteModule() {
    return ht::MakeTestMod(64, 24, 6);
}
constexpr std::size_t kThreeMinutes = 44100 * 180;
constexpr std::size_t kDeviceBuffer = 512;
constexpr DWORD kFlags = 16418;

void BM_RenderThroughEngine(benchmark::State& state) {
    const auto bytes = ThreeMinuteModule();
    ha::SetOutputKind(ha::OutputKind::Offline);
    std::vector<float> out(2 * kDeviceBuffer);
    for (auto _ : state) {
        BASS_Free();
        BASS_Init(-1, 44100, 0, nullptr);
        const HMUSIC music =
            BASS_MusicLoad(1, bytes.data(), 0, static_cast<DWORD>(bytes.size()), kFlags);
        BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1);
        for (std::size_t done = 0; done < kThreeMinutes; done += kDeviceBuffer) {
            ha::PumpOffline(out.data(), kDeviceBuffer);
        }
        benchmark::DoNotOptimize(out.data());
    }
    BASS_Free();
    ha::SetOutputKind(ha::OutputKind::Sdl);
}
BENCHMARK(BM_RenderThroughEngine)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

void BM_RenderBareLibopenmpt(benchmark::State& state) {
    const auto bytes = ThreeMinuteModule();
    std::vector<float> out(2 * kDeviceBuffer);
    for (auto _ : state) {
        std::ostringstream log;
        openmpt::module module(bytes.data(), bytes.data() + bytes.size(), log);
        ha::ApplyRenderSettings(module, ha::RenderSettingsForFlags(kFlags));
        module.set_repeat_count(-1);
        for (std::size_t done = 0; done < kThreeMinutes; done += kDeviceBuffer) {
            ha::ClearUpperVectorState();
            module.read_interleaved_stereo(44100, kDeviceBuffer, out.data());
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_RenderBareLibopenmpt)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

void BM_SpectrumRequest(benchmark::State& state) {
    ha::SetOutputKind(ha::OutputKind::Offline);
    BASS_Free();
    BASS_Init(-1, 44100, 0, nullptr);
    const auto bytes = ht::MakeTestMod();
    const HMUSIC music =
        BASS_MusicLoad(1, bytes.data(), 0, static_cast<DWORD>(bytes.size()), kFlags);
    BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1);
    ha::PumpOffline(nullptr, 8192);
    std::array<float, 513> buffer{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(BASS_ChannelGetData(music, buffer.data(), BASS_DATA_FFT512));
        benchmark::ClobberMemory();
    }
    BASS_Free();
    ha::SetOutputKind(ha::OutputKind::Sdl);
}
BENCHMARK(BM_SpectrumRequest)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
