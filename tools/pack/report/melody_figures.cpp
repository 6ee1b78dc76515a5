#include "tools/pack/report/melody_figures.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <set>

namespace packreport {

namespace {

constexpr double kLeadBarShare = 0.3;  // a lead or bass plays in at least this share of bars
constexpr std::array<bool, 12> kMajor = {true,  false, true,  false, true,  true,
                                         false, true,  false, true,  false, true};
constexpr double kTie = 0.02;  // scales this close to the best fit count as equally good

int PitchClass(int pitch) {
    return ((pitch % 12) + 12) % 12;
}

std::vector<int> MelodicPitches(const ChannelNotes& voice) {
    std::vector<int> pitches;
    for (const NoteEvent& note : voice.notes) {
        if (!note.drum && note.sample >= 0) pitches.push_back(note.pitch);
    }
    return pitches;
}

double BarShare(const ChannelNotes& voice, const SongNotes& song) {
    std::set<int> bars;
    for (const NoteEvent& note : voice.notes) {
        if (!note.drum && note.sample >= 0) bars.insert(note.step / song.rowsPerBar);
    }
    const int total = std::max(1, (song.steps + song.rowsPerBar - 1) / song.rowsPerBar);
    return static_cast<double>(bars.size()) / total;
}

double MeanOf(const std::vector<int>& values) {
    double sum = 0;
    for (int v : values) sum += v;
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

std::array<double, 12> ScaleShares(const std::vector<int>& pitches) {
    std::array<int, 12> counts{};
    for (int pitch : pitches) ++counts[static_cast<std::size_t>(PitchClass(pitch))];
    std::array<double, 12> shares{};
    for (int tonic = 0; tonic < 12; ++tonic) {
        int covered = 0;
        for (int pc = 0; pc < 12; ++pc) {
            if (kMajor[static_cast<std::size_t>(PitchClass(pc - tonic))])
                covered += counts[static_cast<std::size_t>(pc)];
        }
        shares[static_cast<std::size_t>(tonic)] =
            pitches.empty() ? 0
                            : static_cast<double>(covered) / static_cast<double>(pitches.size());
    }
    return shares;
}

// Sounding pairs on different melodic channels over every played row, and those a minor
// second or major seventh apart.
double ClashShare(const SongNotes& song) {
    std::vector<std::vector<int>> soundingAt(static_cast<std::size_t>(song.steps));
    for (const ChannelNotes& voice : song.channels) {
        for (const NoteEvent& note : voice.notes) {
            if (note.drum || note.sample < 0) continue;
            for (int step = note.step; step < note.endStep; ++step)
                soundingAt[static_cast<std::size_t>(step)].push_back(note.pitch);
        }
    }
    std::size_t pairs = 0, clashes = 0;
    for (const std::vector<int>& row : soundingAt) {
        for (std::size_t a = 0; a < row.size(); ++a) {
            for (std::size_t b = a + 1; b < row.size(); ++b) {
                const int interval = PitchClass(row[a] - row[b]);
                ++pairs;
                clashes += interval == 1 || interval == 11;
            }
        }
    }
    return pairs > 0 ? static_cast<double>(clashes) / static_cast<double>(pairs) : -1;
}

}  // namespace

int FifthsApart(int tonicA, int tonicB) {
    // A fifth up is 7 semitones: the number of fifths between the tonics is 7 * d mod 12.
    const int fifths = PitchClass(7 * (tonicB - tonicA));
    return std::min(fifths, 12 - fifths);
}

ScaleFit BestScale(const std::vector<int>& pitches, int near) {
    ScaleFit fit;
    if (pitches.empty()) return fit;
    const std::array<double, 12> shares = ScaleShares(pitches);
    double best = 0;
    for (double share : shares) best = std::max(best, share);
    for (int tonic = 0; tonic < 12; ++tonic) {
        if (shares[static_cast<std::size_t>(tonic)] < best - kTie) continue;
        const bool closer =
            fit.tonic < 0 || (near >= 0 && FifthsApart(tonic, near) < FifthsApart(fit.tonic, near));
        if (closer) fit.tonic = tonic;
    }
    fit.share = best;
    return fit;
}

MelodyFigures MeasureMelody(const SongNotes& song) {
    MelodyFigures figures;
    double highest = -1e9, lowest = 1e9;
    std::vector<int> everyNote;
    for (std::size_t c = 0; c < song.channels.size(); ++c) {
        const std::vector<int> pitches = MelodicPitches(song.channels[c]);
        everyNote.insert(everyNote.end(), pitches.begin(), pitches.end());
        if (pitches.empty() || BarShare(song.channels[c], song) < kLeadBarShare) continue;
        const double mean = MeanOf(pitches);
        if (mean > highest) {
            highest = mean;
            figures.leadChannel = static_cast<int>(c);
        }
        if (mean < lowest) {
            lowest = mean;
            figures.bassChannel = static_cast<int>(c);
        }
    }
    if (figures.bassChannel == figures.leadChannel) figures.bassChannel = -1;
    if (!everyNote.empty()) figures.scaleFit = BestScale(everyNote).share;
    figures.clashShare = ClashShare(song);
    if (figures.leadChannel < 0) return figures;
    const std::vector<int> lead =
        MelodicPitches(song.channels[static_cast<std::size_t>(figures.leadChannel)]);
    int skips = 0, steps = 0;
    double sum = 0;
    for (std::size_t i = 1; i < lead.size(); ++i) {
        const int interval = std::abs(lead[i] - lead[i - 1]);
        sum += interval;
        skips += interval >= 3 && interval <= 7;
        steps += interval <= 2;
    }
    if (lead.size() > 1) {
        const double intervals = static_cast<double>(lead.size() - 1);
        figures.meanInterval = sum / intervals;
        figures.skipShare = skips / intervals;
        figures.stepShare = steps / intervals;
    }
    if (figures.bassChannel < 0) return figures;
    const std::vector<int> bass =
        MelodicPitches(song.channels[static_cast<std::size_t>(figures.bassChannel)]);
    // Each voice's best key, a tie in either resolved towards the other voice.
    const ScaleFit leadAlone = BestScale(lead);
    const ScaleFit bassFit = BestScale(bass, leadAlone.tonic);
    const ScaleFit leadFit = BestScale(lead, bassFit.tonic);
    figures.leadKey = leadFit.tonic;
    figures.bassKey = bassFit.tonic;
    figures.keysClash = FifthsApart(figures.leadKey, figures.bassKey) >= 5;
    return figures;
}

}  // namespace packreport
