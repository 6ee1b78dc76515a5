#include "tools/pack/report/brightness.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace packreport {

namespace {

constexpr double kQuietDb = -50;

}  // namespace

// One Hann-windowed transform over each whole second: shorter frames, averaged, weigh noise
// less against tones and read the spread of brightness lower than a listener hears it.
BrightnessTracker::BrightnessTracker(int rate)
    : rate_(rate),
      plan_(rate),
      window_(static_cast<std::size_t>(rate)),
      in_(static_cast<std::size_t>(rate)),
      out_(static_cast<std::size_t>(rate)) {
    for (std::size_t i = 0; i < window_.size(); ++i)
        window_[i] = static_cast<float>(
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / rate));
    second_.reserve(static_cast<std::size_t>(rate));
}

void BrightnessTracker::add(const float* stereo, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        second_.push_back(0.5f * (stereo[2 * i] + stereo[2 * i + 1]));
        if (second_.size() == static_cast<std::size_t>(rate_)) {
            measureSecond();
            second_.clear();
        }
    }
}

void BrightnessTracker::measureSecond() {
    double power = 0;
    for (float x : second_) power += static_cast<double>(x) * x;
    power /= static_cast<double>(second_.size());
    if (10 * std::log10(std::max(power, 1e-20)) < kQuietDb) return;
    for (std::size_t i = 0; i < second_.size(); ++i) in_[i] = {second_[i] * window_[i], 0.0f};
    kiss_fft(plan_.get(), in_.data(), out_.data());
    double weighted = 0, total = 0;
    for (std::size_t k = 1; k <= second_.size() / 2; ++k) {
        const double magnitude = std::hypot(out_[k].r, out_[k].i);
        weighted += magnitude * static_cast<double>(k);  // bins are 1 Hz apart
        total += magnitude;
    }
    if (total > 0)
        centroids_.push_back(weighted / total * rate_ / static_cast<double>(second_.size()));
}

double BrightnessTracker::spread() const {
    if (centroids_.size() < 2) return 0;
    double mean = 0;
    for (double c : centroids_) mean += c;
    mean /= static_cast<double>(centroids_.size());
    double squares = 0;
    for (double c : centroids_) squares += (c - mean) * (c - mean);
    return std::sqrt(squares / static_cast<double>(centroids_.size()));
}

}  // namespace packreport
