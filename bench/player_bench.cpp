// The time from Next to the first sample of the new song on the offline output: the whole song
// start (engine restart, module load, play) and the first mix.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "audio/message_box.h"
#include "player/main_window.h"
#include "player/song_table.h"
#include "support/test_modules.h"

namespace {

namespace audio = hollowtide::audio;
using Clock = std::chrono::steady_clock;

// The generated pack beside the executable when it is there, else a folder of test modules.
class BenchFolder {
  public:
    BenchFolder() {
        const QString beside = QCoreApplication::applicationDirPath();
        if (QDir(beside + "/data").entryList({"*.mod", "*.xm", "*.it"}, QDir::Files).size() >=
            hollowtide::player::kSongCount) {
            path_ = beside;
            return;
        }
        temp_ = std::make_unique<hollowtide::testing::TempDir>();
        const auto bytes = hollowtide::testing::MakeTestMod(64, 4);
        for (int number = 1; number <= hollowtide::player::kSongCount; ++number) {
            const char* name = hollowtide::player::FindSong(number)->storedPath + 6;
            hollowtide::testing::WriteFile(*temp_ / "data" / name, bytes);
        }
        path_ = QString::fromStdString(temp_->path().string());
    }
    const QString& path() const { return path_; }
    bool IsPack() const { return temp_ == nullptr; }

  private:
    std::unique_ptr<hollowtide::testing::TempDir> temp_;
    QString path_;
};

void NextToFirstSample(benchmark::State& state) {
    audio::SetOutputKind(audio::OutputKind::Offline);
    audio::SetMessageBoxHandler([](const audio::MessageBoxRequest&) {});
    const BenchFolder folder;
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
        for (int chunk = 0; chunk < 1024 && audio::PlayedFrames(handle) == 0; ++chunk)
            audio::PumpOffline(out.data(), kChunk);
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        millis.push_back(elapsed.count() * 1000.0);
        if (audio::PlayedFrames(handle) == 0) state.SkipWithError("the new song was never heard");
    }
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis.empty() ? 0.0 : millis[millis.size() / 2];
    state.counters["max_ms"] = millis.empty() ? 0.0 : millis.back();
    state.counters["pack"] = folder.IsPack() ? 1 : 0;
    BASS_Pause();
    BASS_Free();
}
BENCHMARK(NextToFirstSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(98);

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
