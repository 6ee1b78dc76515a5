// What pitch a sample sounds at: its fundamental found in its own data, against the rate its
// tuning plays it at, so a note's heard pitch class can differ from the written one.
#pragma once

#include <optional>

#include "tools/pack/report/module_reader.h"

namespace packreport {

// The sample's fundamental period in sample points, by autocorrelation of its loop (or, for a
// sample that does not loop, of its body); nullopt for noise and samples too short to tell.
std::optional<double> FundamentalPeriod(const SampleData& sample);

// Semitones the sample sounds above the written note, octaves included: 0 when OpenMPT's C-5
// sounds as middle C, -12 when it sounds an octave below. nullopt when it has no clear pitch.
std::optional<double> SoundingOffset(const SampleData& sample);

// An offset folded into [-6, 6): how far the heard pitch class is from the written one.
double PitchClassOffset(double semitones);

}  // namespace packreport
