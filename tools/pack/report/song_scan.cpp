#include "tools/pack/report/song_scan.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <map>
#include <tuple>

namespace packreport {

namespace {

constexpr int kBlockRows = 16;

// Mean squared step between neighbouring points over the mean square: about 2 for white
// noise, far below 1 for tones sampled at many points per cycle.
double Roughness(const std::vector<std::int16_t>& data) {
    double energy = 0, steps = 0;
    for (std::size_t i = 1; i < data.size(); ++i) {
        const double d = static_cast<double>(data[i]) - data[i - 1];
        energy += static_cast<double>(data[i]) * data[i];
        steps += d * d;
    }
    return energy > 0 ? steps / energy : 0;
}

SampleClass ClassOf(const SampleData& sample) {
    if (sample.loops && sample.loopLength <= 512) return SampleClass::SingleCycle;
    if (Roughness(sample.data) >= 0.6) return SampleClass::Noise;
    return sample.loops ? SampleClass::LongLoop : SampleClass::OneShot;
}

// Zero crossings per second over [from, to) seconds of the sample played at `rate`.
double CrossingRate(const std::vector<std::int16_t>& data, double rate, double from, double to) {
    const std::size_t begin = static_cast<std::size_t>(from * rate);
    const std::size_t end = std::min(data.size(), static_cast<std::size_t>(to * rate));
    int crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i) {
        if ((data[i - 1] < 0) != (data[i] < 0)) ++crossings;
    }
    return end > begin + 1 ? crossings * rate / 2.0 / static_cast<double>(end - begin) : 0;
}

DrumKind DrumKindOf(const SampleData& sample, int note) {
    const double rate = 8363.0 * std::pow(2.0, (note - 61) / 12.0);
    const double seconds = sample.loops ? 0.5 : static_cast<double>(sample.data.size()) / rate;
    const double frequency = CrossingRate(sample.data, rate, 0.001, 0.041);
    if (frequency < 200) return DrumKind::Kick;
    if (Roughness(sample.data) < 0.3) return frequency < 800 ? DrumKind::Tom : DrumKind::Blip;
    if (frequency > 3500) return seconds < 0.3 ? DrumKind::Hat : DrumKind::Cymbal;
    return DrumKind::Snare;
}

struct Hit {
    int row;  // within the 16-row block
    int sample;
    bool delayed;
};

bool IsNoteDelay(openmpt::module& module, int pattern, int row, int channel) {
    const std::string effect = module.format_pattern_row_channel_command(
        pattern, row, channel, openmpt::module::command_effect);
    const std::string param = module.format_pattern_row_channel_command(
        pattern, row, channel, openmpt::module::command_parameter);
    return (effect == "E" || effect == "S") && !param.empty() && param[0] == 'D' && param != "D0";
}

std::uint16_t RowsOf(const std::vector<Hit>& hits, const std::vector<ScannedSample>& samples,
                     const std::vector<int>& slot, DrumKind kind) {
    std::uint16_t mask = 0;
    for (const Hit& hit : hits) {
        const ScannedSample& s = samples[static_cast<std::size_t>(slot[hit.sample])];
        if (s.drum && s.drumKind == kind) mask |= static_cast<std::uint16_t>(1u << hit.row);
    }
    return mask;
}

bool On(std::uint16_t mask, int row) {
    return (mask >> row) & 1u;
}

RhythmFamilies FamiliesOf(const std::string& pattern, std::uint16_t kick, std::uint16_t snare) {
    RhythmFamilies f;
    f.fourOnFloor = On(kick, 0) && On(kick, 4) && On(kick, 8) && On(kick, 12);
    f.backbeat = On(snare, 4) && On(snare, 12);
    f.halfTime = On(snare, 8) && !On(snare, 4) && !On(snare, 12);
    bool offbeatKick = false;
    for (int row = 0; row < kBlockRows; ++row) offbeatKick |= On(kick, row) && row % 4 != 0;
    const int kickSnare = std::popcount(kick) + std::popcount(snare);
    f.breakbeat =
        !f.fourOnFloor && offbeatKick && (On(snare, 4) || On(snare, 12)) && kickSnare >= 5;
    int shuffled = 0;
    for (int beat = 0; beat < 4; ++beat) {
        const char* at = pattern.c_str() + 4 * beat;
        if (at[3] == 'x' && at[2] == '.' && at[1] == '.') ++shuffled;
    }
    f.shuffle = shuffled >= 3;
    return f;
}

}  // namespace

const char* DrumKindName(DrumKind kind) {
    switch (kind) {
        case DrumKind::Kick:
            return "kick";
        case DrumKind::Tom:
            return "tom";
        case DrumKind::Snare:
            return "snare/noise burst";
        case DrumKind::Hat:
            return "hat";
        case DrumKind::Cymbal:
            return "cymbal";
        case DrumKind::Blip:
            return "blip/click";
    }
    return "?";
}

const char* SampleClassName(SampleClass kind) {
    switch (kind) {
        case SampleClass::SingleCycle:
            return "single-cycle wave";
        case SampleClass::LongLoop:
            return "long multi-cycle loop";
        case SampleClass::Noise:
            return "noise";
        case SampleClass::OneShot:
            return "one-shot tone";
    }
    return "?";
}

