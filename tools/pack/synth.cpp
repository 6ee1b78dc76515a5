#include "tools/pack/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace packgen {

namespace {

constexpr double kTau = 2.0 * std::numbers::pi;

std::int8_t Clip(double value) {
    return static_cast<std::int8_t>(std::clamp(std::lround(value), -127l, 127l));
}

int TransposeOfPeriod(int period) {
    int transpose = 0;
    for (int p = period; p > 32; p /= 2) transpose -= 12;
    for (int p = period; p < 32; p *= 2) transpose += 12;
    return transpose;
}

Sample FromValues(const std::vector<double>& values, int amplitude, bool loops, int period,
                  const char* name) {
    double peak = 1e-9;
    for (double v : values) peak = std::max(peak, std::fabs(v));
    Sample sample;
    sample.name = name;
    sample.data.reserve(values.size());
    for (double v : values) sample.data.push_back(Clip(amplitude * v / peak));
    sample.loops = loops;
    sample.loopLength = loops ? static_cast<std::uint32_t>(values.size()) : 0;
    sample.transpose = TransposeOfPeriod(period);
    return sample;
}

// Seconds of sound in points, at the rate a `period`-point sample plays for `pitch`.
std::size_t PointsFor(int period, int pitch, double seconds) {
    const double frequency = 261.63 * std::pow(2.0, (pitch - kMiddleC) / 12.0);
    return static_cast<std::size_t>(std::max(64.0, seconds * frequency * period));
}

}  // namespace

double RateOfWritten(int written) {
    return 8363.0 * std::pow(2.0, (written - kMiddleC) / 12.0);
}

Sample MakeAdditiveCycle(const std::vector<double>& harmonics, int length, int amplitude) {
    std::vector<double> values(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        double v = 0;
        for (std::size_t h = 0;
             h < harmonics.size() && 2 * (h + 1) < static_cast<std::size_t>(length); ++h) {
            v += harmonics[h] * std::sin(kTau * static_cast<double>(h + 1) * i / length);
        }
        values[static_cast<std::size_t>(i)] = v;
    }
    return FromValues(values, amplitude, true, length, "additive");
}

Sample MakeFmCycle(int ratio, double index, int length, int amplitude) {
    std::vector<double> values(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const double phase = kTau * i / length;
        values[static_cast<std::size_t>(i)] = std::sin(phase + index * std::sin(ratio * phase));
    }
    return FromValues(values, amplitude, true, length, "fm");
}

Sample MakeDetunedLoop(Wave wave, Wave partner, int cycles, double partnerLevel, int amplitude) {
    const int length = 32 * cycles;
    const Sample a = MakeWave(wave, 256, 127);
    const Sample b = MakeWave(partner, 256, 127);
    std::vector<double> values(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const std::size_t pa =
            static_cast<std::size_t>((static_cast<long>(i) * cycles * 256 / length) % 256);
        const std::size_t pb =
            static_cast<std::size_t>((static_cast<long>(i) * (cycles + 1) * 256 / length) % 256);
        values[static_cast<std::size_t>(i)] = a.data[pa] + partnerLevel * b.data[pb];
    }
    Sample sample = FromValues(values, amplitude, true, 32, "detuned");
    return sample;
}

Sample MakePluck(int period, int pitch, double seconds, double brightness, double damping,
                 Random& random, int amplitude) {
    const std::size_t length = PointsFor(period, pitch, seconds);
    std::vector<double> values(length);
    // The pick: noise smoothed more for a darker string.
    double smooth = 0;
    for (int i = 0; i < period; ++i) {
        const double n = random.below(2001) / 1000.0 - 1.0;
        smooth = brightness * n + (1.0 - brightness) * smooth;
        values[static_cast<std::size_t>(i)] = smooth;
    }
    const std::size_t p = static_cast<std::size_t>(period);
    // Each period the string loses its highs through a three-point average centred on the
    // delay, so the pitch stays exactly `period` points.
    for (std::size_t i = p; i < length; ++i) {
        const double before = i > p ? values[i - p - 1] : values[i - p];
        values[i] = damping * (0.25 * before + 0.5 * values[i - p] + 0.25 * values[i - p + 1]);
    }
    // A short fade at the end so the last point does not click.
    const std::size_t fade = std::min<std::size_t>(length / 4, 256);
    for (std::size_t i = 0; i < fade; ++i) values[length - 1 - i] *= static_cast<double>(i) / fade;
    return FromValues(values, amplitude, false, period, "pluck");
}

Sample MakeFmTone(int period, int pitch, double seconds, double ratio, double index,
                  double indexDecay, double decay, int amplitude) {
    const std::size_t length = PointsFor(period, pitch, seconds);
    std::vector<double> values(length);
    const double cyclesPerSecond = static_cast<double>(length) / period / seconds;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / period / cyclesPerSecond;
        const double phase = kTau * static_cast<double>(i) / period;
        const double depth = index * std::exp(-t * indexDecay);
        const double envelope =
            std::exp(-t * decay) * std::min(1.0, t * 400.0) * std::min(1.0, (seconds - t) * 40.0);
        values[i] = envelope * std::sin(phase + depth * std::sin(ratio * phase));
    }
    return FromValues(values, amplitude, false, period, "fm tone");
}

