// Costs of the engine's hot paths: the player's restart cycle, rendering against bare
// libopenmpt, and one spectrum request.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <sstream>
#include <string>

#include <libopenmpt/libopenmpt.hpp>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/load_flags.h"
#include "audio/sdl_output.h"
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

// The player's song start: pause, free, init, start, load, play. `playMs` of the song play
// before the next start: a Next clicked right after the last one shows whether a device that
// has only just opened slows the engine down.
void RestartCycle(benchmark::State& state, ha::OutputKind kind, int playMs) {
    // The SDL output plays into SDL's dummy driver unless SDL_AUDIODRIVER asks for another,
    // such as pulseaudio (bench/with_private_pulse.sh).
    if (kind == ha::OutputKind::Sdl) setenv("SDL_AUDIODRIVER", "dummy", 0);
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
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(playMs));
        state.ResumeTiming();
    }
    BASS_Free();
    ha::SetOutputKind(ha::OutputKind::Sdl);
}

void BM_RestartCycleOffline(benchmark::State& state) {
    RestartCycle(state, ha::OutputKind::Offline, 30);
}
void BM_RestartCycleSdl(benchmark::State& state) {
    RestartCycle(state, ha::OutputKind::Sdl, 30);
}
void BM_RestartCycleSdlRightAfterStart(benchmark::State& state) {
    RestartCycle(state, ha::OutputKind::Sdl, 0);
}
BENCHMARK(BM_RestartCycleOffline)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_RestartCycleSdl)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_RestartCycleSdlRightAfterStart)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// A module of about three minutes: 64 patterns of 64 rows at speed 6.
std::vector<std::uint8_t> ThreeMinuteModule() {
    return ht::MakeTestMod(64, 24, 6);
}
constexpr std::size_t kThreeMinutes = 44100 * 180;
// What the SDL device asks for at each callback.
constexpr std::size_t kDeviceBuffer = ha::SdlOutput::kBufferFrames;
constexpr DWORD kFlags = 16418;

// The engine started afresh, playing the module.
void StartEngine(const std::vector<std::uint8_t>& bytes) {
    BASS_Free();
    BASS_Init(-1, 44100, 0, nullptr);
    const HMUSIC music =
        BASS_MusicLoad(1, bytes.data(), 0, static_cast<DWORD>(bytes.size()), kFlags);
    BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1);
}

// libopenmpt alone, at the engine's settings.
void LoadBare(const std::vector<std::uint8_t>& bytes, std::ostream& log,
              std::optional<openmpt::module>& module) {
    module.emplace(bytes.data(), bytes.data() + bytes.size(), log);
    ha::ApplyRenderSettings(*module, ha::RenderSettingsForFlags(kFlags));
    module->set_repeat_count(-1);
}

void RenderBareBuffer(openmpt::module& module, float* out) {
    ha::ClearUpperVectorState();
    module.read_interleaved_stereo(44100, kDeviceBuffer, out);
}

// Three minutes through the engine's offline output, pumped as a device would take them.
void RenderThroughEngine(const std::vector<std::uint8_t>& bytes, std::vector<float>& out) {
    StartEngine(bytes);
    for (std::size_t done = 0; done < kThreeMinutes; done += kDeviceBuffer) {
        ha::PumpOffline(out.data(), kDeviceBuffer);
    }
    benchmark::DoNotOptimize(out.data());
}

// The same three minutes from libopenmpt alone.
void RenderBare(const std::vector<std::uint8_t>& bytes, std::vector<float>& out) {
    std::ostringstream log;
    std::optional<openmpt::module> module;
    LoadBare(bytes, log, module);
    for (std::size_t done = 0; done < kThreeMinutes; done += kDeviceBuffer) {
        RenderBareBuffer(*module, out.data());
    }
    benchmark::DoNotOptimize(out.data());
}

void BM_RenderThroughEngine(benchmark::State& state) {
    const auto bytes = ThreeMinuteModule();
    ha::SetOutputKind(ha::OutputKind::Offline);
    std::vector<float> out(2 * kDeviceBuffer);
    for (auto _ : state) RenderThroughEngine(bytes, out);
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
    for (auto _ : state) RenderBare(bytes, out);
}
BENCHMARK(BM_RenderBareLibopenmpt)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// The engine's overhead over bare libopenmpt, the two rendered in turn so that the machine's
// drift hits both alike: the median of the pairs' time ratios, minus one, in percent. Wall time
// counts whatever else the machine ran meanwhile; the thread's processor time does not count
// the time it waited for the processor.
struct RenderTimes {
    double wall = 0;
    double processor = 0;
};

double ThreadProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double MedianOverheadPct(std::vector<double> ratios) {
    if (ratios.empty()) return 0.0;
    std::sort(ratios.begin(), ratios.end());
    return 100.0 * (ratios[ratios.size() / 2] - 1);
}

