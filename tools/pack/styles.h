// The sixteen musicians' styles: what makes each one's songs recognisably theirs.
#pragma once

#include <vector>

#include "tools/pack/harmony.h"
#include "tools/pack/waveforms.h"

namespace packgen {

enum class DrumFeel { FourOnFloor, Backbeat, Breakbeat, HalfTime, Shuffle, Sparse };
enum class BassFeel { RootEighths, OctaveBounce, Walking, Syncopated, Pedal, Arpeggiated };
enum class ChordFeel { FastArp, BrokenChord, Stabs, Pad };

struct Style {
    int tempoLow = 120;
    int tempoHigh = 130;
    std::vector<Mode> modes;
    Wave lead = Wave::Square50;
    Wave leadAlt = Wave::Square25;  // bridges and second voices
    Wave bass = Wave::Triangle;
    Wave chords = Wave::Square25;
    DrumFeel drums = DrumFeel::Backbeat;
    BassFeel bassFeel = BassFeel::RootEighths;
    ChordFeel chordFeel = ChordFeel::FastArp;
    int melodyDensity = 50;    // percent: how busy the lead is
    int leapiness = 25;        // percent of melodic steps that leap
    int vibrato = 0x33;        // 4xy for held lead notes; 0 for none
    int portamentoChance = 0;  // percent of lead notes that slide in
    double kickPunch = 1.0;
    double snareNoise = 0.7;
    int leadOctave = 0;  // octaves above middle C's octave
    // Held lead notes die away like a plucked string instead of singing with vibrato.
    bool pluckedLead = false;
    // Mix level of the tonal parts in dB, so that sparse and busy styles sound equally loud.
    double tonalTrimDb = 0.0;
};

const Style& StyleOf(int musician);

}  // namespace packgen
