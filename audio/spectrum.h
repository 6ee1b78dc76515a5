// The spectrum that BASS_ChannelGetData hands out: magnitudes of a 512-sample FFT.
//
// Thread contract: one analyser is used by one thread at a time (the UI thread).
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include <kissfft/kiss_fftr.h>

namespace hollowtide::audio {

// A KissFFT real-input plan, freed with the object. Throws std::bad_alloc when it cannot be made.
class KissFftrPlan {
  public:
    explicit KissFftrPlan(int size);
    kiss_fftr_cfg get() const { return plan_.get(); }

  private:
    struct Free {
        void operator()(kiss_fftr_state* plan) const;
    };
    std::unique_ptr<kiss_fftr_state, Free> plan_;
};

class SpectrumAnalyser {
  public:
    static constexpr std::size_t kSize = 512;
    static constexpr std::size_t kBins = kSize / 2 + 1;  // 257: bins 0 to 256

    SpectrumAnalyser();

    // Hann-windowed FFT of `samples` (kSize values). Writes kBins magnitudes into `bins`, scaled
    // so that a sine of amplitude A centred on a bin gives A there (and a constant A gives A in
    // bin 0). Nothing beyond bins[kBins - 1] is touched.
    void analyse(const float* samples, float* bins);

  private:
    KissFftrPlan plan_;
    std::array<float, kSize> window_{};
    std::array<float, kSize> windowed_{};
    std::array<kiss_fft_cpx, kBins> spectrum_{};
    float scale_ = 0.0f;  // 2 / (sum of the window): undoes the window's coherent gain
};

}  // namespace hollowtide::audio
