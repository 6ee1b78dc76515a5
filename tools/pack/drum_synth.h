// Drum sounds made by synthesis, each drawn with parameters of its own: a kit is a handful of
// these, made for the rate each will be played at.
#pragma once

#include "tools/pack/random.h"
#include "tools/pack/song.h"

namespace packgen {

enum class DrumSound {
    SineKick,    // falling sine, a round electronic kick
    ClickKick,   // short sine with a noise click on top
    ChipKick,    // square diving in pitch, as sound chips played kicks
    BoomKick,    // long low sine that rings on
    NoiseSnare,  // tone and noise
    ChipSnare,   // a burst of register noise
    Clap,        // three quick bursts and a tail
    Rim,         // a very short high knock
    NoiseHat,    // high-passed white noise
    MetalHat,    // six square waves ringing together
    OpenHat,     // a longer metallic hat
    Shaker,      // soft-edged band of noise
    Tom,         // tuned, bending down
    ChipTom,     // triangle diving in pitch
    Cymbal,      // a long wash of metal
    Cowbell,     // two squares a fifth-ish apart
    Blip,        // a short pitched chirp
};

enum class DrumRole { Kick, Snare, Hat, OpenHat, Perc, Tom, Crash };
DrumRole RoleOf(DrumSound sound);
const char* DrumSoundName(DrumSound sound);

// The sound, made at `rate` points per second, its parameters drawn from `random`.
Sample MakeDrum(DrumSound sound, double rate, Random& random, int amplitude);

}  // namespace packgen
