#include "tools/pack/instruments.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace packgen {

namespace {

// Sample amplitudes and default volumes: the mix of the roles, tuned so every song renders at
// about the same loudness with headroom below full scale.
constexpr int kWaveAmplitude = 84;
constexpr int kDrumAmplitude = 120;

int Add(Song& song, Sample sample, Instrument instrument) {
    instrument.sample = static_cast<int>(song.samples.size());
    if (instrument.name.empty()) instrument.name = sample.name;
    song.samples.push_back(std::move(sample));
    song.instruments.push_back(std::move(instrument));
    return static_cast<int>(song.instruments.size());
}

// XM mixes eight channels more quietly than MOD mixes four; IT has its own mixing volume.
constexpr double kXmGainDb = 2.7;

std::uint8_t Scaled(int volume, double gainDb) {
    const double scaled = volume * std::pow(10.0, gainDb / 20.0);
    return static_cast<std::uint8_t>(std::clamp<long>(std::lround(scaled), 0, 64));
}

Envelope Pluck(int sustain) {
    return {{{0, 64}, {4, 56}, {20, static_cast<std::int8_t>(sustain)}, {40, 0}}, 2, -1, -1};
}

Envelope Held(int attack) {
    return {{{0, 0},
             {static_cast<std::uint16_t>(attack), 64},
             {static_cast<std::uint16_t>(attack + 30), 52},
             {static_cast<std::uint16_t>(attack + 60), 0}},
            2,
            -1,
            -1};
}

// Panning that sways slowly around `centre` (-32 to 32) while the note sounds.
Envelope Sway(int centre, int width) {
    auto at = [&](int offset) { return static_cast<std::int8_t>(centre + offset); };
    return {{{0, at(0)}, {48, at(width)}, {144, at(-width)}, {192, at(0)}}, -1, 0, 3};
}

Instrument Named(const char* name, int panning) {
    Instrument instrument;
    instrument.name = name;
    instrument.panning = static_cast<std::uint8_t>(panning);
    return instrument;
}

// What the tracker formats add to an instrument: envelopes and a fade after key off.
void Shape(Instrument& instrument, Envelope volume, Envelope panning, std::uint16_t fadeout) {
    instrument.volumeEnvelope = std::move(volume);
    instrument.panningEnvelope = std::move(panning);
    instrument.fadeout = fadeout;
}

// IT's resonant low-pass filter.
void Filter(Instrument& instrument, int cutoff, int resonance) {
    instrument.filterCutoff = cutoff;
    instrument.filterResonance = resonance;
}

}  // namespace

Palette AddInstruments(Song& song, const Style& style) {
    Palette palette;
    const bool tracker = song.format != Format::Mod;
    const bool it = song.format == Format::It;
    const int leadLength = style.leadOctave > 0 ? 16 : 32;
    const double formatGain = song.format == Format::Xm ? kXmGainDb : 0.0;
    auto WaveSample = [&](Wave wave, int length, int volume) {
        Sample sample = MakeWave(wave, length, kWaveAmplitude);
        sample.volume = Scaled(volume, formatGain + style.tonalTrimDb);
        return sample;
    };
    auto Drum = [&](Sample sample, int volume) {
        sample.volume = Scaled(volume, formatGain);
        return sample;
    };

    Instrument bass = Named("bass", 120);
    if (tracker) Shape(bass, Pluck(44), Envelope{}, 1024);
    if (it) Filter(bass, 70, 24);
    palette.bass = Add(song, WaveSample(style.bass, 64, 50), bass);

    palette.kick =
        Add(song, Drum(MakeKick(kDrumAmplitude, style.kickPunch), 60), Named("kick", 128));
    palette.snare =
        Add(song, Drum(MakeSnare(kDrumAmplitude, style.snareNoise), 44), Named("snare", 136));
    palette.hat = Add(song, Drum(MakeHat(kDrumAmplitude, false), 30), Named("hat", 160));
    palette.openHat = Add(song, Drum(MakeHat(kDrumAmplitude, true), 26), Named("open hat", 96));
    palette.tom = Add(song, Drum(MakeTom(kDrumAmplitude), 44), Named("tom", 110));

    Instrument lead = Named("lead", 150);
    if (tracker) {
        Shape(lead, Envelope{{{0, 64}, {6, 58}, {30, 50}, {60, 0}}, 2, -1, -1}, Sway(4, 6), 800);
        lead.vibratoDepth = 2;
        lead.vibratoRate = 8;
    }
    if (it) {
        Filter(lead, 76, 12);
        lead.newNoteAction = NewNoteAction::Fade;
    }
    palette.lead = Add(song, WaveSample(style.lead, leadLength, 44), lead);

    Instrument alt = Named("lead 2", 100);
    if (tracker) Shape(alt, Pluck(40), Sway(-6, 8), 900);
    palette.leadAlt = Add(song, WaveSample(style.leadAlt, leadLength, 42), alt);

    Instrument chords = Named("chords", 90);
    if (tracker) Shape(chords, Pluck(36), Sway(-10, 10), 1200);
    if (it) Filter(chords, 84, 20);
    palette.chords = Add(song, WaveSample(style.chords, 32, 26), chords);

    if (tracker) {
        Instrument pad = Named("pad", 128);
        Shape(pad, Held(24), Sway(0, 24), 300);
        if (it) {
            pad.newNoteAction = NewNoteAction::Fade;  // chords ring into one another
            Filter(pad, 60, 10);
        }
        palette.pad = Add(song, WaveSample(Wave::SoftSquare, 64, 22), pad);

        Instrument echo = lead;
        echo.name = "echo";
        echo.panning = 80;
        echo.panningEnvelope = Sway(-12, 6);
        palette.echo = Add(song, WaveSample(style.lead, leadLength, 18), echo);
    }
    return palette;
}

}  // namespace packgen