void BM_RenderOverheadInTurns(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto bytes = ThreeMinuteModule();
    ha::SetOutputKind(ha::OutputKind::Offline);
    std::vector<float> out(2 * kDeviceBuffer);
    std::vector<double> wallRatios;
    std::vector<double> processorRatios;
    double fastestEngine = std::numeric_limits<double>::infinity();
    double fastestBare = std::numeric_limits<double>::infinity();
    const auto timed = [&](auto&& render) {
        const double processorStart = ThreadProcessorSeconds();
        const auto start = Clock::now();
        render(bytes, out);
        return RenderTimes{std::chrono::duration<double>(Clock::now() - start).count(),
                           ThreadProcessorSeconds() - processorStart};
    };
    // Which of the two goes first alternates: the second of a pair finds the caches and the
    // processor's clock as the first left them.
    bool engineFirst = true;
    for (auto _ : state) {
        RenderTimes engine;
        RenderTimes bare;
        if (engineFirst) {
            engine = timed(RenderThroughEngine);
            bare = timed(RenderBare);
        } else {
            bare = timed(RenderBare);
            engine = timed(RenderThroughEngine);
        }
        engineFirst = !engineFirst;
        wallRatios.push_back(engine.wall / bare.wall);
        processorRatios.push_back(engine.processor / bare.processor);
        fastestEngine = std::min(fastestEngine, engine.wall);
        fastestBare = std::min(fastestBare, bare.wall);
    }
    state.counters["overhead_pct"] = MedianOverheadPct(wallRatios);
    state.counters["cpu_overhead_pct"] = MedianOverheadPct(processorRatios);
    // The fastest run of each is the one the other programs on the machine disturbed least.
    state.counters["fastest_overhead_pct"] = 100.0 * (fastestEngine / fastestBare - 1);
    state.counters["pairs"] = static_cast<double>(wallRatios.size());
    BASS_Free();
    ha::SetOutputKind(ha::OutputKind::Sdl);
}
BENCHMARK(BM_RenderOverheadInTurns)->Unit(benchmark::kMillisecond)->Iterations(41);

// The same comparison with the two rendered side by side, one device buffer of each in turn:
// a burst of load from elsewhere on the machine lasts far longer than a buffer, so it hits
// both alike. The median over the iterations of the engine's time over the bare one's, minus
// one, in percent; loading is timed too.
void BM_RenderOverheadInterleaved(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto bytes = ThreeMinuteModule();
    ha::SetOutputKind(ha::OutputKind::Offline);
    std::vector<float> engineOut(2 * kDeviceBuffer);
    std::vector<float> bareOut(2 * kDeviceBuffer);
    std::vector<double> ratios;
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    bool engineLoadsFirst = true;
    for (auto _ : state) {
        std::ostringstream log;
        std::optional<openmpt::module> module;
        const auto loadEngine = [&] { StartEngine(bytes); };
        const auto loadBare = [&] { LoadBare(bytes, log, module); };
        // The order of the loads alternates too: with the same module twice, the one loaded
        // first rendered some tenths of a percent slower.
        auto start = Clock::now();
        engineLoadsFirst ? loadEngine() : loadBare();
        auto split = Clock::now();
        engineLoadsFirst ? loadBare() : loadEngine();
        auto end = Clock::now();
        double engine = seconds(engineLoadsFirst ? split - start : end - split);
        double bare = seconds(engineLoadsFirst ? end - split : split - start);
        engineLoadsFirst = !engineLoadsFirst;
        bool engineFirst = true;
        for (std::size_t done = 0; done < kThreeMinutes; done += kDeviceBuffer) {
            const auto renderEngine = [&] { ha::PumpOffline(engineOut.data(), kDeviceBuffer); };
            const auto renderBare = [&] { RenderBareBuffer(*module, bareOut.data()); };
            start = Clock::now();
            engineFirst ? renderEngine() : renderBare();
            split = Clock::now();
            engineFirst ? renderBare() : renderEngine();
            end = Clock::now();
            engine += seconds(engineFirst ? split - start : end - split);
            bare += seconds(engineFirst ? end - split : split - start);
            engineFirst = !engineFirst;
        }
        benchmark::DoNotOptimize(engineOut.data());
        benchmark::DoNotOptimize(bareOut.data());
        ratios.push_back(engine / bare);
    }
    state.counters["overhead_pct"] = MedianOverheadPct(ratios);
    BASS_Free();
    ha::SetOutputKind(ha::OutputKind::Sdl);
}
BENCHMARK(BM_RenderOverheadInterleaved)->Unit(benchmark::kMillisecond)->Iterations(21);

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