SongScan ScanSong(openmpt::module& module, const ModuleSamples& samples,
                  const std::vector<std::pair<int, int>>& visitedRows, double speedChangesPerRow) {
    SongScan scan;
    std::vector<int> slot(samples.samples.size(), -1);
    for (std::size_t s = 0; s < samples.samples.size(); ++s) {
        if (samples.samples[s].data.empty()) continue;
        slot[s] = static_cast<int>(scan.samples.size());
        ScannedSample scanned;
        scanned.index = static_cast<int>(s);
        scanned.kind = ClassOf(samples.samples[s]);
        scan.samples.push_back(scanned);
    }
    const int channels = module.get_num_channels();
    std::vector<int> instrument(static_cast<std::size_t>(channels), 0);
    // Sample hits per 16-row block, and per channel the notes of each block.
    std::map<std::pair<int, int>, std::vector<Hit>> hits;
    std::map<std::tuple<int, int, int>, std::string> blocks;
    std::map<std::tuple<int, int, int>, int> blockNotes;
    std::size_t delayedOffbeats = 0, offbeats = 0;
    for (const auto& [order, row] : visitedRows) {
        const int pattern = module.get_order_pattern(order);
        if (pattern < 0 || pattern >= module.get_num_patterns()) continue;
        if (row >= module.get_pattern_num_rows(pattern)) continue;
        for (int c = 0; c < channels; ++c) {
            const int note = module.get_pattern_row_channel_command(pattern, row, c,
                                                                    openmpt::module::command_note);
            const int in = module.get_pattern_row_channel_command(
                pattern, row, c, openmpt::module::command_instrument);
            if (in > 0) instrument[static_cast<std::size_t>(c)] = in;
            if (note < 1 || note > 120) continue;
            const auto block = std::make_tuple(order, row / kBlockRows, c);
            blocks[block] += std::to_string(row % kBlockRows) + ":" + std::to_string(note) + " ";
            ++blockNotes[block];
            const int s = samples.SampleFor(instrument[static_cast<std::size_t>(c)], note);
            if (s < 0 || static_cast<std::size_t>(s) >= slot.size() || slot[s] < 0) continue;
            ScannedSample& scanned = scan.samples[static_cast<std::size_t>(slot[s])];
            ++scanned.uses;
            ++scanned.notes[note];
            hits[{order, row / kBlockRows}].push_back(
                {row % kBlockRows, s, IsNoteDelay(module, pattern, row, c)});
        }
    }
    for (const auto& [block, text] : blocks) {
        if (blockNotes[block] >= 2) scan.noteBlocks.insert(text);
    }
    for (ScannedSample& scanned : scan.samples) {
        if (scanned.uses == 0) continue;
        const SampleData& data = samples.samples[static_cast<std::size_t>(scanned.index)];
        // A drum is struck at a few fixed pitches, and does not hold a tone while it loops.
        scanned.drum =
            scanned.notes.size() <= 4 && (!data.loops || scanned.kind == SampleClass::Noise);
        if (!scanned.drum) continue;
        ++scan.drumSounds;
    }
    // The most common pitch of each drum decides the rate its sound is judged at.
    for (ScannedSample& scanned : scan.samples) {
        if (!scanned.drum) continue;
        std::size_t most = 0;
        for (const auto& [note, count] : scanned.notes) {
            if (count > most) {
                most = count;
                scanned.commonNote = note;
            }
        }
        scanned.drumKind = DrumKindOf(samples.samples[static_cast<std::size_t>(scanned.index)],
                                      scanned.commonNote);
    }

    std::map<std::string, int> masks;
    std::map<std::string, std::map<std::pair<std::uint16_t, std::uint16_t>, int>> kinds;
    for (const auto& [block, list] : hits) {
        std::string mask(kBlockRows, '.');
        std::vector<Hit> drumHits;
        for (const Hit& hit : list) {
            const ScannedSample& s = scan.samples[static_cast<std::size_t>(slot[hit.sample])];
            if (!s.drum) continue;
            mask[static_cast<std::size_t>(hit.row)] = 'x';
            drumHits.push_back(hit);
            if (hit.row % 4 == 2) {
                ++offbeats;
                if (hit.delayed) ++delayedOffbeats;
            }
        }
        if (drumHits.empty()) continue;
        ++masks[mask];
        ++kinds[mask][{RowsOf(drumHits, scan.samples, slot, DrumKind::Kick),
                       RowsOf(drumHits, scan.samples, slot, DrumKind::Snare)}];
    }
    int best = 0;
    for (const auto& [mask, count] : masks) {
        if (count > best) {
            best = count;
            scan.dominantDrumPattern = mask;
        }
    }
    if (!scan.dominantDrumPattern.empty()) {
        int most = 0;
        std::pair<std::uint16_t, std::uint16_t> kickSnare{};
        for (const auto& [pair, count] : kinds[scan.dominantDrumPattern]) {
            if (count > most) {
                most = count;
                kickSnare = pair;
            }
        }
        scan.families = FamiliesOf(scan.dominantDrumPattern, kickSnare.first, kickSnare.second);
    }
    scan.families.swing =
        speedChangesPerRow >= 0.3 || (offbeats > 0 && delayedOffbeats * 5 >= offbeats);
    return scan;
}

}  // namespace packreport
