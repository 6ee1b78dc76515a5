#include "tools/pack/arrangement.h"

namespace packgen {

namespace {

// Section levels against the choruses (volume scale, 1 for full).
constexpr double kIntroGain = 0.7;
constexpr double kVerseGain = 0.62;
constexpr double kSecondVerseGain = 0.78;
constexpr double kBridgeGain = 0.62;
constexpr double kSoloGain = 0.9;
constexpr double kBreakdownGain = 0.55;

}  // namespace

Layout LayoutFor(const SongPlan& plan, bool hasDrums) {
    if (plan.format != Format::Mod) return {0, 1, 2, 3, 4, 5, 6, 7};
    // Four channels: without drums the fourth voice is a counter-melody; a busy hat part gets
    // a channel of its own where the song can do without chords.
    if (!hasDrums) return {0, -1, -1, -1, 2, 1, 3, -1};
    if (plan.chordFeel == ChordFeel::Stabs && plan.number % 3 == 0)
        return {0, 1, 1, 3, 2, -1, -1, -1};
    return {0, 1, 1, 1, 2, -1, 3, -1};
}

Parts PartsOf(const SongPlan& plan, SectionKind kind, bool first) {
    Parts p;
    auto band = [&] {
        p.kick = p.snare = p.hats = true;
        p.bass = p.chords = p.pad = p.lead = true;
    };
    switch (kind) {
        case SectionKind::Intro:
            switch (plan.opening) {
                case Opening::DrumIntro:
                    p.kick = p.snare = p.hats = true;
                    break;
                case Opening::BassIntro:
                    p.bass = p.hats = true;
                    break;
                case Opening::PadIntro:
                    p.pad = p.chords = true;
                    p.fills = false;
                    break;
                case Opening::LeadAlone:
                    p.lead = true;
                    p.fills = false;
                    break;
                case Opening::FadeIn:
                    band();
                    p.lead = false;
                    p.gainFrom = 0.15;
                    p.gainTo = kVerseGain;
                    break;
                case Opening::Riser:
                    p.riser = p.hats = true;
                    p.fills = false;
                    break;
                default:
                    band();
                    break;
            }
            if (plan.opening != Opening::FadeIn) p.gainFrom = p.gainTo = kIntroGain;
            break;
        case SectionKind::Verse:
            // The verse holds back: softer, and the pad waits for the chorus.
            band();
            p.pad = false;
            p.gainFrom = p.gainTo = kVerseGain;
            break;
        case SectionKind::Verse2:
            band();
            p.echo = true;
            p.gainFrom = p.gainTo = kSecondVerseGain;
            break;
        case SectionKind::Chorus:
        case SectionKind::FinalChorus:
            band();
            p.echo = true;
            break;
        case SectionKind::Bridge:
            // The bridge darkens: no cymbals, the snare only where the groove is half-time.
            band();
            p.hats = false;
            p.snare = plan.groove == RhythmFamily::HalfTime;
            p.leadAlt = true;
            p.gainFrom = p.gainTo = kBridgeGain;
            break;
        case SectionKind::Solo:
            band();
            p.lead = false;
            p.solo = true;
            p.gainFrom = p.gainTo = kSoloGain;
            break;
        case SectionKind::Breakdown:
            // Down to the bass and the pad (the bass alone in a MOD, which has no pad), so the
            // band's return is heard as one; a song that opens with it has its chords too.
            p.pad = p.bass = true;
            p.chords = first;
            p.gainFrom = p.gainTo = kBreakdownGain;
            break;
        case SectionKind::Ending:
            switch (plan.ending) {
                case Ending::FadeOut:
                    band();
                    p.echo = true;
                    p.gainTo = 0.05;
                    p.fills = false;
                    break;
                case Ending::DrumOutro:
                    p.kick = p.snare = p.hats = true;
                    p.bass = true;
                    p.gainFrom = kVerseGain;
                    p.gainTo = 0.08;
                    p.fills = false;
                    break;
                default:
                    band();
                    break;
            }
            break;
    }
    // A song that starts with its band starts softer and grows into its first section.
    if (first && kind != SectionKind::Intro) p.gainFrom = 0.5 * p.gainTo;
    return p;
}

}  // namespace packgen
