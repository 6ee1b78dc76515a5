// The spectrum that BASS_ChannelGetData hands out: magnitudes of a 512-sample FFT.
//
// Thread contract: one analyser is used by one thread at a time (the UI thread).
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include <kissfft/kiss_fft.h>

namespace hollowtide::audio {

// A KissFFT complex plan, freed with the object. Throws std::bad_alloc when it cannot be made.
class KissFftPlan {
  public:
    explicit KissFftPlan(int size);
    kiss_fft_cfg get() const { return plan_.get(); }

  private:
    struct Free {
        void operator()(kiss_fft_state* plan) const;
    };
    std::unique_ptr<kiss_fft_state, Free> plan_;
};

class SpectrumAnalyser {
  public:
    static constexpr std::size_t kSize = 512;
    static constexpr std::size_t kBins = kSize / 2 + 1;  // 257: bins 0 to 256

    SpectrumAnalyser();

    // Hann-windowed FFT of a stereo block (kSize values per channel). Writes kBins magnitudes
    // into `bins`: in each bin the louder of the two channels, scaled so that a sine of
    // amplitude A centred on a bin gives A there (and a constant A gives A in bin 0). A sound
    // on one side only therefore reads as loud as the same sound in the middle. Nothing beyond
    // bins[kBins - 1] is touched.
    void analyse(const float* left, const float* right, float* bins);

  private:
    KissFftPlan plan_;
    std::array<float, kSize> window_{};
    // Both channels in one complex transform: left as the real part, right as the imaginary.
    std::array<kiss_fft_cpx, kSize> windowed_{};
    std::array<kiss_fft_cpx, kSize> spectrum_{};
    float scale_ = 0.0f;  // 2 / (sum of the window): undoes the window's coherent gain
};

}  // namespace hollowtide::audio
