#include "tools/pack/drum_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/pack/synth.h"

namespace packgen {

namespace {

constexpr double kTau = 2.0 * std::numbers::pi;

double Uniform(Random& random, double low, double high) {
    return low + (high - low) * random.below(10001) / 10000.0;
}

// A sound of `seconds` at `rate`, from a function of time and point index.
template <typename F>
std::vector<double> Render(double seconds, double rate, F&& f) {
    const std::size_t length = static_cast<std::size_t>(std::max(64.0, seconds * rate));
    std::vector<double> values(length);
    for (std::size_t i = 0; i < length; ++i) values[i] = f(static_cast<double>(i) / rate, i);
    return values;
}

double Square(double phase) {
    return phase - std::floor(phase) < 0.5 ? 1.0 : -1.0;
}

Sample Finish(std::vector<double> values, int amplitude, const char* name, double rate) {
    // Fade the last few milliseconds so the sound never ends in a click.
    const std::size_t fade =
        std::min<std::size_t>(values.size() / 3, static_cast<std::size_t>(rate * 0.004) + 8);
    for (std::size_t i = 0; i < fade; ++i)
        values[values.size() - 1 - i] *= static_cast<double>(i) / fade;
    double peak = 1e-9;
    for (double v : values) peak = std::max(peak, std::fabs(v));
    Sample sample;
    sample.name = name;
    for (double v : values) {
        sample.data.push_back(
            static_cast<std::int8_t>(std::clamp(std::lround(amplitude * v / peak), -127l, 127l)));
    }
    return sample;
}

class Noise {
  public:
    explicit Noise(Random& random) : state_(static_cast<std::uint32_t>(random.next())) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

