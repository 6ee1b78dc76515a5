#include "tools/pack/report/sample_pitch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace packreport {

namespace {

constexpr double kMiddleCHz = 261.6256;  // what OpenMPT's C-5 sounds as for a tuned sample
constexpr double kDipThreshold = 0.2;    // normalized difference that counts as periodic
constexpr std::size_t kLongestWindow = 4096;

// The points a pitch is judged on: the loop, repeated so that short loops span many cycles, or
// the body of a one-shot sample past its attack.
std::vector<double> Window(const SampleData& sample) {
    std::vector<double> window;
    const std::vector<std::int16_t>& data = sample.data;
    if (sample.loops && sample.loopLength >= 2 && sample.loopStart < data.size()) {
        const std::size_t length =
            std::min<std::size_t>(sample.loopLength, data.size() - sample.loopStart);
        const std::size_t wanted = std::clamp<std::size_t>(4 * length, 1024, kLongestWindow);
        for (std::size_t i = 0; i < wanted; ++i)
            window.push_back(data[sample.loopStart + i % length]);
        return window;
    }
    const std::size_t skip = std::min<std::size_t>(data.size() / 8, 2048);
    const std::size_t end = std::min(data.size(), skip + kLongestWindow);
    for (std::size_t i = skip; i < end; ++i) window.push_back(data[i]);
    return window;
}

}  // namespace

std::optional<double> FundamentalPeriod(const SampleData& sample) {
    const std::vector<double> x = Window(sample);
    if (x.size() < 64) return std::nullopt;
    const std::size_t maxLag = x.size() / 2;
    const std::size_t span = x.size() - maxLag;
    // The cumulative-mean-normalized difference function: about 0 at the period and its
    // multiples, about 1 for lags where the signal does not repeat. The first dip below the
    // threshold is the period; lags past its bottom are never needed.
    std::vector<double> d(maxLag + 2, 1.0);
    auto difference = [&](std::size_t lag) {
        double sum = 0;
        for (std::size_t i = 0; i < span; ++i) {
            const double step = x[i] - x[i + lag];
            sum += step * step;
        }
        return sum;
    };
    double running = 0;
    std::size_t lag = 0;
    for (std::size_t l = 1; l <= maxLag + 1 && l + span <= x.size(); ++l) {
        const double sum = difference(l);
        running += sum;
        d[l] = running > 0 ? sum * static_cast<double>(l) / running : 1.0;
        if (lag == 0 && l >= 2 && d[l] < kDipThreshold) lag = l;
        if (lag != 0 && l > lag && d[l] >= d[l - 1]) {
            lag = l - 1;
            break;
        }
    }
    if (lag == 0 || lag + 1 > maxLag) return std::nullopt;
    // Parabolic interpolation between the neighbouring lags.
    const double a = d[lag - 1], b = d[lag], c = d[lag + 1];
    const double bend = a - 2 * b + c;
    const double shift = bend > 0 ? 0.5 * (a - c) / bend : 0.0;
    return static_cast<double>(lag) + std::clamp(shift, -0.5, 0.5);
}

std::optional<double> SoundingOffset(const SampleData& sample) {
    if (sample.c5Rate <= 0) return std::nullopt;
    const std::optional<double> period = FundamentalPeriod(sample);
    if (!period) return std::nullopt;
    return 12.0 * std::log2(sample.c5Rate / *period / kMiddleCHz);
}

double PitchClassOffset(double semitones) {
    return semitones - 12.0 * std::floor((semitones + 6.0) / 12.0);
}

}  // namespace packreport
