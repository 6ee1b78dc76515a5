#include "tools/pack/styles.h"

#include <array>

namespace packgen {

namespace {

using enum Mode;
using enum Wave;

std::array<Style, 16> MakeStyles() {
    std::array<Style, 16> s{};
    // ANCHORBYTE: bright, bouncy, classic four-voice chip with fast chord arpeggios.
    s[0] = {124,
            138,
            {Major, Mixolydian, Major},
            Square50,
            Square25,
            Triangle,
            Square25,
            DrumFeel::Backbeat,
            BassFeel::OctaveBounce,
            ChordFeel::FastArp,
            55,
            25,
            0x34,
            10,
            1.0,
            0.7,
            0};
    // BRINEWORM: slow, dubby minor grooves; round bass and a soft lead.
    s[1] = {84,
            96,
            {Dorian, Minor},
            SoftSquare,
            Triangle,
            Sine,
            Square12,
            DrumFeel::HalfTime,
            BassFeel::Syncopated,
            ChordFeel::Stabs,
            35,
            20,
            0x23,
            25,
            1.2,
            0.8,
            0};
    // CORALSYNC: fast, major, running pulse leads.
    s[2] = {150,
            164,
            {Major, Mixolydian},
            Square25,
            Square12,
            Square50,
            Square12,
            DrumFeel::Breakbeat,
            BassFeel::RootEighths,
            ChordFeel::FastArp,
            75,
            30,
            0x24,
            0,
            0.9,
            0.6,
            0};
    // DuskMoth: dreamy lydian pads and sine melodies.
    s[3] = {92,
            104,
            {Lydian, Major},
            Sine,
            Triangle,
            Triangle,
            SoftSquare,
            DrumFeel::Sparse,
            BassFeel::Pedal,
            ChordFeel::Pad,
            35,
            35,
            0x44,
            30,
            0.8,
            0.9,
            0};
    // EELGRASS: moody dorian, filtered saw lead, broken beats.
    s[4] = {104,
            112,
            {Dorian},
            Saw,
            SoftSquare,
            Triangle,
            Saw,
            DrumFeel::Breakbeat,
            BassFeel::Syncopated,
            ChordFeel::Pad,
            45,
            30,
            0x35,
            20,
            1.0,
            0.6,
            0};
    // FATHOM8: dark and heavy, saw bass pedal, thin pulse lead.
    s[5] = {108,
            122,
            {Minor, Phrygian, HarmonicMinor},
            Square12,
            Saw,
            Saw,
            Square25,
            DrumFeel::Backbeat,
            BassFeel::Pedal,
            ChordFeel::Stabs,
            45,
            25,
            0x26,
            15,
            1.3,
            0.6,
            0};
    // GULLWING: folky, triangle lead, walking bass, shuffled drums.
    s[6] = {132,
            144,
            {Major, Mixolydian},
            Triangle,
            Square25,
            Square50,
            Square12,
            DrumFeel::Shuffle,
            BassFeel::Walking,
            ChordFeel::BrokenChord,
            60,
            20,
            0x23,
            0,
            0.9,
            0.8,
            1};
    // HARPOONIE: harmonic-minor sea shanty bounce.
    s[7] = {138,
            146,
            {HarmonicMinor},
            Square50,
            Triangle,
            Triangle,
            Square25,
            DrumFeel::Shuffle,
            BassFeel::Arpeggiated,
            ChordFeel::Stabs,
            65,
            35,
            0x34,
            0,
            1.0,
            0.7,
            0};
    // KELPFRAME: cracktro energy: minor, fast arps, four on the floor.
    s[8] = {136,
            150,
            {Minor, Dorian},
            Square25,
            Square50,
            Square50,
            Square12,
            DrumFeel::FourOnFloor,
            BassFeel::OctaveBounce,
            ChordFeel::FastArp,
            70,
            30,
            0x35,
            10,
            1.1,
            0.6,
            0};
    // LUGWORM: funky mid-tempo, syncopated saw bass.
    s[9] = {100,
            112,
            {Dorian, Mixolydian},
            Square25,
            SoftSquare,
            Saw,
            Square12,
            DrumFeel::Backbeat,
            BassFeel::Syncopated,
            ChordFeel::Stabs,
            50,
            25,
            0x23,
            20,
            1.2,
            0.7,
            0};
    // MARLSPIKE: baroque-flavoured broken chords over a walking bass.
    s[10] = {116,
             124,
             {HarmonicMinor, Minor},
             Square25,
             Triangle,
             Triangle,
             Square50,
             DrumFeel::Backbeat,
             BassFeel::Walking,
             ChordFeel::BrokenChord,
             65,
             20,
             0x24,
             0,
             0.9,
             0.7,
             0};
    // NAUTILOID: spacey electro, soft squares, pads and arps, the widest range of moods.
    s[11] = {106,
             134,
             {Minor, Dorian, Major, Lydian},
             SoftSquare,
             Square25,
             Square50,
             Triangle,
             DrumFeel::FourOnFloor,
             BassFeel::Arpeggiated,
             ChordFeel::Pad,
             50,
             30,
             0x44,
             15,
             1.1,
             0.6,
             0};
    // PEARLDVR: calm, clear triangles and sines with echoing notes.
    s[12] = {94,
             100,
             {Major},
             Triangle,
             Sine,
             Sine,
             SoftSquare,
             DrumFeel::Sparse,
             BassFeel::Walking,
             ChordFeel::Pad,
             40,
             25,
             0x34,
             20,
             0.8,
             0.8,
             1};
    // SALTMARSH: pastoral and slow, sine lead, lydian colour.
    s[13] = {86,
             92,
             {Lydian},
             Sine,
             Triangle,
             Triangle,
             Triangle,
             DrumFeel::Sparse,
             BassFeel::Pedal,
             ChordFeel::Pad,
             30,
             30,
             0x45,
             30,
             0.8,
             0.9,
             0};
    // UNDERTOW: driving minor breaks, saw octave bass, square lead.
    s[14] = {146,
             160,
             {Minor, Phrygian},
             Square50,
             Saw,
             Saw,
             Square25,
             DrumFeel::Breakbeat,
             BassFeel::OctaveBounce,
             ChordFeel::FastArp,
             60,
             30,
             0x36,
             10,
             1.3,
             0.5,
             0};
    // WRACKLINE: nostalgic mid-tempo, wide vibrato on thin pulses.
    s[15] = {114,
             128,
             {Major, Minor, Mixolydian},
             Square12,
             Square25,
             Triangle,
             Square25,
             DrumFeel::Backbeat,
             BassFeel::RootEighths,
             ChordFeel::FastArp,
             50,
             25,
             0x47,
             15,
             1.0,
             0.7,
             0};
    s[2].pluckedLead = true;
    s[6].pluckedLead = true;
    s[7].pluckedLead = true;
    s[1].tonalTrimDb = 1.2;
    s[2].tonalTrimDb = -1.8;
    s[3].tonalTrimDb = 4.5;
    s[8].tonalTrimDb = -1.8;
    s[13].tonalTrimDb = 5.5;
    return s;
}

}  // namespace

const Style& StyleOf(int musician) {
    static const std::array<Style, 16> kStyles = MakeStyles();
    return kStyles[static_cast<std::size_t>(musician) % kStyles.size()];
}

}  // namespace packgen
