#include "tools/pack/waveforms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace packgen {

namespace {

// Drum hits are computed at the rate a sample plays at for kDrumNote.
constexpr double kDrumRate = 16726.0;

std::int8_t Clip(double value) {
    return static_cast<std::int8_t>(std::clamp(std::lround(value), -127l, 127l));
}

// Deterministic white noise in [-1, 1].
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

  private:
    std::uint32_t state_;
};

int TransposeFor(int length) {
    int transpose = 0;
    for (int l = length; l > 32; l /= 2) transpose -= 12;
    for (int l = length; l < 32; l *= 2) transpose += 12;
    return transpose;
}

double WaveValue(Wave wave, double phase) {
    switch (wave) {
        case Wave::Square12:
            return phase < 0.125 ? 1.0 : -1.0;
        case Wave::Square25:
            return phase < 0.25 ? 1.0 : -1.0;
        case Wave::Square50:
            return phase < 0.5 ? 1.0 : -1.0;
        case Wave::Triangle:
            return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        case Wave::Saw:
            return 1.0 - 2.0 * phase;
        case Wave::SoftSquare:
            return std::tanh(3.0 * std::sin(2.0 * std::numbers::pi * phase)) / std::tanh(3.0);
        case Wave::Sine:
            return std::sin(2.0 * std::numbers::pi * phase);
    }
    return 0.0;
}

Sample OneShot(std::string name, std::vector<std::int8_t> data) {
    Sample sample;
    sample.name = std::move(name);
    sample.data = std::move(data);
    sample.transpose = 0;
    return sample;
}

}  // namespace

const char* WaveName(Wave wave) {
    switch (wave) {
        case Wave::Square12:
            return "pulse 12%";
        case Wave::Square25:
            return "pulse 25%";
        case Wave::Square50:
            return "square";
        case Wave::Triangle:
            return "triangle";
        case Wave::Saw:
            return "saw";
        case Wave::SoftSquare:
            return "soft square";
        case Wave::Sine:
            return "sine";
    }
    return "wave";
}

Sample MakeWave(Wave wave, int length, int amplitude) {
    Sample sample;
    sample.name = WaveName(wave);
    sample.data.resize(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const double phase = static_cast<double>(i) / length;
        sample.data[static_cast<std::size_t>(i)] = Clip(amplitude * WaveValue(wave, phase));
    }
    sample.loops = true;
    sample.loopStart = 0;
    sample.loopLength = static_cast<std::uint32_t>(length);
    sample.transpose = TransposeFor(length);
    return sample;
}

Sample MakeKick(int amplitude, double punch) {
    const int length = static_cast<int>(kDrumRate * 0.28);
    std::vector<std::int8_t> data(static_cast<std::size_t>(length));
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = i / kDrumRate;
        const double frequency = 48.0 + 110.0 * punch * std::exp(-t * 32.0);
        phase += frequency / kDrumRate;
        const double envelope = std::exp(-t * 9.0) * std::min(1.0, t * 2000.0);
        data[static_cast<std::size_t>(i)] =
            Clip(amplitude * envelope * std::sin(2.0 * std::numbers::pi * phase));
    }
    return OneShot("kick", std::move(data));
}

Sample MakeSnare(int amplitude, double noisiness) {
    const int length = static_cast<int>(kDrumRate * 0.22);
    std::vector<std::int8_t> data(static_cast<std::size_t>(length));
    Noise noise(12345);
    double phase = 0.0;
    double smoothed = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = i / kDrumRate;
        phase += (185.0 + 60.0 * std::exp(-t * 40.0)) / kDrumRate;
        const double tone = std::sin(2.0 * std::numbers::pi * phase) * std::exp(-t * 28.0);
        const double n = noise.next();
        smoothed = 0.55 * smoothed + 0.45 * n;  // a little darker than white noise
        const double body = smoothed * std::exp(-t * 14.0);
        data[static_cast<std::size_t>(i)] =
            Clip(amplitude * ((1.0 - noisiness) * tone + noisiness * body * 1.3));
    }
    return OneShot("snare", std::move(data));
}

Sample MakeHat(int amplitude, bool open) {
    const double seconds = open ? 0.25 : 0.06;
    const int length = static_cast<int>(kDrumRate * seconds);
    std::vector<std::int8_t> data(static_cast<std::size_t>(length));
    Noise noise(open ? 777 : 4242);
    double previous = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = i / kDrumRate;
        const double n = noise.next();
        const double high = n - previous;  // first difference: a crude high-pass
        previous = n;
        const double envelope = std::exp(-t * (open ? 12.0 : 60.0));
        data[static_cast<std::size_t>(i)] = Clip(amplitude * 0.6 * high * envelope);
    }
    return OneShot(open ? "open hat" : "closed hat", std::move(data));
}

Sample MakeTom(int amplitude) {
    const int length = static_cast<int>(kDrumRate * 0.3);
    std::vector<std::int8_t> data(static_cast<std::size_t>(length));
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = i / kDrumRate;
        phase += (130.0 + 70.0 * std::exp(-t * 20.0)) / kDrumRate;
        const double envelope = std::exp(-t * 10.0);
        data[static_cast<std::size_t>(i)] =
            Clip(amplitude * envelope * std::sin(2.0 * std::numbers::pi * phase));
    }
    return OneShot("tom", std::move(data));
}

Sample MakeNoiseLoop(int amplitude) {
    constexpr int kLength = 2048;
    std::vector<std::int8_t> data(kLength);
    Noise noise(99);
    for (int i = 0; i < kLength; ++i) {
        data[static_cast<std::size_t>(i)] = Clip(amplitude * noise.next());
    }
    Sample sample = OneShot("noise", std::move(data));
    sample.loops = true;
    sample.loopLength = kLength;
    return sample;
}

}  // namespace packgen
