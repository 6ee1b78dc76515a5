// A format-neutral tracker song: samples, instruments, patterns and an order list. The three
// writers turn it into MOD, XM or IT bytes; composition fills it in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace packgen {

// Notes count semitones with 49 as middle C (C-4 in FastTracker numbering, 261.6 Hz for a
// 32-point single-cycle waveform played at 8363 Hz). 0 is "no note".
inline constexpr int kNoNote = 0;
inline constexpr int kNoteOff = 97;  // releases the note (key off)
inline constexpr int kMiddleC = 49;

enum class Effect : std::uint8_t {
    None,
    Arpeggio,        // 0xy: chord in one channel
    PortaUp,         // 1xx
    PortaDown,       // 2xx
    TonePorta,       // 3xx: slide to the note
    Vibrato,         // 4xy
    VolumeSlide,     // Axy: x up, y down per tick
    SetPanning,      // 8xx: 0 left, 255 right
    PatternBreak,    // Dxx
    SetSpeed,        // ticks per row
    SetTempo,        // beats per minute
    NoteCut,         // ECx / SCx: cut after x ticks
    NoteDelay,       // EDx / SDx
    Retrigger,       // E9x / Q0x
    FineVolumeDown,  // EBx / DFx
    SampleOffset     // 9xx / Oxx: start x * 256 points into the sample
};

struct Cell {
    std::uint8_t note = kNoNote;
    std::uint8_t instrument = 0;  // 1-based; 0 keeps the channel's instrument
    std::int8_t volume = -1;      // 0 to 64, or -1 for none
    Effect effect = Effect::None;
    std::uint8_t param = 0;
};

struct Pattern {
    int rows = 64;
    int channels = 4;
    std::vector<Cell> cells;

    Pattern(int rowCount, int channelCount)
        : rows(rowCount),
          channels(channelCount),
          cells(static_cast<std::size_t>(rowCount * channelCount)) {}
    Cell& at(int row, int channel) {
        return cells[static_cast<std::size_t>(row * channels + channel)];
    }
    const Cell& at(int row, int channel) const {
        return cells[static_cast<std::size_t>(row * channels + channel)];
    }
};

struct EnvelopePoint {
    std::uint16_t tick;
    std::int8_t value;  // volume 0 to 64; panning -32 (left) to 32 (right)
};

struct Envelope {
    std::vector<EnvelopePoint> points;  // empty: envelope off
    int sustainPoint = -1;
    int loopStart = -1;
    int loopEnd = -1;
};

struct Sample {
    std::string name;
    std::vector<std::int8_t> data;
    bool loops = false;
    std::uint32_t loopStart = 0;
    std::uint32_t loopLength = 0;
    std::uint8_t volume = 64;  // default volume 0 to 64
    // Semitones this sample sounds above a 32-point cycle at the same playback rate; a played
    // pitch p is written as note p - transpose.
    int transpose = 0;
};

// What a new note does to the note already sounding in its channel (IT only).
enum class NewNoteAction : std::uint8_t { Cut = 0, Continue = 1, NoteOff = 2, Fade = 3 };

struct Instrument {
    std::string name;
    int sample = 0;  // 0-based index into Song::samples
    Envelope volumeEnvelope;
    Envelope panningEnvelope;
    std::uint8_t panning = 128;  // 0 left to 255 right
    std::uint16_t fadeout = 0;   // per-tick volume fade after key off (XM scale 0 to 4095)
    NewNoteAction newNoteAction = NewNoteAction::Cut;
    int filterCutoff = -1;          // 0 to 127, or -1 for no filter (IT)
    int filterResonance = -1;       // 0 to 127 (IT)
    std::uint8_t vibratoDepth = 0;  // automatic vibrato (XM, IT)
    std::uint8_t vibratoRate = 0;
    bool drum = false;  // a drum or a noise: no pitch of its own to keep in tune
};

enum class Format { Mod, Xm, It };

struct Song {
    std::string title;
    Format format = Format::Mod;
    int channels = 4;
    int speed = 6;
    int tempo = 125;
    int globalVolume = 64;            // 0 to 64; the IT writer doubles it
    int mixVolume = 48;               // IT mixing volume 0 to 128
    std::vector<int> channelPanning;  // 0 left to 64 right, per channel (XM/IT)
    std::vector<Sample> samples;
    std::vector<Instrument> instruments;  // for MOD only the sample of each is used
    std::vector<Pattern> patterns;
    std::vector<int> orders;
};

// Semitones between the written and the played note for a cell of `instrument` (1-based; 0, no
// instrument, transposes nothing).
inline int TransposeOf(const Song& song, int instrument) {
    if (instrument <= 0) return 0;
    const Instrument& played = song.instruments[static_cast<std::size_t>(instrument - 1)];
    return song.samples[static_cast<std::size_t>(played.sample)].transpose;
}

}  // namespace packgen
