// The time from Next to the first sample of the new song on the offline output: the whole song
// start (engine restart, module load, play) and the first mix of 64 frames. The offline
// output's pretended device buffer (1024 frames) is latency of a device, not of the program,
// and is not counted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/message_box.h"
#include "player/main_window.h"
#include "player/song_table.h"
#include "player_bench_folder.h"

namespace {

namespace audio = hollowtide::audio;
using Clock = std::chrono::steady_clock;

void NextToFirstSample(benchmark::State& state) {
    audio::SetOutputKind(audio::OutputKind::Offline);
    audio::SetMessageBoxHandler([](const audio::MessageBoxRequest&) {});
    const hollowtide::bench::BenchFolder folder;
    hollowtide::frm_MAIN window(folder.path());
    if (!window.Load()) {
        state.SkipWithError("the engine did not start");
        return;
    }
    window.Timer1Tick();

    constexpr std::size_t kChunk = 64;
    std::vector<float> out(2 * kChunk);
    std::vector<double> millis;
    for (auto _ : state) {
        const auto start = Clock::now();
        window.lbl_NEXT_Click();
        const HMUSIC handle = window.MusicHandle;
        // The first pump after the start mixes the new song's first frames into `out`.
        const std::size_t mixed = audio::PumpOffline(out.data(), kChunk);
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        millis.push_back(elapsed.count() * 1000.0);
        if (mixed != kChunk || BASS_ChannelIsActive(handle) == 0)
            state.SkipWithError("the new song did not start");
    }
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis.empty() ? 0.0 : millis[millis.size() / 2];
    state.counters["max_ms"] = millis.empty() ? 0.0 : millis.back();
    state.counters["pack"] = folder.IsPack() ? 1 : 0;
    BASS_Pause();
    BASS_Free();
}
BENCHMARK(NextToFirstSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(98);

// Twenty clicks on Next, 50 ms apart, through the SDL output (its dummy driver unless
// SDL_AUDIODRIVER asks for another, such as pulseaudio: bench/with_private_pulse.sh). Counts
// how long the last click waited to be handled after the first was due: the window must keep
// up, and end on the twentieth song after the first.
void TwentyQuickNexts(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    audio::SetOutputKind(audio::OutputKind::Sdl);
    audio::SetMessageBoxHandler([](const audio::MessageBoxRequest&) {});
    const hollowtide::bench::BenchFolder folder;
    std::vector<double> millis;
    for (auto _ : state) {
        hollowtide::frm_MAIN window(folder.path());
        if (!window.Load()) {
            state.SkipWithError("the engine did not start");
            return;
        }
        window.Timer1Tick();  // song 1 plays
        QEventLoop loop;
        const auto first = Clock::now();
        Clock::time_point last;
        for (int click = 0; click < 20; ++click) {
            QTimer::singleShot(50 * click, Qt::PreciseTimer, &window, [&, click] {
                window.lbl_NEXT_Click();
                if (click == 19) {
                    last = Clock::now();
                    loop.quit();
                }
            });
        }
        loop.exec();
        const std::chrono::duration<double> taken = last - first;
        state.SetIterationTime(taken.count());
        millis.push_back(taken.count() * 1000.0);
        if (window.Label1->text() != QStringLiteral("21")) state.SkipWithError("wrong song");
        window.imgExit_Click();
    }
    std::sort(millis.begin(), millis.end());
    // The clicks themselves span 950 ms; everything past that is time the window fell behind.
    state.counters["all_handled_ms"] = millis.empty() ? 0.0 : millis[millis.size() / 2];
    state.counters["pack"] = folder.IsPack() ? 1 : 0;
}
BENCHMARK(TwentyQuickNexts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
