// What a composed song sounds like note by note: each instrument rendered alone to hear its
// pitch, and the song's melodic voices by the pitch they sound at, with their keys and clashes.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "tools/pack/song.h"

namespace packtest {

// An instrument without a pitch of its own: drums, noise.
inline constexpr int kUnpitched = 99;

// The fundamental of mono audio in Hz (autocorrelation by YIN), or none where the sound has no
// clear period.
std::optional<double> EstimateFrequency(const std::vector<float>& mono, double rate);

// How far `instrument` (1-based), written into its song's format and rendered alone at `pitch`,
// sounds from that pitch, in semitones folded into -6 to 6; none for a sound without a pitch.
std::optional<double> RenderedPitchError(const packgen::Song& song, int instrument, int pitch);

// The notes one channel plays, by sounding pitch, in the order the song plays them.
struct Voice {
    int channel = 0;
    std::vector<int> notes;
    double meanPitch() const;
};

// The melodic voices of a song (drums and unpitched sounds left out), each note shifted by what
// its instrument adds when rendered: `errors[i]` for instrument i + 1, in semitones.
std::vector<Voice> MelodicVoices(const packgen::Song& song, const std::vector<int>& errors);

// The share of `notes` that the best-fitting of the 12 major scales covers, and that scale's
// tonic (the one with the lowest pitch class among ties).
struct ScaleFit {
    double share = 0;
    int tonic = 0;
};
ScaleFit BestScale(const std::vector<int>& notes);

// Over every row, every pair of notes sounding together on different melodic channels: the
// share of pairs a minor second or major seventh apart.
double ClashShare(const packgen::Song& song, const std::vector<int>& errors);

// Semitones each instrument of the song sounds off its written pitch, rendered alone at middle
// C; kUnpitched for drums and sounds without a pitch.
std::vector<int> InstrumentErrors(const packgen::Song& song);

}  // namespace packtest
