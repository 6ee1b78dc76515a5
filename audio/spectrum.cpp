#include "audio/spectrum.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>

namespace hollowtide::audio {
namespace {
float Length(float x, float y) {
    return std::sqrt(x * x + y * y);
}
}  // namespace

KissFftPlan::KissFftPlan(int size) : plan_(kiss_fft_alloc(size, 0, nullptr, nullptr)) {
    if (!plan_) throw std::bad_alloc();
}

void KissFftPlan::Free::operator()(kiss_fft_state* plan) const {
    kiss_fft_free(plan);
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

void SpectrumAnalyser::analyse(const float* left, const float* right, float* bins) {
    for (std::size_t i = 0; i < kSize; ++i) {
        windowed_[i].r = left[i] * window_[i];
        windowed_[i].i = right[i] * window_[i];
    }
    kiss_fft(plan_.get(), windowed_.data(), spectrum_.data());
    for (std::size_t k = 0; k < kBins; ++k) {
        // Z = L + iR, so L[k] = (Z[k] + conj(Z[-k])) / 2 and R[k] = (Z[k] - conj(Z[-k])) / 2i.
        const kiss_fft_cpx z = spectrum_[k];
        const kiss_fft_cpx mirror = spectrum_[(kSize - k) % kSize];
        // sqrt, not hypot: no overflow is possible here, and hypot costs several times more.
        const float leftMagnitude = 0.5f * Length(z.r + mirror.r, z.i - mirror.i);
        const float rightMagnitude = 0.5f * Length(z.i + mirror.i, z.r - mirror.r);
        // Bins 0 and kSize / 2 have no mirror image, so they carry the whole amplitude once.
        const float scale = (k == 0 || k == kBins - 1) ? 0.5f * scale_ : scale_;
        bins[k] = std::max(leftMagnitude, rightMagnitude) * scale;
    }
}

}  // namespace hollowtide::audio
