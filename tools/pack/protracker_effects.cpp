#include "tools/pack/protracker_effects.h"

#include <algorithm>

namespace packgen {

ProTrackerEffect ToProTracker(Effect effect, unsigned param) {
    switch (effect) {
        case Effect::None:
            return {0, 0};
        case Effect::Arpeggio:
            return {0x0, param};
        case Effect::PortaUp:
            return {0x1, param};
        case Effect::PortaDown:
            return {0x2, param};
        case Effect::TonePorta:
            return {0x3, param};
        case Effect::Vibrato:
            return {0x4, param};
        case Effect::SetPanning:
            return {0x8, param};
        case Effect::VolumeSlide:
            return {0xA, param};
        case Effect::PatternBreak:
            return {0xD, param};
        case Effect::SetSpeed:
            return {0xF, std::clamp(param, 1u, 31u)};
        case Effect::SetTempo:
            return {0xF, std::clamp(param, 32u, 255u)};
        case Effect::Retrigger:
            return {0xE, 0x90 | (param & 0xF)};
        case Effect::FineVolumeDown:
            return {0xE, 0xB0 | (param & 0xF)};
        case Effect::NoteCut:
            return {0xE, 0xC0 | (param & 0xF)};
        case Effect::NoteDelay:
            return {0xE, 0xD0 | (param & 0xF)};
        case Effect::SampleOffset:
            return {0x9, param};
    }
    return {0, 0};
}

}  // namespace packgen
