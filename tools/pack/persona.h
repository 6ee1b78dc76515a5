// The sixteen musicians: what each one reaches for. A persona lists the instruments, drum
// sounds, grooves, tempi, speeds, openings and endings one musician uses; each song draws its
// own from these, so the songs of one musician are related without being copies.
#pragma once

#include <vector>

#include "tools/pack/drum_synth.h"
#include "tools/pack/grooves.h"
#include "tools/pack/harmony.h"

namespace packgen {

// How a pitched instrument is made.
enum class ToneKind {
    Pulse,         // single-cycle pulse of a drawn duty
    ChipTriangle,  // stepped triangle, as sound chips made it
    Saw,
    SoftSquare,
    Sine,
    Organ,    // additive, drawbar-like harmonics
    Hollow,   // additive, odd harmonics only
    FmCycle,  // single-cycle FM
    Detuned,  // many cycles of two waves beating
    Pluck,    // plucked string, one-shot
    FmKeys,   // FM tone that mellows as it dies away, one-shot
    FmBell,   // inharmonic FM bell, one-shot
};

enum class Opening {
    Cold,            // the whole band from the first row
    DrumIntro,       // drums alone, then everyone
    BassIntro,       // bass and a little percussion
    PadIntro,        // held chords, then the groove
    LeadAlone,       // the tune on its own, unaccompanied
    BreakdownFirst,  // the quiet middle section first, then the drop
    FadeIn,          // the groove fades in
    Riser,           // a noise sweep into a crash
};

enum class Ending { Cadence, FadeOut, ColdStop, DrumOutro };

enum class BassFeel { RootPulse, OctaveBounce, Walking, Syncopated, Pedal, Arpeggiated, Riff };
enum class ChordFeel { FastArp, BrokenChord, Stabs, Pad, Strum };

struct Persona {
    int bpmLow = 100;
    int bpmHigh = 130;
    std::vector<int> speeds;  // ticks per row they like to write at
    std::vector<Mode> modes;
    std::vector<RhythmFamily> grooves;
    std::vector<ToneKind> leads;
    std::vector<ToneKind> basses;
    std::vector<ToneKind> chords;
    std::vector<ToneKind> pads;  // XM and IT
    std::vector<DrumSound> kit;  // the drum sounds they draw from
    std::vector<BassFeel> bassFeels;
    std::vector<ChordFeel> chordFeels;
    std::vector<Opening> openings;
    std::vector<Ending> endings;
    int melodyDensity = 50;  // percent
    int leapiness = 25;      // percent
    int vibrato = 0x34;      // 4xy on held notes, 0 for none
    int portamento = 0;      // percent of lead notes that slide in
    int shortSongs = 50;     // percent of their songs that are short (about 90 to 150 s)
    int leadOctave = 0;      // octaves above the octave of middle C
    // XM and IT: where the bass sits, 0 left to 255 right. Most lean it off the middle, away
    // from the lead, as they had it on the left of four Amiga channels.
    int bassPanning = 48;
};

const Persona& PersonaOf(int musician);

}  // namespace packgen