  private:
    std::uint32_t state_;
};

}  // namespace

DrumRole RoleOf(DrumSound sound) {
    switch (sound) {
        case DrumSound::SineKick:
        case DrumSound::ClickKick:
        case DrumSound::ChipKick:
        case DrumSound::BoomKick:
            return DrumRole::Kick;
        case DrumSound::NoiseSnare:
        case DrumSound::ChipSnare:
        case DrumSound::Clap:
            return DrumRole::Snare;
        case DrumSound::NoiseHat:
        case DrumSound::MetalHat:
        case DrumSound::Shaker:
            return DrumRole::Hat;
        case DrumSound::OpenHat:
            return DrumRole::OpenHat;
        case DrumSound::Tom:
        case DrumSound::ChipTom:
            return DrumRole::Tom;
        case DrumSound::Cymbal:
            return DrumRole::Crash;
        case DrumSound::Rim:
        case DrumSound::Cowbell:
        case DrumSound::Blip:
            return DrumRole::Perc;
    }
    return DrumRole::Perc;
}

const char* DrumSoundName(DrumSound sound) {
    switch (sound) {
        case DrumSound::SineKick:
            return "kick";
        case DrumSound::ClickKick:
            return "click kick";
        case DrumSound::ChipKick:
            return "chip kick";
        case DrumSound::BoomKick:
            return "boom";
        case DrumSound::NoiseSnare:
            return "snare";
        case DrumSound::ChipSnare:
            return "chip snare";
        case DrumSound::Clap:
            return "clap";
        case DrumSound::Rim:
            return "rim";
        case DrumSound::NoiseHat:
            return "hat";
        case DrumSound::MetalHat:
            return "metal hat";
        case DrumSound::OpenHat:
            return "open hat";
        case DrumSound::Shaker:
            return "shaker";
        case DrumSound::Tom:
            return "tom";
        case DrumSound::ChipTom:
            return "chip tom";
        case DrumSound::Cymbal:
            return "cymbal";
        case DrumSound::Cowbell:
            return "cowbell";
        case DrumSound::Blip:
            return "blip";
    }
    return "drum";
}

Sample MakeDrum(DrumSound sound, double rate, Random& random, int amplitude) {
    Noise noise(random);
    const char* name = DrumSoundName(sound);
    switch (sound) {
        case DrumSound::SineKick:
        case DrumSound::ClickKick:
        case DrumSound::BoomKick: {
            const bool boom = sound == DrumSound::BoomKick;
            const double low = Uniform(random, 42, 62);
            const double sweep = Uniform(random, 60, 160);
            const double speed = Uniform(random, 20, 45);
            const double decay = boom ? Uniform(random, 3, 5) : Uniform(random, 7, 14);
            const double click = sound == DrumSound::ClickKick ? Uniform(random, 0.3, 0.6) : 0;
            const double drive = Uniform(random, 1.0, 2.5);
            double phase = 0;
            return Finish(Render(boom ? 0.6 : 0.3, rate,
                                 [&](double t, std::size_t) {
                                     phase += (low + sweep * std::exp(-t * speed)) / rate;
                                     const double body = std::tanh(drive * std::sin(kTau * phase));
                                     const double tick = click * noise.next() * std::exp(-t * 400);
                                     return (body + tick) * std::exp(-t * decay) *
                                            std::min(1.0, t * 3000);
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::ChipKick: {
            const double top = Uniform(random, 180, 320);
            const double speed = Uniform(random, 25, 60);
            double phase = 0;
            return Finish(Render(Uniform(random, 0.12, 0.22), rate,
                                 [&](double t, std::size_t) {
                                     phase += (40 + top * std::exp(-t * speed)) / rate;
                                     return Square(phase) * std::exp(-t * 12);
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::NoiseSnare: {
            const double tone = Uniform(random, 160, 240);
            const double mix = Uniform(random, 0.5, 0.85);
            const double dark = Uniform(random, 0.2, 0.6);
            const double decay = Uniform(random, 10, 22);
            double phase = 0, smooth = 0;
            return Finish(Render(0.25, rate,
                                 [&](double t, std::size_t) {
                                     phase += (tone + 50 * std::exp(-t * 40)) / rate;
                                     smooth = dark * smooth + (1 - dark) * noise.next();
                                     return (1 - mix) * std::sin(kTau * phase) * std::exp(-t * 30) +
                                            mix * smooth * std::exp(-t * decay);
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::ChipSnare: {
            const int hold = random.between(1, 3);
            const bool metallic = random.chance(30);
            Sample cycle = MakeNoiseCycle(true, metallic, hold, 4096, random, 127);
            const double decay = Uniform(random, 12, 25);
            return Finish(Render(0.2, rate,
                                 [&](double t, std::size_t i) {
                                     return cycle.data[i % cycle.data.size()] *
                                            std::exp(-t * decay);
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::Clap: {
            const double gap = Uniform(random, 0.008, 0.014);
            const double tail = Uniform(random, 12, 20);
            double smooth = 0;
            return Finish(Render(0.22, rate,
                                 [&](double t, std::size_t) {
                                     smooth = 0.5 * smooth + 0.5 * noise.next();
                                     const double bright = noise.next() - smooth;
                                     const double burst =
                                         t < 3 * gap
                                             ? std::exp(-(t - gap * std::floor(t / gap)) * 250)
                                             : std::exp(-(t - 3 * gap) * tail);
                                     return bright * burst;
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::Rim:
        case DrumSound::Blip: {
            const bool blip = sound == DrumSound::Blip;
            const double pitch = blip ? Uniform(random, 700, 1500) : Uniform(random, 1200, 2200);
            const double bend = blip ? Uniform(random, 0.4, 2.0) : 0.2;
            double phase = 0;
            return Finish(Render(blip ? 0.07 : 0.04, rate,
                                 [&](double t, std::size_t) {
                                     phase += pitch * (1 + bend * std::exp(-t * 60)) / rate;
                                     const double wave =
                                         blip ? Square(phase) : std::sin(kTau * phase);
                                     return wave * std::exp(-t * (blip ? 40 : 90));
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::NoiseHat:
        case DrumSound::OpenHat:
        case DrumSound::Shaker:
        case DrumSound::Cymbal: {
            const bool open = sound == DrumSound::OpenHat, shaker = sound == DrumSound::Shaker;
            const bool cymbal = sound == DrumSound::Cymbal;
            const double seconds = cymbal   ? Uniform(random, 0.7, 1.2)
                                   : open   ? Uniform(random, 0.2, 0.35)
                                   : shaker ? Uniform(random, 0.08, 0.14)
                                            : Uniform(random, 0.03, 0.08);
            const double decay = 5.0 / seconds;
            // Square partials mixed in make the wash metallic rather than plain hiss.
            const double metal = cymbal || open ? Uniform(random, 0.2, 0.6) : 0;
            const double base = Uniform(random, 300, 560);
            double previous = 0;
            return Finish(Render(seconds, rate,
                                 [&](double t, std::size_t) {
                                     const double n = noise.next();
                                     const double high = n - previous;
                                     previous = n;
                                     double ring = 0;
                                     for (double f : {1.0, 1.48, 1.72, 2.53, 2.91, 3.62})
                                         ring += Square(t * base * f * 3.1);
                                     const double attack = shaker ? std::min(1.0, t * 120) : 1.0;
                                     return attack * ((1 - metal) * high + metal * ring / 6) *
                                            std::exp(-t * decay);
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::MetalHat: {
            const double base = Uniform(random, 280, 520);
            const double seconds = Uniform(random, 0.04, 0.1);
            return Finish(Render(seconds, rate,
                                 [&](double t, std::size_t) {
                                     double ring = 0;
                                     for (double f : {2.0, 3.0, 4.16, 5.43, 6.79, 8.21})
                                         ring += Square(t * base * f);
                                     return ring / 6 * std::exp(-t * 4.0 / seconds);
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::Tom:
        case DrumSound::ChipTom: {
            const bool chip = sound == DrumSound::ChipTom;
            const double pitch = Uniform(random, 110, 220);
            const double bend = Uniform(random, 0.3, 0.9);
            double phase = 0;
            return Finish(Render(0.3, rate,
                                 [&](double t, std::size_t) {
                                     phase += pitch * (1 + bend * std::exp(-t * 18)) / rate;
                                     const double p = phase - std::floor(phase);
                                     const double wave = chip ? (p < 0.5 ? 4 * p - 1 : 3 - 4 * p)
                                                              : std::sin(kTau * phase);
                                     return wave * std::exp(-t * 9);
                                 }),
                          amplitude, name, rate);
        }
        case DrumSound::Cowbell: {
            const double low = Uniform(random, 520, 600);
            const double ratio = Uniform(random, 1.45, 1.52);
            return Finish(Render(0.18, rate,
                                 [&](double t, std::size_t) {
                                     return (Square(t * low) + Square(t * low * ratio)) * 0.5 *
                                            std::exp(-t * 22);
                                 }),
                          amplitude, name, rate);
        }
    }
    return Finish({0.0}, amplitude, name, rate);
}

}  // namespace packgen
