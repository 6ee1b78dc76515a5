#include "tools/pack/palette.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tools/pack/persona.h"
#include "tools/pack/random.h"
#include "tools/pack/synth.h"
#include "tools/pack/waveforms.h"

namespace packgen {

namespace {

enum class Voice { Bass, Lead, Chords, Pad };

double Uniform(Random& random, double low, double high) {
    return low + (high - low) * random.below(10001) / 10000.0;
}

Sample Pulse(double duty, int length, int amplitude) {
    Sample sample = MakeWave(Wave::Square50, length, amplitude);
    for (int i = 0; i < length; ++i) {
        sample.data[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(
            i < std::max(1, static_cast<int>(duty * length)) ? amplitude : -amplitude);
    }
    sample.name = "pulse";
    return sample;
}

// The pitch a voice mostly plays at: one-shots are made long enough for it.
int CentreOf(Voice voice) {
    switch (voice) {
        case Voice::Bass:
            return kMiddleC - 18;
        case Voice::Lead:
            return kMiddleC + 7;
        default:
            return kMiddleC;
    }
}

Sample MakeTone(ToneKind kind, Voice voice, Random& random, int leadOctave) {
    const int amplitude = random.between(100, 120);
    const int cycle =
        voice == Voice::Bass ? 64 : (leadOctave > 0 && voice == Voice::Lead ? 16 : 32);
    const int period = voice == Voice::Bass ? 64 : 32;
    const int centre = CentreOf(voice);
    Sample sample;
    switch (kind) {
        case ToneKind::Pulse: {
            // Basses keep a wide pulse: its strong fundamental carries the low end.
            static const double kDuties[] = {0.125, 0.25, 0.3125, 0.375, 0.5};
            const double duty =
                voice == Voice::Bass ? (random.chance(50) ? 0.5 : 0.375) : kDuties[random.below(5)];
            sample = Pulse(duty, cycle, amplitude);
            Soften(sample, Uniform(random, 0.0, 0.45));
            break;
        }
        case ToneKind::ChipTriangle:
            sample = MakeWave(Wave::Triangle, cycle, amplitude);
            Quantise(sample, random.between(12, 18));
            break;
        case ToneKind::Saw:
            sample = MakeWave(Wave::Saw, cycle, amplitude);
            Soften(sample, Uniform(random, 0.1, 0.6));
            break;
        case ToneKind::SoftSquare:
            sample = MakeWave(Wave::SoftSquare, cycle, amplitude);
            Soften(sample, Uniform(random, 0.0, 0.3));
            break;
        case ToneKind::Sine:
            sample = MakeWave(Wave::Sine, cycle, amplitude);
            Soften(sample, Uniform(random, 0.0, 0.2));
            break;
        case ToneKind::Organ: {
            std::vector<double> harmonics = {1.0};
            for (int h = 2; h <= 8; ++h)
                harmonics.push_back(random.chance(55) ? Uniform(random, 0.1, 0.8) / h * 2 : 0);
            sample = MakeAdditiveCycle(harmonics, std::max(cycle, 64), amplitude);
            break;
        }
        case ToneKind::Hollow: {
            std::vector<double> harmonics;
            const double tilt = Uniform(random, 0.6, 1.4);
            for (int h = 1; h <= 9; ++h) harmonics.push_back(h % 2 ? std::pow(1.0 / h, tilt) : 0.0);
            sample = MakeAdditiveCycle(harmonics, std::max(cycle, 64), amplitude);
            break;
        }
        case ToneKind::FmCycle:
            sample = MakeFmCycle(random.between(1, 3), Uniform(random, 0.6, 2.4),
                                 std::max(cycle, 64), amplitude);
            break;
        case ToneKind::Detuned: {
            const Wave waves[] = {Wave::Saw, Wave::Square50, Wave::Square25, Wave::Triangle};
            const Wave wave = waves[random.below(voice == Voice::Pad ? 4 : 3)];
            const Wave partner = waves[random.below(4)];
            sample = MakeDetunedLoop(wave, partner, random.chance(50) ? 32 : 64,
                                     Uniform(random, 0.5, 1.0), amplitude);
            Soften(sample, Uniform(random, 0.1, 0.5));
            if (voice == Voice::Bass) sample.transpose -= 0;
            break;
        }
        case ToneKind::Pluck:
            sample = MakePluck(period, centre, voice == Voice::Bass ? 0.9 : 1.2,
                               Uniform(random, 0.5, 0.95), Uniform(random, 0.996, 0.999), random,
                               amplitude);
            break;
        case ToneKind::FmKeys:
            sample = MakeFmTone(period, centre, voice == Voice::Bass ? 0.6 : 1.0,
                                random.between(1, 2), Uniform(random, 1.5, 3.5),
                                Uniform(random, 3, 8), Uniform(random, 1.5, 4.0), amplitude);
            break;
        case ToneKind::FmBell: {
            // Half-integer ratios ring like a bell yet keep their partials on a harmonic series
            // an octave below the note, so the bell sounds at the pitch it is written at.
            const double ratios[] = {1.5, 2.5, 3.5, 1.0};
            sample =
                MakeFmTone(period, centre, 1.4, ratios[random.below(4)], Uniform(random, 1.5, 3.5),
                           Uniform(random, 1.5, 3.0), Uniform(random, 1.2, 2.2), amplitude);
            break;
        }
    }
    return sample;
}

int Add(Song& song, Sample sample, Instrument instrument) {
    instrument.sample = static_cast<int>(song.samples.size());
    song.samples.push_back(std::move(sample));
    song.instruments.push_back(std::move(instrument));
    return static_cast<int>(song.instruments.size());
}

Envelope Pluck(int sustain, int length) {
    return {{{0, 64},
             {4, 56},
             {static_cast<std::uint16_t>(length), static_cast<std::int8_t>(sustain)},
             {static_cast<std::uint16_t>(length * 2), 0}},
            2,
            -1,
            -1};
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
    auto at = [&](int offset) {
        return static_cast<std::int8_t>(std::clamp(centre + offset, -32, 32));
    };
    return {{{0, at(0)}, {48, at(width)}, {144, at(-width)}, {192, at(0)}}, -1, 0, 3};
}

Instrument Named(const char* name, int panning) {
    Instrument instrument;
    instrument.name = name;
    instrument.panning = static_cast<std::uint8_t>(panning);
    return instrument;
}

bool IsOneShot(ToneKind kind) {
    return kind == ToneKind::Pluck || kind == ToneKind::FmKeys || kind == ToneKind::FmBell;
}

// The range of written notes a drum of each role is played at.
std::pair<int, int> NoteRange(DrumRole role) {
    switch (role) {
        case DrumRole::Kick:
            return {46, 56};
        case DrumRole::Snare:
            return {52, 62};
        case DrumRole::Hat:
            return {60, 70};
        case DrumRole::OpenHat:
            return {58, 68};
        case DrumRole::Perc:
            return {54, 66};
        case DrumRole::Tom:
            return {50, 58};
        case DrumRole::Crash:
            return {58, 66};
    }
    return {55, 65};
}

int DrumVolume(DrumRole role) {
    switch (role) {
        case DrumRole::Kick:
            return 64;  // short, so at full volume it costs the mix little loudness
        case DrumRole::Snare:
            return 36;
        case DrumRole::Hat:
            return 16;
        case DrumRole::OpenHat:
            return 18;
        case DrumRole::Perc:
            return 26;
        case DrumRole::Tom:
            return 36;
        case DrumRole::Crash:
            return 18;
    }
    return 32;
}

}  // namespace

Palette AddInstruments(Song& song, const SongPlan& plan, const std::vector<DrumRole>& drumRoles) {
    const Persona& persona = PersonaOf(plan.musician);
    Random random(plan.seed ^ 0x9A1E77Eull);
    Palette palette;
    const bool tracker = song.format != Format::Mod;
    const bool it = song.format == Format::It;

    Instrument bass = Named("bass", persona.bassPanning);
    if (tracker && !IsOneShot(plan.bass))
        bass.volumeEnvelope = Pluck(random.between(44, 58), random.between(12, 30));
    if (tracker) bass.fadeout = 1024;
    if (it) {
        bass.filterCutoff = random.between(70, 100);
        bass.filterResonance = random.between(0, 30);
    }
    Sample bassSample = MakeTone(plan.bass, Voice::Bass, random, 0);
    // Whatever its colour, the bass carries its weight in one partial, and at full scale: the
    // level of the low end is then the fundamental's, where the analyser's low bars read it.
    StrengthenFundamental(bassSample, 0.96);
    Normalise(bassSample, 127);
    bassSample.volume = 64;
    palette.bass = Add(song, std::move(bassSample), bass);

    // Every third song of a musician brings back their signature lead sound.
    const bool signature = plan.songOfMusician % 3 == 1;
    Random signatureRandom(0x516A7u + static_cast<std::uint64_t>(plan.musician) * 131u);
    Sample leadSample = signature ? MakeTone(persona.leads.front(), Voice::Lead, signatureRandom,
                                             persona.leadOctave)
                                  : MakeTone(plan.lead, Voice::Lead, random, persona.leadOctave);
    leadSample.volume = 56;
    Instrument lead = Named("lead", random.between(96, 160));
    if (tracker) {
        if (!IsOneShot(plan.lead)) {
            lead.volumeEnvelope = {{{0, 64}, {6, 58}, {30, 50}, {60, 0}}, 2, -1, -1};
        }
        lead.panningEnvelope = Sway(random.between(-6, 6), random.between(2, 8));
        lead.fadeout = 800;
        lead.vibratoDepth = static_cast<std::uint8_t>(random.between(0, 3));
        lead.vibratoRate = static_cast<std::uint8_t>(random.between(6, 12));
    }
    if (it) {
        lead.filterCutoff = random.between(80, 120);
        lead.filterResonance = random.between(0, 20);
        lead.newNoteAction = NewNoteAction::Fade;
    }
    palette.lead = Add(song, std::move(leadSample), lead);

    const ToneKind altKind =
        persona
            .leads[static_cast<std::size_t>(random.below(static_cast<int>(persona.leads.size())))];
    Sample altSample = MakeTone(altKind, Voice::Lead, random, persona.leadOctave);
    altSample.volume = 44;
    Instrument alt = Named("lead 2", random.between(80, 176));
    if (tracker) {
        if (!IsOneShot(altKind)) alt.volumeEnvelope = Pluck(40, 20);
        alt.panningEnvelope = Sway(random.between(-10, 10), 8);
        alt.fadeout = 900;
    }
    palette.leadAlt = Add(song, std::move(altSample), alt);

    Sample chordSample = MakeTone(plan.chords, Voice::Chords, random, 0);
    chordSample.volume = 18;
    Instrument chords = Named("chords", random.between(64, 192));
    if (tracker) {
        if (!IsOneShot(plan.chords)) chords.volumeEnvelope = Pluck(36, 20);
        chords.panningEnvelope = Sway(random.between(-12, 12), 10);
        chords.fadeout = 1200;
    }
    if (it) {
        chords.filterCutoff = random.between(70, 110);
        chords.filterResonance = random.between(0, 30);
    }
    palette.chords = Add(song, std::move(chordSample), chords);

    if (tracker) {
        Sample padSample = MakeTone(plan.pad, Voice::Pad, random, 0);
        padSample.volume = 14;
        Instrument pad = Named("pad", 128);
        pad.volumeEnvelope = Held(random.between(8, 40));
        pad.panningEnvelope = Sway(0, random.between(12, 28));
        pad.fadeout = 300;
        if (it) {
            pad.newNoteAction = NewNoteAction::Fade;
            pad.filterCutoff = random.between(50, 90);
            pad.filterResonance = random.between(0, 20);
        }
        palette.pad = Add(song, std::move(padSample), pad);

        Instrument echo = song.instruments[static_cast<std::size_t>(palette.lead - 1)];
        echo.name = "echo";
        echo.panning = static_cast<std::uint8_t>(256 - lead.panning);
        echo.panningEnvelope = Sway(-12, 6);
        echo.sample = song.instruments[static_cast<std::size_t>(palette.lead - 1)].sample;
        song.instruments.push_back(echo);
        palette.echo = static_cast<int>(song.instruments.size());
    }

    if (plan.opening == Opening::Riser) {
        Sample noise =
            MakeNoiseCycle(random.chance(50), false, random.between(1, 3), 2048, random, 100);
        noise.volume = 40;
        Instrument riser = Named("riser", 128);
        riser.drum = true;  // a sweep of noise: no pitch to keep in tune
        palette.noise = Add(song, std::move(noise), riser);
    }

    for (DrumRole role : drumRoles) {
        std::vector<DrumSound> choices;
        for (DrumSound sound : persona.kit) {
            if (RoleOf(sound) == role) choices.push_back(sound);
        }
        if (choices.empty()) continue;
        const DrumSound sound =
            choices[static_cast<std::size_t>(random.below(static_cast<int>(choices.size())))];
        const auto [low, high] = NoteRange(role);
        const int note = random.between(low, high);
        Sample sample = MakeDrum(sound, RateOfWritten(note), random, random.between(110, 124));
        sample.volume = static_cast<std::uint8_t>(DrumVolume(role));
        const int panning =
            role == DrumRole::Kick || role == DrumRole::Snare ? 128 : random.between(72, 184);
        const std::size_t index = static_cast<std::size_t>(role);
        Instrument drum = Named(DrumSoundName(sound), panning);
        drum.drum = true;
        palette.drums[index] = Add(song, std::move(sample), drum);
        palette.drumNotes[index] = note;
    }
    return palette;
}

}  // namespace packgen
