// Keys, modes, diatonic chords and chord progressions.
#pragma once

#include <array>
#include <vector>

namespace packgen {

enum class Mode { Major, Minor, Dorian, Mixolydian, HarmonicMinor, Lydian, Phrygian };

// One chord per bar, as scale degrees (0 = tonic).
using Progression = std::vector<int>;

// A key: tonic pitch class (0 = C) and mode. Pitches are notes as in song.h.
struct Key {
    int tonic = 0;
    Mode mode = Mode::Major;

    // The pitch of scale degree `degree` (any integer; 7 is the tonic an octave up) counted
    // from the tonic in the octave of `octaveBase` (a note, e.g. 49 for the octave of middle C).
    int pitchOf(int degree, int octaveBase) const;
    // The pitch of scale degree `degree` in the octave from `low` up (`low` itself included).
    int pitchFrom(int degree, int low) const;
    // Degree's semitone offset above the tonic, 0 to 11.
    int semitonesOf(int degree) const;
};

// The diatonic triad on a degree: its degrees are root, root + 2, root + 4.
struct Chord {
    int rootDegree = 0;
    int third = 4;  // semitones from root to third
    int fifth = 7;  // semitones from root to fifth
};
Chord TriadOn(const Key& key, int degree);

// Whether a scale degree belongs to a chord (root, third or fifth), octave-blind.
bool IsChordTone(const Chord& chord, int degree);

// The chord tone degree nearest to `degree` (ties go down).
int NearestChordTone(const Chord& chord, int degree);

// Progressions that suit a mode, for verses/choruses and for bridges.
const std::vector<Progression>& MainProgressions(Mode mode);
const std::vector<Progression>& BridgeProgressions(Mode mode);

}  // namespace packgen
