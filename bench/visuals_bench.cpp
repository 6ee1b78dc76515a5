// Speed of the analyser: one DrawSpectrum pass runs every 10 ms and must stay well under a
// tick (median <= 100 us), including the engine's spectrum request.
#include <benchmark/benchmark.h>

#include <QImage>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "support/test_modules.h"
#include "visuals/spectrum_analyser.h"
#include "visuals/spectrum_renderer.h"

using namespace hollowtide::visuals;
namespace audio = hollowtide::audio;

namespace {

// An offline engine playing a small module, pumped far enough for the spectrum to have data.
class PlayingEngine {
  public:
    PlayingEngine() {
        audio::SetOutputKind(audio::OutputKind::Offline);
        BASS_Init(-1, 44100, 0, nullptr);
        BASS_Start();
        module_ = hollowtide::testing::MakeTestMod();
        handle_ = BASS_MusicLoad(1, module_.data(), 0, static_cast<DWORD>(module_.size()), 0);
        BASS_MusicPlayEx(handle_, 0, BASS_MUSIC_LOOP, 1);
        audio::PumpOffline(nullptr, 8192);
    }
    ~PlayingEngine() {
        BASS_Pause();
        BASS_StreamFree(handle_);
        BASS_Free();
    }
    DWORD Handle() const { return handle_; }

  private:
    std::vector<std::uint8_t> module_;
    DWORD handle_ = 0;
};

void BM_DrawSpectrumPass(benchmark::State& state) {
    PlayingEngine engine;
    SpectrumAnalyser analyser;  // the engine's BASS_ChannelGetData
    analyser.DrawSpectrum(engine.Handle());
    if (analyser.PresentCount() != 1) {
        state.SkipWithError("the engine gave no spectrum");
        return;
    }
    for (auto _ : state) {
        analyser.DrawSpectrum(engine.Handle());
        benchmark::DoNotOptimize(analyser.Picture().constBits());
    }
}
BENCHMARK(BM_DrawSpectrumPass)->Repetitions(9)->ReportAggregatesOnly(true);

// The drawing alone, with every bar at full height (the most copying a pass can do).
void BM_RenderSpectrumFullBars(benchmark::State& state) {
    QImage box(kSpectrumDrawableSize, QImage::Format_RGB32);
    const QImage band = MakeBandImage();
    BarLevelArray levels{};
    levels.fill(static_cast<float>(box.height()));
    for (auto _ : state) {
        RenderSpectrum(box, band, levels, box.height());
        benchmark::DoNotOptimize(box.constBits());
    }
}
BENCHMARK(BM_RenderSpectrumFullBars)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
