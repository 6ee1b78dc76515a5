// Pitched instruments beyond the plain chip cycles: additive and FM cycles, detuned loops of
// many cycles, plucked strings, FM tones that change as they die away, and noise loops. All
// 8-bit. Pitched one-shots are made at a period of 32 * 2^k points so that, like the cycles,
// they transpose by whole octaves.
#pragma once

#include <vector>

#include "tools/pack/random.h"
#include "tools/pack/song.h"
#include "tools/pack/waveforms.h"

namespace packgen {

// One cycle summed from harmonics (weights of harmonics 1, 2, 3 ...).
Sample MakeAdditiveCycle(const std::vector<double>& harmonics, int length, int amplitude);

// One cycle of a sine carrier phase-modulated at `ratio` times its frequency.
Sample MakeFmCycle(int ratio, double index, int length, int amplitude);

// Two waves beating against each other: `cycles` and `cycles + 1` periods in one loop of
// 32 * cycles points, so the loop repeats seamlessly and plays at the pitch of a 32-point cycle.
Sample MakeDetunedLoop(Wave wave, Wave partner, int cycles, double partnerLevel, int amplitude);

// A plucked string (Karplus-Strong) of `period` points, `seconds` long at the rate it plays at
// for `pitch` (a note as in song.h). `brightness` 0 to 1 shapes the pick, `damping` the decay.
Sample MakePluck(int period, int pitch, double seconds, double brightness, double damping,
                 Random& random, int amplitude);

// A one-shot FM tone of `period` points whose modulation index falls from `index` as it
// sounds: bells, electric pianos, slap basses.
Sample MakeFmTone(int period, int pitch, double seconds, double ratio, double index,
                  double indexDecay, double decay, int amplitude);

// Looped noise: white, or from a 15-bit feedback register as old sound chips made it
// (`shortLoop`: the 93-step metallic mode). `hold` points per noise step set its colour.
Sample MakeNoiseCycle(bool registerNoise, bool shortLoop, int hold, int length, Random& random,
                      int amplitude);

// Per-song detail on a looped cycle: a gentle low-pass run around the loop (stays seamless),
// and a coarser amplitude grid (`levels` steps from top to bottom, 0 for none).
void Soften(Sample& sample, double amount);
void Quantise(Sample& sample, int levels);

// Mixes more of the fundamental into a pitched sample, in step with the one it has, until the
// fundamental carries at least `share` of each period's power; the peak stays where it was.
void StrengthenFundamental(Sample& sample, double share);

// The sample's data scaled so its largest point is `amplitude`.
void Normalise(Sample& sample, int amplitude);

// The playback rate of a sample at written note `written` (middle C, 49, plays at 8363 Hz).
double RateOfWritten(int written);

}  // namespace packgen
