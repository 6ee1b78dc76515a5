#include "pack_voices.h"

#include <algorithm>
#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <map>

#include "tools/pack/pack.h"

using namespace packgen;

namespace packtest {

namespace {

constexpr double kRate = 44100;
// A 32-point cycle played at 8363 Hz sounds middle C.
constexpr double kMiddleCHz = 8363.0 / 32.0;

double FrequencyOf(int pitch) {
    return kMiddleCHz * std::pow(2.0, (pitch - kMiddleC) / 12.0);
}

double FoldSemitones(double semitones) {
    return semitones - 12.0 * std::round(semitones / 12.0);
}

// The song's samples and instruments with one pattern that plays `instrument` alone.
Song Alone(const Song& song, int instrument, int pitch) {
    Song alone = song;
    alone.speed = 6;
    alone.tempo = 125;
    alone.globalVolume = 64;
    alone.patterns.assign(1, Pattern(64, song.channels));
    alone.patterns[0].at(0, 0) = {static_cast<std::uint8_t>(pitch),
                                  static_cast<std::uint8_t>(instrument), 64, Effect::None, 0};
    alone.orders = {0};
    return alone;
}

bool Sounds(const Cell& cell) {
    return cell.note != kNoNote && cell.note != kNoteOff;
}

bool Stops(const Cell& cell) {
    return cell.note == kNoteOff || cell.volume == 0 ||
           (cell.effect == Effect::NoteCut && !Sounds(cell));
}

// Walks the rows the song plays, in order, with the sounding pitch of every channel's note
// (-1 where nothing sounds, or the sound has no pitch).
template <typename Visit>
void ForEachPlayedRow(const Song& song, const std::vector<int>& errors, Visit&& visit) {
    const std::size_t channels = static_cast<std::size_t>(song.channels);
    std::vector<int> sounding(channels, -1), instrument(channels, 0);
    std::vector<bool> struck(channels, false);
    for (int order : song.orders) {
        const Pattern& pattern = song.patterns[static_cast<std::size_t>(order)];
        for (int row = 0; row < pattern.rows; ++row) {
            for (std::size_t c = 0; c < channels; ++c) {
                const Cell& cell = pattern.at(row, static_cast<int>(c));
                struck[c] = false;
                if (cell.instrument > 0) instrument[c] = cell.instrument;
                if (Sounds(cell)) {
                    const int error = instrument[c] > 0
                                          ? errors[static_cast<std::size_t>(instrument[c] - 1)]
                                          : kUnpitched;
                    sounding[c] = error == kUnpitched ? -1 : cell.note + error;
                    struck[c] = sounding[c] >= 0;
                } else if (Stops(cell)) {
                    sounding[c] = -1;
                }
            }
            visit(sounding, struck);
        }
    }
}

}  // namespace

std::optional<double> EstimateFrequency(const std::vector<float>& mono, double rate) {
    const std::size_t window = 2048;
    const std::size_t minLag = static_cast<std::size_t>(rate / 2500);
    const std::size_t maxLag = static_cast<std::size_t>(rate / 25);
    if (mono.size() < window + maxLag + 2) return std::nullopt;
    std::vector<double> difference(maxLag + 2, 0.0);
    for (std::size_t lag = 1; lag <= maxLag + 1; ++lag) {
        double sum = 0;
        for (std::size_t i = 0; i < window; ++i) {
            const double d = mono[i] - mono[i + lag];
            sum += d * d;
        }
        difference[lag] = sum;
    }
    // Cumulative mean normalised difference: 1 on average, near 0 at the period.
    std::vector<double> normalised(maxLag + 2, 1.0);
    double running = 0;
    for (std::size_t lag = 1; lag <= maxLag + 1; ++lag) {
        running += difference[lag];
        normalised[lag] = running > 0 ? difference[lag] * static_cast<double>(lag) / running : 1;
    }
    std::size_t best = 0;
    for (std::size_t lag = minLag; lag <= maxLag; ++lag) {
        if (normalised[lag] < 0.2) {
            while (lag + 1 <= maxLag && normalised[lag + 1] < normalised[lag]) ++lag;
            best = lag;
            break;
        }
    }
    if (best == 0) return std::nullopt;
    const double a = normalised[best - 1], b = normalised[best], c = normalised[best + 1];
    const double bend = a - 2 * b + c;
    const double shift = bend > 0 ? 0.5 * (a - c) / bend : 0.0;
    return rate / (static_cast<double>(best) + shift);
}

std::optional<double> RenderedPitchError(const Song& song, int instrument, int pitch) {
    const Bytes bytes = WriteModule(Alone(song, instrument, pitch));
    openmpt::module module(bytes);
    std::vector<float> mono(static_cast<std::size_t>(kRate * 0.6));
    module.read(static_cast<std::int32_t>(kRate), mono.size(), mono.data());
    // Past the attack, where the tone has settled.
    const std::vector<float> body(mono.begin() + static_cast<long>(kRate * 0.08), mono.end());
    const std::optional<double> heard = EstimateFrequency(body, kRate);
    if (!heard) return std::nullopt;
    return FoldSemitones(12.0 * std::log2(*heard / FrequencyOf(pitch)));
}

double Voice::meanPitch() const {
    double sum = 0;
    for (int note : notes) sum += note;
    return notes.empty() ? 0 : sum / static_cast<double>(notes.size());
}

std::vector<Voice> MelodicVoices(const Song& song, const std::vector<int>& errors) {
    std::vector<Voice> voices(static_cast<std::size_t>(song.channels));
    for (int c = 0; c < song.channels; ++c) voices[static_cast<std::size_t>(c)].channel = c;
    ForEachPlayedRow(song, errors,
                     [&](const std::vector<int>& sounding, const std::vector<bool>& struck) {
                         for (std::size_t c = 0; c < sounding.size(); ++c) {
                             if (struck[c]) voices[c].notes.push_back(sounding[c]);
                         }
                     });
    std::erase_if(voices, [](const Voice& voice) { return voice.notes.empty(); });
    return voices;
}

ScaleFit BestScale(const std::vector<int>& notes) {
    static constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
    std::array<int, 12> counts{};
    for (int note : notes) ++counts[static_cast<std::size_t>(((note % 12) + 12) % 12)];
    ScaleFit best;
    best.share = -1;
    for (int tonic = 0; tonic < 12; ++tonic) {
        int covered = 0;
        for (int step : kMajor) covered += counts[static_cast<std::size_t>((tonic + step) % 12)];
        const double share = notes.empty() ? 1.0 : static_cast<double>(covered) / notes.size();
        if (share > best.share + 1e-9) best = {share, tonic};
    }
    return best;
}

double ClashShare(const Song& song, const std::vector<int>& errors) {
    long pairs = 0, clashes = 0;
    ForEachPlayedRow(song, errors, [&](const std::vector<int>& sounding, const std::vector<bool>&) {
        for (std::size_t a = 0; a < sounding.size(); ++a) {
            if (sounding[a] < 0) continue;
            for (std::size_t b = a + 1; b < sounding.size(); ++b) {
                if (sounding[b] < 0) continue;
                ++pairs;
                const int interval = std::abs(sounding[a] - sounding[b]) % 12;
                if (interval == 1 || interval == 11) ++clashes;
            }
        }
    });
    return pairs == 0 ? 0.0 : static_cast<double>(clashes) / static_cast<double>(pairs);
}

std::vector<int> InstrumentErrors(const Song& song) {
    std::vector<int> errors;
    for (std::size_t i = 0; i < song.instruments.size(); ++i) {
        if (song.instruments[i].drum) {
            errors.push_back(kUnpitched);
            continue;
        }
        const std::optional<double> error =
            RenderedPitchError(song, static_cast<int>(i + 1), kMiddleC);
        errors.push_back(error ? static_cast<int>(std::lround(*error)) : kUnpitched);
    }
    return errors;
}

}  // namespace packtest