Sample MakeNoiseCycle(bool registerNoise, bool shortLoop, int hold, int length, Random& random,
                      int amplitude) {
    std::vector<double> values(static_cast<std::size_t>(length));
    std::uint32_t reg = 1;
    double current = 0;
    for (int i = 0; i < length; ++i) {
        if (i % std::max(1, hold) == 0) {
            if (registerNoise) {
                const std::uint32_t tap = shortLoop ? 6 : 1;
                const std::uint32_t bit = (reg ^ (reg >> tap)) & 1u;
                reg = (reg >> 1) | (bit << 14);
                current = (reg & 1u) ? 1.0 : -1.0;
            } else {
                current = random.below(2001) / 1000.0 - 1.0;
            }
        }
        values[static_cast<std::size_t>(i)] = current;
    }
    Sample sample = FromValues(values, amplitude, true, 32, "noise");
    sample.transpose = 0;
    return sample;
}

void Soften(Sample& sample, double amount) {
    if (sample.data.empty() || amount <= 0) return;
    const std::size_t n = sample.data.size();
    std::vector<double> values(sample.data.begin(), sample.data.end());
    double state = values.back();
    // Two turns around the loop: the first settles the filter, the second is kept.
    for (int turn = 0; turn < 2; ++turn) {
        for (std::size_t i = 0; i < n; ++i) {
            state += (1.0 - amount) * (sample.data[i] - state);
            if (turn == 1) values[i] = state;
        }
    }
    int peak = 1;
    for (std::int8_t v : sample.data) peak = std::max(peak, std::abs(static_cast<int>(v)));
    double newPeak = 1e-9;
    for (double v : values) newPeak = std::max(newPeak, std::fabs(v));
    for (std::size_t i = 0; i < n; ++i) sample.data[i] = Clip(values[i] * peak / newPeak);
}

void StrengthenFundamental(Sample& sample, double share) {
    if (sample.data.empty() || share <= 0 || share >= 1) return;
    const int period =
        static_cast<int>(std::lround(32.0 * std::pow(2.0, -sample.transpose / 12.0)));
    const std::size_t p = static_cast<std::size_t>(period);
    const std::size_t n = sample.data.size();
    const std::size_t blocks = std::max<std::size_t>(1, n / p);
    // Per period: how much more of the fundamental it takes for it to carry `share` of the
    // power, in the phase it already has so the two add up.
    std::vector<double> addCos(blocks, 0.0), addSin(blocks, 0.0);
    for (std::size_t b = 0; b < blocks; ++b) {
        double c = 0, s = 0, power = 0;
        const std::size_t end = std::min(n, (b + 1) * p);
        for (std::size_t i = b * p; i < end; ++i) {
            const double v = sample.data[i];
            c += v * std::cos(kTau * static_cast<double>(i) / period);
            s += v * std::sin(kTau * static_cast<double>(i) / period);
            power += v * v;
        }
        const double points = static_cast<double>(end - b * p);
        const double length = std::sqrt(c * c + s * s);
        const double fundamental = 2 * length / points;
        const double rest = std::max(0.0, power / points - fundamental * fundamental / 2);
        const double wanted = std::sqrt(2 * share * rest / (1 - share));
        const double extra = std::max(0.0, wanted - fundamental);
        if (length <= 1e-9 || extra <= 0) continue;
        addCos[b] = extra * c / length;
        addSin[b] = extra * s / length;
    }
    int peak = 1;
    for (std::int8_t v : sample.data) peak = std::max(peak, std::abs(static_cast<int>(v)));
    std::vector<double> values(n);
    for (std::size_t i = 0; i < n; ++i) {
        // Glides between the periods' centres; a loop wraps round to its first period.
        const double at = static_cast<double>(i) / p - 0.5;
        const double floorAt = std::floor(at);
        const double along = at - floorAt;
        auto block = [&](double index) {
            const long k = static_cast<long>(index);
            const long last = static_cast<long>(blocks) - 1;
            if (sample.loops)
                return static_cast<std::size_t>((k % (last + 1) + last + 1) % (last + 1));
            return static_cast<std::size_t>(std::clamp(k, 0L, last));
        };
        const std::size_t a = block(floorAt), b = block(floorAt + 1);
        const double dc = addCos[a] + (addCos[b] - addCos[a]) * along;
        const double ds = addSin[a] + (addSin[b] - addSin[a]) * along;
        const double phase = kTau * static_cast<double>(i) / period;
        values[i] = sample.data[i] + dc * std::cos(phase) + ds * std::sin(phase);
    }
    double newPeak = 1e-9;
    for (double v : values) newPeak = std::max(newPeak, std::fabs(v));
    for (std::size_t i = 0; i < n; ++i) sample.data[i] = Clip(values[i] * peak / newPeak);
}

void Quantise(Sample& sample, int levels) {
    if (levels < 2) return;
    const double step = 254.0 / (levels - 1);
    for (std::int8_t& v : sample.data) {
        v = Clip(std::round((v + 127.0) / step) * step - 127.0);
    }
}

void Normalise(Sample& sample, int amplitude) {
    int peak = 1;
    for (std::int8_t v : sample.data) peak = std::max(peak, std::abs(static_cast<int>(v)));
    for (std::int8_t& v : sample.data) v = Clip(static_cast<double>(v) * amplitude / peak);
}

}  // namespace packgen
