// The chord part and, in XM and IT, the pad: arpeggios, stabs, broken chords, strums and held
// chords on each bar's harmony.
#include <algorithm>
#include <cstdlib>

#include "tools/pack/composer.h"

namespace packgen {

namespace {

constexpr int kChordLow = kMiddleC - 8;  // E below middle C
constexpr int kPadLow = kMiddleC + 4;    // E above middle C

int ArpParam(const Chord& chord) {
    return (chord.third << 4) | (chord.fifth & 0xF);
}

}  // namespace

void Composer::WriteChords(PatternWriter& w, const BarPlace& place) {
    const int channel = layout_.chords;
    if (channel < 0) return;
    const int instrument = palette_.chords;
    const Chord chord = TriadOn(plan_.key, place.degree);
    const int root = plan_.key.pitchFrom(chord.rootDegree, kChordLow);
    const int arp = ArpParam(chord);
    const bool stopping = place.kind == SectionKind::Ending &&
                          (plan_.ending == Ending::Cadence || plan_.ending == Ending::ColdStop);
    if (stopping && place.sectionBar >= 2) {
        if (place.sectionBar == 2) {
            const Chord home = TriadOn(plan_.key, 0);
            w.Note(w.At(place.bar, 0), channel, plan_.key.pitchFrom(0, kChordLow), instrument, -1,
                   Effect::Arpeggio, ArpParam(home));
            for (int step = 1; step < 16; ++step) {
                w.AddEffect(w.At(place.bar, step), channel,
                            step < 6 ? Effect::Arpeggio : Effect::VolumeSlide,
                            step < 6 ? ArpParam(home) : 0x02);
            }
        }
        return;
    }
    ChordFeel feel = plan_.chordFeel;
    if (place.kind == SectionKind::Breakdown || place.kind == SectionKind::Intro) {
        feel = song_.format == Format::Mod ? ChordFeel::BrokenChord : ChordFeel::Pad;
    }
    if (place.kind == SectionKind::Bridge && feel == ChordFeel::FastArp)
        feel = ChordFeel::BrokenChord;
    if (feel == ChordFeel::Pad && song_.format == Format::Mod) feel = ChordFeel::FastArp;
    switch (feel) {
        case ChordFeel::FastArp:
        case ChordFeel::Pad:
            for (int step = 0; step < 16; ++step) {
                const bool strike = step == 0 || (feel == ChordFeel::FastArp && step == 8);
                const int row = w.At(place.bar, step);
                if (strike) {
                    w.Note(row, channel, root, instrument, -1, Effect::Arpeggio, arp);
                } else {
                    for (int r = 0; r < w.rowsPerStep(); ++r)
                        w.AddEffect(row + r, channel, Effect::Arpeggio, arp);
                }
            }
            break;
        case ChordFeel::Stabs:
            for (int step : stabSteps_) {
                const int row = w.At(place.bar, step);
                w.Note(row, channel, root, instrument, -1, Effect::Arpeggio, arp);
                w.AddEffect(row + 1, channel, Effect::Arpeggio, arp);
                if (step + 2 < 16) w.Off(w.At(place.bar, step + 2) - 1, channel);
            }
            break;
        case ChordFeel::BrokenChord:
        case ChordFeel::Strum: {
            const int tones[] = {0, chord.third, chord.fifth, 12};
            const int every = feel == ChordFeel::Strum ? 1 : 2;
            for (std::size_t i = 0; i < brokenOrder_.size(); ++i) {
                const int step =
                    static_cast<int>(i) * every + (feel == ChordFeel::Strum && i >= 4 ? 4 : 0);
                if (step >= 16) break;
                w.Note(w.At(place.bar, step), channel, root + tones[brokenOrder_[i] % 4],
                       instrument);
            }
            break;
        }
    }
}

void Composer::WritePad(PatternWriter& w, const BarPlace& place) {
    const int channel = layout_.pad;
    if (channel < 0 || palette_.pad == 0) return;
    const bool stopping = place.kind == SectionKind::Ending &&
                          (plan_.ending == Ending::Cadence || plan_.ending == Ending::ColdStop);
    if (stopping && place.sectionBar >= 3) {
        if (place.sectionBar == 3) w.Off(w.At(place.bar, 0), channel);
        return;
    }
    const int degree = stopping && place.sectionBar == 2 ? 0 : place.degree;
    const Chord chord = TriadOn(plan_.key, degree);
    // The chord tone nearest the pad's last note, a common tone or a step away where the
    // harmony allows: a held voice moves smoothly instead of leaping between third and fifth.
    const int previous =
        padPitch_ >= 0 ? padPitch_ : plan_.key.pitchFrom(chord.rootDegree + 2, kPadLow);
    int best = -1;
    for (int tone : {chord.rootDegree, chord.rootDegree + 2, chord.rootDegree + 4}) {
        for (int low : {kPadLow - 12, kPadLow}) {
            const int pitch = plan_.key.pitchFrom(tone, low);
            if (pitch < kPadLow - 5 || pitch > kPadLow + 9) continue;
            if (best < 0 || std::abs(pitch - previous) < std::abs(best - previous)) best = pitch;
        }
    }
    padPitch_ = best;
    w.Note(w.At(place.bar, 0), channel, best, palette_.pad);
}

}  // namespace packgen
