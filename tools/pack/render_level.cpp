#include "tools/pack/render_level.h"

#include <algorithm>
#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <vector>

#include "tools/pack/loudness.h"
#include "tools/pack/pack.h"

namespace packgen {

namespace {

constexpr std::int32_t kRate = 44100;
constexpr std::size_t kBlock = 4096;
constexpr std::size_t kLongestSeconds = 400;  // a song that never ends is measured this far
constexpr int kPasses = 9;
constexpr double kLargestRaiseDb = 6;
constexpr double kStalledShare = 0.25;
constexpr double kCloseEnoughDb = 0.3;
constexpr double kOverCeilingDb = 0.05;
// A song still short of its goal by more than this, once its volumes or its peaks stop it,
// has its notes or its sounds reshaped.
constexpr double kCompressAboveDb = 1.0;
constexpr double kCompressionExponent = 0.6;
constexpr double kSustainExponent = 0.5;
constexpr double kMostLift = 4.0;
constexpr int kMostSustainPasses = 2;
constexpr int kMostDrumTrims = 4;
constexpr double kDrumTrim = 0.8;  // -2 dB

double Db(double power) {
    return 10 * std::log10(std::max(power, 1e-12));
}

// IT songs carry a mixing volume of their own, a finer and wider control than note volumes.
bool ScaleMixVolume(Song& song, double gain) {
    if (song.format != Format::It) return false;
    const int scaled = std::clamp(static_cast<int>(std::lround(song.mixVolume * gain)), 8, 128);
    if (scaled == song.mixVolume) return false;
    song.mixVolume = scaled;
    return true;
}

// Brings the quiet notes closer to the loudest: the peaks stay where they are while the song as
// a whole plays louder. For sparse songs whose accents meet the ceiling long before the rest is
// loud enough.
void CompressNoteVolumes(Song& song) {
    int loudest = 0;
    for (const Pattern& pattern : song.patterns)
        for (const Cell& cell : pattern.cells) loudest = std::max<int>(loudest, cell.volume);
    if (loudest <= 0) return;
    for (Pattern& pattern : song.patterns) {
        for (Cell& cell : pattern.cells) {
            if (cell.volume <= 0) continue;
            const double share = static_cast<double>(cell.volume) / loudest;
            cell.volume = static_cast<std::int8_t>(
                std::max(1L, std::lround(loudest * std::pow(share, kCompressionExponent))));
        }
    }
}

// Lifts the decaying tails of the one-shot samples (plucks, struck tones) towards their attack:
// the same notes sustain longer, so the song plays louder at the same peaks. For songs whose
// volumes are all at their limit.
void SustainOneShots(Song& song) {
    constexpr std::size_t kBlock = 64;
    for (Sample& sample : song.samples) {
        if (sample.loops || sample.data.size() < 8 * kBlock) continue;
        std::vector<int> blockPeak;
        for (std::size_t start = 0; start < sample.data.size(); start += kBlock) {
            int peak = 1;
            const std::size_t end = std::min(sample.data.size(), start + kBlock);
            for (std::size_t i = start; i < end; ++i)
                peak = std::max(peak, std::abs(static_cast<int>(sample.data[i])));
            blockPeak.push_back(peak);
        }
        const int loudest = *std::max_element(blockPeak.begin(), blockPeak.end());
        std::vector<double> lift;
        for (int peak : blockPeak) {
            lift.push_back(
                std::min({std::pow(static_cast<double>(loudest) / peak, kSustainExponent),
                          kMostLift, 127.0 / peak}));
        }
        for (std::size_t i = 0; i < sample.data.size(); ++i) {
            // Glides from one block's lift to the next, so the gain never steps audibly.
            const std::size_t block = i / kBlock;
            const double along = static_cast<double>(i % kBlock) / kBlock;
            const double next = block + 1 < lift.size() ? lift[block + 1] : lift[block];
            const double gain =
                std::min(lift[block] + (next - lift[block]) * along, 127.0 / blockPeak[block]);
            sample.data[i] = static_cast<std::int8_t>(
                std::clamp(std::lround(sample.data[i] * gain), -127L, 127L));
        }
    }
}

// Softens the drums against the rest. Struck sounds set the peaks of most songs, so a song
// whose hits meet the ceiling long before the rest is loud enough gets more room.
void TrimDrums(Song& song, double gain) {
    auto isDrum = [&](int instrument) {
        return instrument > 0 && instrument <= static_cast<int>(song.instruments.size()) &&
               song.instruments[static_cast<std::size_t>(instrument - 1)].drum;
    };
    auto trimmed = [&](int volume) {
        return std::max(1, static_cast<int>(std::lround(volume * gain)));
    };
    std::vector<bool> drumSample(song.samples.size(), false);
    for (const Instrument& instrument : song.instruments) {
        if (instrument.drum && instrument.sample >= 0 &&
            instrument.sample < static_cast<int>(song.samples.size()))
            drumSample[static_cast<std::size_t>(instrument.sample)] = true;
    }
    for (std::size_t i = 0; i < song.samples.size(); ++i) {
        if (drumSample[i])
            song.samples[i].volume = static_cast<std::uint8_t>(trimmed(song.samples[i].volume));
    }
    for (Pattern& pattern : song.patterns) {
        std::vector<int> playing(static_cast<std::size_t>(pattern.channels), 0);
        for (int row = 0; row < pattern.rows; ++row) {
            for (int channel = 0; channel < pattern.channels; ++channel) {
                Cell& cell = pattern.at(row, channel);
                int& instrument = playing[static_cast<std::size_t>(channel)];
                if (cell.instrument > 0) instrument = cell.instrument;
                if (cell.volume > 0 && isDrum(instrument))
                    cell.volume = static_cast<std::int8_t>(trimmed(cell.volume));
            }
        }
    }
}

}  // namespace

RenderedLevel MeasureRendered(const Song& song) {
    const Bytes bytes = WriteModule(song);
    openmpt::module module(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    std::vector<float> buffer(2 * kBlock);
    double sum = 0;
    std::size_t frames = 0;
    float peak = 0;
    while (frames < kLongestSeconds * kRate) {
        const std::size_t got = module.read_interleaved_stereo(kRate, kBlock, buffer.data());
        if (got == 0) break;
        for (std::size_t i = 0; i < 2 * got; ++i) {
            sum += static_cast<double>(buffer[i]) * buffer[i];
            peak = std::max(peak, std::fabs(buffer[i]));
        }
        frames += got;
    }
    RenderedLevel level;
    if (frames == 0) return level;
    level.rmsDb = Db(sum / (2.0 * static_cast<double>(frames)));
    level.peakDb = 20 * std::log10(std::max(peak, 1e-6f));
    return level;
}

RenderedLevel LevelByRender(Song& song, const LevelGoal& goal) {
    RenderedLevel level = MeasureRendered(song);
    bool compressed = false;
    int sustained = 0, trims = 0;
    // What is left to try once the volumes cannot bring the song up any further.
    // Evening out note volumes helps where the volumes are stuck, not where the peaks are.
    auto reshape = [&](bool peaksHold) {
        if (goal.rmsDb - level.rmsDb < kCompressAboveDb) return false;
        if (!compressed && !peaksHold) {
            compressed = true;
            CompressNoteVolumes(song);
        } else if (sustained < kMostSustainPasses) {
            ++sustained;
            SustainOneShots(song);
        } else {
            return false;
        }
        level = MeasureRendered(song);
        return true;
    };
    // Raising volumes that are partly at their limit moves the song less than asked; what the
    // last raise achieved scales the next request.
    double effect = 1;
    for (int pass = 0; pass < kPasses; ++pass) {
        const double shortDb = goal.rmsDb - level.rmsDb;
        const double changeDb = std::min(shortDb, goal.peakCeilingDb - level.peakDb);
        if (shortDb - changeDb > kCompressAboveDb && trims < kMostDrumTrims) {
            ++trims;  // the peaks hold the song back
            TrimDrums(song, kDrumTrim);
            level = MeasureRendered(song);
            continue;
        }
        if (changeDb > -kOverCeilingDb && changeDb < kCloseEnoughDb) {
            if (reshape(true)) continue;
            break;
        }
        const double requestDb =
            changeDb > 0 ? std::min(changeDb / effect, kLargestRaiseDb) : changeDb;
        const double gain = std::pow(10.0, requestDb / 20);
        if (!ScaleMixVolume(song, gain)) ScaleVolumes(song, gain);
        const RenderedLevel next = MeasureRendered(song);
        const double movedDb = next.rmsDb - level.rmsDb;
        level = next;
        if (changeDb < 0) continue;
        effect = std::clamp(movedDb / requestDb, 0.1, 1.0);
        if (movedDb < kStalledShare * changeDb && !reshape(false))
            break;  // the volumes are at their limit
    }
    // Out of passes with the peaks still too high: a last step down, which always works.
    if (level.peakDb > goal.peakCeilingDb + kOverCeilingDb) {
        const double gain = std::pow(10.0, (goal.peakCeilingDb - level.peakDb - 0.1) / 20);
        if (!ScaleMixVolume(song, gain)) ScaleVolumes(song, gain);
        level = MeasureRendered(song);
    }
    return level;
}

}  // namespace packgen
