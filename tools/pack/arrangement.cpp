#include "tools/pack/arrangement.h"

namespace packgen {

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
                    break;
                case Opening::Riser:
                    p.riser = p.hats = true;
                    p.fills = false;
                    break;
                default:
                    band();
                    break;
            }
            break;
        case SectionKind::Verse:
            band();
            break;
        case SectionKind::Verse2:
            band();
            p.echo = true;
            break;
        case SectionKind::Chorus:
        case SectionKind::FinalChorus:
            band();
            p.echo = true;
            break;
        case SectionKind::Bridge:
            band();
            p.snare = plan.groove == RhythmFamily::HalfTime;
            p.leadAlt = true;
            break;
        case SectionKind::Solo:
            band();
            p.lead = false;
            p.solo = true;
            break;
        case SectionKind::Breakdown:
            p.pad = p.chords = true;
            p.lead = !first;
            p.leadAlt = true;
            p.hats = true;
            p.bass = first;
            break;
        case SectionKind::Ending:
            switch (plan.ending) {
                case Ending::FadeOut:
                    band();
                    p.echo = true;
                    p.gainTo = 0.08;
                    p.fills = false;
                    break;
                case Ending::DrumOutro:
                    p.kick = p.snare = p.hats = true;
                    p.bass = true;
                    p.gainTo = 0.3;
                    p.fills = false;
                    break;
                default:
                    band();
                    break;
            }
            break;
    }
    return p;
}

}  // namespace packgen
