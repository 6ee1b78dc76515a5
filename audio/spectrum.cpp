#include "audio/spectrum.h"

#include <cmath>
#include <new>
#include <numbers>

namespace hollowtide::audio {

KissFftrPlan::KissFftrPlan(int size) : plan_(kiss_fftr_alloc(size, 0, nullptr, nullptr)) {
    if (!plan_) throw std::bad_alloc();
}

void KissFftrPlan::Free::operator()(kiss_fftr_state* plan) const {
    kiss_fftr_free(plan);
}

SpectrumAnalyser::SpectrumAnalyser() : plan_(static_cast<int>(kSize)) {
    double sum = 0.0;
    for (std::size_t i = 0; i < kSize; ++i) {
        // Periodic Hann window: its bins line up exactly with the FFT's.
        const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / kSize);
        window_[i] = static_cast<float>(w);
        sum += w;
    }
    scale_ = static_cast<float>(2.0 / sum);
}

void SpectrumAnalyser::analyse(const float* samples, float* bins) {
    for (std::size_t i = 0; i < kSize; ++i) windowed_[i] = samples[i] * window_[i];
    kiss_fftr(plan_.get(), windowed_.data(), spectrum_.data());
    for (std::size_t k = 0; k < kBins; ++k) {
        // Bins 0 and kSize / 2 have no mirror image, so they carry the whole amplitude once.
        const float scale = (k == 0 || k == kBins - 1) ? 0.5f * scale_ : scale_;
        bins[k] = std::hypot(spectrum_[k].r, spectrum_[k].i) * scale;
    }
}

}  // namespace hollowtide::audio
