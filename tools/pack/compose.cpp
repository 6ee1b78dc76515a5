#include "tools/pack/compose.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "tools/pack/composer.h"
#include "tools/pack/song_cleanup.h"

namespace packgen {

namespace {

// The cadence into the last chord, by mode: the chords of the ending's first two bars.
Progression EndingChords(Mode mode) {
    switch (mode) {
        case Mode::Major:
            return {3, 4, 0, 0};
        case Mode::Mixolydian:
            return {3, 6, 0, 0};
        case Mode::Lydian:
            return {1, 1, 0, 0};
        case Mode::HarmonicMinor:
            return {5, 4, 0, 0};
        default:
            return {5, 6, 0, 0};
    }
}

}  // namespace

Composer::Composer(const SongPlan& plan)
    : plan_(plan), persona_(PersonaOf(plan.musician)), random_(plan.seed ^ 0xC0FFEEull) {
    song_.title = plan.title;
    song_.format = plan.format;
    song_.channels = plan.format == Format::Mod ? 4 : 8;
    song_.speed = plan.speed;
    song_.tempo = plan.tempo;
    song_.mixVolume = 72;
    song_.channelPanning = {32, 28, 36, 44, 30, 22, 18, 32};
    groove_ = MakeGroove(plan.groove, random_);
    std::vector<DrumRole> roles = groove_.roles();
    if (plan.groove != RhythmFamily::None) {
        for (DrumRole extra : {DrumRole::Tom, DrumRole::Crash}) roles.push_back(extra);
    }
    palette_ = AddInstruments(song_, plan, roles);
    bool hasDrums = false;
    for (int drum : palette_.drums) hasDrums = hasDrums || drum > 0;
    layout_ = LayoutFor(plan, hasDrums);
    fill_ = random_.below(4);
    soloShape_ = random_.below(3);
    bassFigure_ = MakeBassFigure(plan.bassFeel);
    bridgeBass_ = MakeBassFigure(BassFeel::Pedal);
    MakeMotifs();
}

Progression Composer::ChordsOf(SectionKind kind) const {
    switch (kind) {
        case SectionKind::Intro:
        case SectionKind::Verse:
        case SectionKind::Verse2:
        case SectionKind::Breakdown:
            return plan_.verse;
        case SectionKind::Chorus:
        case SectionKind::FinalChorus:
        case SectionKind::Solo:
            return plan_.chorus;
        case SectionKind::Bridge:
            return plan_.bridge;
        case SectionKind::Ending:
            return plan_.ending == Ending::FadeOut ? plan_.chorus : EndingChords(plan_.key.mode);
    }
    return plan_.verse;
}

Song Composer::Build() {
    // A section's first return is written out anew, varied bar by bar as its parts are drawn
    // again; later returns repeat it. The first section and fading ones are their own.
    std::map<std::tuple<SectionKind, int, bool, bool>, int> made;
    std::map<SectionKind, int> seen;
    for (std::size_t s = 0; s < plan_.form.size(); ++s) {
        const Section& section = plan_.form[s];
        const Parts parts = PartsOf(plan_, section.kind, s == 0);
        const bool shared = s > 0 && parts.steady();
        const bool returning = seen[section.kind]++ > 0;
        for (int p = 0; p < section.patterns; ++p) {
            const auto key = std::make_tuple(section.kind, p, p == section.patterns - 1, returning);
            auto found = shared ? made.find(key) : made.end();
            if (found == made.end()) {
                const int index = MakePattern(s, p);
                if (shared) made.emplace(key, index);
                song_.orders.push_back(index);
            } else {
                song_.orders.push_back(found->second);
            }
        }
    }
    if (plan_.shortSpeed > 0) {
        for (Pattern& pattern : song_.patterns) {
            PatternWriter w(song_, pattern, plan_.rowsPerStep);
            WriteSwingSpeeds(w);
        }
    }
    SetStartTempo();
    DropUnusedInstruments(song_);
    return std::move(song_);
}

int Composer::MakePattern(std::size_t s, int index) {
    const Section& section = plan_.form[s];
    Pattern pattern(64, song_.channels);
    PatternWriter w(song_, pattern, plan_.rowsPerStep);
    const int bars = w.barsInPattern();
    const Progression chords = ChordsOf(section.kind);
    const Parts parts = PartsOf(plan_, section.kind, s == 0);
    const int sectionBars = section.patterns * bars;
    for (int bar = 0; bar < bars; ++bar) {
        BarPlace place;
        place.kind = section.kind;
        place.bar = bar;
        place.sectionBar = index * bars + bar;
        place.sectionBars = sectionBars;
        place.first = s == 0;
        place.parts = parts;
        // A verse starts bare: its hats, and in a long verse its chords, come in for its
        // second half.
        if (section.kind == SectionKind::Verse && place.sectionBar < sectionBars / 2) {
            place.parts.hats = false;
            if (sectionBars >= 8) place.parts.chords = false;
        }
        place.degree = chords[static_cast<std::size_t>(place.phraseBar())];
        place.nextDegree = chords[static_cast<std::size_t>((place.phraseBar() + 1) % 4)];
        const double t =
            sectionBars > 1 ? static_cast<double>(place.sectionBar) / (sectionBars - 1) : 1.0;
        w.SetGain(parts.gainFrom + (parts.gainTo - parts.gainFrom) * t);
        WriteBar(w, place);
    }
    song_.patterns.push_back(std::move(pattern));
    return static_cast<int>(song_.patterns.size()) - 1;
}

void Composer::WriteBar(PatternWriter& w, const BarPlace& place) {
    WriteDrums(w, place);
    if (place.parts.riser) WriteRiser(w, place);
    if (place.parts.bass) WriteBass(w, place);
    if (place.parts.chords) WriteChords(w, place);
    if (place.parts.pad) WritePad(w, place);
    if (place.parts.solo) {
        WriteSolo(w, place);
    } else if (place.parts.lead) {
        WriteLead(w, place);
    }
    if (place.parts.echo || place.parts.solo) WriteEcho(w, place);
    // A part that sits out a section stops there: a looped sample would otherwise hold the
    // last note of the section before right through it.
    if (place.sectionBar == 0) {
        const Parts& parts = place.parts;
        const std::pair<bool, int> voices[] = {{parts.bass, layout_.bass},
                                               {parts.chords || parts.riser, layout_.chords},
                                               {parts.pad, layout_.pad},
                                               {parts.lead || parts.solo, layout_.lead},
                                               {parts.echo || parts.solo, layout_.echo}};
        for (const auto& [plays, channel] : voices) {
            if (!plays) w.Off(w.At(place.bar, 0), channel);
        }
    }
    if (place.kind == SectionKind::Ending) WriteEndingMarks(w, place);
}

// The ending's last bar lets whatever still sounds die away: every channel slides down to
// silence over the bar, and its last row cuts what is left, so the song never stops mid-note.
// A fade or a drum outro strikes nothing new in the bar's second half, so only what was
// struck before it rings out.
void Composer::WriteEndingMarks(PatternWriter& w, const BarPlace& place) {
    if (!place.lastOfSection() || place.bar != w.barsInPattern() - 1) return;
    const int first = w.At(place.bar, 0), end = w.At(place.bar + 1, 0);
    if (plan_.ending == Ending::FadeOut || plan_.ending == Ending::DrumOutro) {
        for (int row = w.At(place.bar, 8); row < end; ++row) {
            for (int channel = 0; channel < song_.channels; ++channel) {
                Cell& cell = w.pattern().at(row, channel);
                if (cell.note != kNoNote && cell.note != kNoteOff) cell = Cell{};
            }
        }
    }
    const double speed =
        plan_.shortSpeed > 0 ? (plan_.speed + plan_.shortSpeed) / 2.0 : plan_.speed;
    // Full volume reaches nothing about four fifths into the bar.
    const double slidingTicks = 0.8 * (end - first) * std::max(1.0, speed - 1);
    const int slide = std::clamp(static_cast<int>(std::ceil(64 / slidingTicks)), 1, 15);
    Pattern& pattern = w.pattern();
    for (int channel = 0; channel < song_.channels; ++channel) {
        for (int row = first; row < end - 1; ++row) {
            Cell& cell = pattern.at(row, channel);
            if (cell.note != kNoNote || cell.volume >= 0) continue;
            // A held arpeggio cannot fade in a MOD, whose cells hold a volume or an effect:
            // its last bar gives the arpeggio up for the slide.
            if (cell.effect == Effect::Arpeggio) cell.effect = Effect::None;
            w.AddEffect(row, channel, Effect::VolumeSlide, slide);
        }
        w.AddEffect(end - 1, channel, Effect::NoteCut, 1);
    }
}

// MOD keeps tempo in the patterns: the first row of the song sets it; XM and IT also say it
// in their headers.
void Composer::SetStartTempo() {
    if (song_.format != Format::Mod) return;
    Pattern& first = song_.patterns[static_cast<std::size_t>(song_.orders.front())];
    bool needSpeed = !(song_.speed == 6 && plan_.shortSpeed == 0);
    for (int channel = 0; channel < 4; ++channel) {
        if (first.at(0, channel).effect == Effect::SetSpeed) needSpeed = false;
    }
    bool needTempo = true;
    // Free effect slots first; where none is left the lead's effect gives way, then the bass's.
    for (int pass = 0; pass < 2; ++pass) {
        for (int channel : {3, 1, 0, 2}) {
            if (!needTempo && !needSpeed) return;
            Cell& cell = first.at(0, channel);
            if (pass == 0 && cell.effect != Effect::None) continue;
            if (cell.effect == Effect::SetSpeed || cell.effect == Effect::SetTempo) continue;
            if (needTempo) {
                cell.effect = Effect::SetTempo;
                cell.param = static_cast<std::uint8_t>(song_.tempo);
                needTempo = false;
            } else {
                cell.effect = Effect::SetSpeed;
                cell.param = static_cast<std::uint8_t>(song_.speed);
                needSpeed = false;
            }
        }
    }
}

Song Compose(const SongPlan& plan) {
    return Composer(plan).Build();
}

}  // namespace packgen
