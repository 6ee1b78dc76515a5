#include "tools/pack/loudness.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace packgen {

namespace {

// Per sample: its energy summed up to each point, and its loop's mean power.
struct SampleEnergy {
    std::vector<double> cumulative;
    double loopPower = 0;
};

SampleEnergy EnergyOf(const Sample& sample) {
    SampleEnergy energy;
    energy.cumulative.reserve(sample.data.size() + 1);
    double sum = 0;
    energy.cumulative.push_back(0);
    for (std::int8_t v : sample.data) {
        sum += (v / 127.0) * (v / 127.0);
        energy.cumulative.push_back(sum);
    }
    if (sample.loops && sample.loopLength > 0) {
        const std::size_t start = std::min<std::size_t>(sample.loopStart, sample.data.size());
        const std::size_t end =
            std::min<std::size_t>(start + sample.loopLength, sample.data.size());
        if (end > start) {
            energy.loopPower = (energy.cumulative[end] - energy.cumulative[start]) /
                               static_cast<double>(end - start);
        }
    }
    return energy;
}

// Mean square of the volume envelope over its first `ticks` ticks while held (1 without one).
double EnvelopePower(const Envelope& envelope, double ticks) {
    if (envelope.points.empty() || ticks <= 0) return 1.0;
    double sum = 0;
    const int whole = std::max(1, static_cast<int>(ticks));
    const int sustain = envelope.sustainPoint >= 0
                            ? envelope.points[static_cast<std::size_t>(envelope.sustainPoint)].tick
                            : -1;
    for (int t = 0; t < whole; ++t) {
        int tick = t;
        if (sustain >= 0 && tick > sustain) tick = sustain;
        double value = envelope.points.back().value;
        for (std::size_t i = 0; i + 1 < envelope.points.size(); ++i) {
            const EnvelopePoint& a = envelope.points[i];
            const EnvelopePoint& b = envelope.points[i + 1];
            if (tick >= a.tick && tick <= b.tick) {
                const double span = std::max(1, b.tick - a.tick);
                value = a.value + (b.value - a.value) * (tick - a.tick) / span;
                break;
            }
        }
        sum += (value / 64.0) * (value / 64.0);
    }
    return sum / whole;
}

struct Voice {
    int instrument = 0;
    int volume = 0;
    double rate = 0;
    double start = 0;  // seconds
    bool sounding = false;
};

}  // namespace

double EstimatedPower(const Song& song) {
    std::vector<SampleEnergy> energies;
    for (const Sample& sample : song.samples) energies.push_back(EnergyOf(sample));
    std::vector<Voice> voices(static_cast<std::size_t>(song.channels));
    double energy = 0;
    double now = 0;
    double tickSeconds = 2.5 / song.tempo;
    int speed = song.speed;
    auto stop = [&](Voice& voice) {
        if (!voice.sounding || voice.instrument <= 0) return;
        voice.sounding = false;
        const Instrument& instrument =
            song.instruments[static_cast<std::size_t>(voice.instrument - 1)];
        const Sample& sample = song.samples[static_cast<std::size_t>(instrument.sample)];
        const SampleEnergy& e = energies[static_cast<std::size_t>(instrument.sample)];
        const double seconds = now - voice.start;
        const double gain = (voice.volume / 64.0) * (voice.volume / 64.0) * (sample.volume / 64.0) *
                            (sample.volume / 64.0) *
                            EnvelopePower(instrument.volumeEnvelope, seconds / tickSeconds);
        const double points = seconds * voice.rate;
        double sum;
        if (points <= static_cast<double>(sample.data.size()) || !sample.loops) {
            const std::size_t n = std::min(sample.data.size(), static_cast<std::size_t>(points));
            sum = e.cumulative[n];
        } else {
            sum = e.cumulative.back() + (points - sample.data.size()) * e.loopPower;
        }
        energy += gain * sum / std::max(1.0, voice.rate);
    };
    for (int order : song.orders) {
        const Pattern& pattern = song.patterns[static_cast<std::size_t>(order)];
        for (int row = 0; row < pattern.rows; ++row) {
            bool breaks = false;
            for (int channel = 0; channel < pattern.channels; ++channel) {
                const Cell& cell = pattern.at(row, channel);
                if (cell.effect == Effect::SetSpeed) speed = std::max<int>(1, cell.param);
                if (cell.effect == Effect::SetTempo)
                    tickSeconds = 2.5 / std::max<int>(32, cell.param);
                if (cell.effect == Effect::PatternBreak) breaks = true;
            }
            for (int channel = 0; channel < pattern.channels; ++channel) {
                const Cell& cell = pattern.at(row, channel);
                Voice& voice = voices[static_cast<std::size_t>(channel)];
                if (cell.note == kNoteOff ||
                    (song.format == Format::Mod && cell.note == kNoNote && cell.volume == 0)) {
                    stop(voice);
                    continue;
                }
                if (cell.note == kNoNote || cell.note == kNoteOff) continue;
                stop(voice);
                if (cell.instrument > 0) voice.instrument = cell.instrument;
                if (voice.instrument <= 0) continue;
                const int transpose = TransposeOf(song, voice.instrument);
                voice.rate = 8363.0 * std::pow(2.0, (cell.note - transpose - kMiddleC) / 12.0);
                voice.volume = cell.volume >= 0 ? cell.volume : 64;
                voice.start = now;
                voice.sounding = true;
            }
            now += speed * tickSeconds;
            if (breaks) break;
        }
    }
    for (Voice& voice : voices) stop(voice);
    return now > 0 ? energy / now : 0;
}

void ScaleVolumes(Song& song, double gain) {
    auto scaled = [&](int volume) {
        return std::clamp(static_cast<int>(std::lround(volume * gain)), 0, 64);
    };
    for (Sample& sample : song.samples)
        sample.volume = static_cast<std::uint8_t>(scaled(sample.volume));
    for (Pattern& pattern : song.patterns) {
        for (Cell& cell : pattern.cells) {
            if (cell.volume > 0)
                cell.volume = static_cast<std::int8_t>(std::max(1, scaled(cell.volume)));
        }
    }
}

int LoudestVolume(const Song& song) {
    int loudest = 0;
    for (const Sample& sample : song.samples) loudest = std::max<int>(loudest, sample.volume);
    for (const Pattern& pattern : song.patterns)
        for (const Cell& cell : pattern.cells) loudest = std::max<int>(loudest, cell.volume);
    return loudest;
}

void Level(Song& song, double targetDb) {
    const double power = EstimatedPower(song);
    if (power <= 0) return;
    double gain = std::pow(10.0, (targetDb - 10 * std::log10(power)) / 20.0);
    // A raise stops where the loudest volume reaches its limit: past it the loud parts would
    // be clipped to the quiet ones' level and the song's balance lost for good.
    const int loudest = LoudestVolume(song);
    if (loudest > 0) gain = std::min(gain, std::max(1.0, 64.0 / loudest));
    ScaleVolumes(song, gain);
}

}  // namespace packgen
