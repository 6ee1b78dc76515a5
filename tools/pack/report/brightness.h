// How the brightness of a rendering moves: the spectral centroid of each second of the mono
// mix, fed block by block as the song renders.
#pragma once

#include <cstddef>
#include <vector>

#include <kissfft/kiss_fft.h>

#include "audio/spectrum.h"

namespace packreport {

class BrightnessTracker {
  public:
    explicit BrightnessTracker(int rate);

    // Interleaved stereo frames.
    void add(const float* stereo, std::size_t frames);

    // Centroids (Hz) of the whole seconds heard so far; seconds below -50 dBFS are skipped.
    const std::vector<double>& centroids() const { return centroids_; }
    // Their standard deviation, Hz (0 for fewer than two).
    double spread() const;

  private:
    void measureSecond();

    int rate_;
    hollowtide::audio::KissFftPlan plan_;
    std::vector<float> window_;
    std::vector<float> second_;
    std::vector<kiss_fft_cpx> in_, out_;
    std::vector<double> centroids_;
};

}  // namespace packreport
