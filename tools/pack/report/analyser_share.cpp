#include "tools/pack/report/analyser_share.h"

#include <algorithm>
#include <vector>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "visuals/spectrum_levels.h"

namespace packreport {

namespace {

constexpr int kBarHeight = 32;
constexpr std::size_t kPassFrames = 441;  // the analyser's 10 ms timer
constexpr int kPasses = 6000;             // 60 s

// The engine, up on the offline output for one song and freed on every way out.
class OfflineEngine {
  public:
    OfflineEngine() {
        hollowtide::audio::SetOutputKind(hollowtide::audio::OutputKind::Offline);
        up_ = BASS_Init(-1, 44100, 0, nullptr) != 0;
    }
    ~OfflineEngine() {
        BASS_Free();
        hollowtide::audio::SetOutputKind(hollowtide::audio::OutputKind::Sdl);
    }
    OfflineEngine(const OfflineEngine&) = delete;
    OfflineEngine& operator=(const OfflineEngine&) = delete;
    bool up() const { return up_; }

  private:
    bool up_ = false;
};

}  // namespace

double AnalyserShare(const std::string& path, std::uint32_t loadFlags) {
    OfflineEngine engine;
    if (!engine.up()) return -1;
    const HMUSIC music = BASS_MusicLoad(0, path.c_str(), 0, 0, loadFlags);
    if (music == 0 || BASS_MusicPlayEx(music, 0, 0, 1) == 0) return -1;
    std::vector<float> spectrum(hollowtide::visuals::kSpectrumBufferSize, 0.0f);
    hollowtide::visuals::BarLevelArray levels{};
    int tall = 0;
    for (int pass = 0; pass < kPasses; ++pass) {
        hollowtide::audio::PumpOffline(nullptr, kPassFrames);
        if (BASS_ChannelGetData(music, spectrum.data(), BASS_DATA_FFT512) < 0) {
            std::fill(spectrum.begin(), spectrum.end(), 0.0f);
        }
        hollowtide::visuals::UpdateBarLevels(levels, spectrum.data(), kBarHeight);
        if (*std::max_element(levels.begin(), levels.end()) >= kBarHeight / 2) ++tall;
    }
    return static_cast<double>(tall) / kPasses;
}

}  // namespace packreport
