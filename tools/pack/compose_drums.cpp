// The drum part: the song's groove bar by bar, its variations and fills, and the tempo marks
// that swing it.
#include <algorithm>
#include <map>

#include "tools/pack/composer.h"

namespace packgen {

namespace {

int Priority(DrumRole role) {
    switch (role) {
        case DrumRole::Kick:
            return 7;
        case DrumRole::Snare:
            return 6;
        case DrumRole::Tom:
            return 5;
        case DrumRole::Crash:
            return 4;
        case DrumRole::OpenHat:
            return 3;
        case DrumRole::Perc:
            return 2;
        case DrumRole::Hat:
            return 1;
    }
    return 0;
}

std::vector<DrumRole> Substitutes(DrumRole role) {
    using enum DrumRole;
    switch (role) {
        case Kick:
            return {Kick};
        case Snare:
            return {Snare, Perc};
        case Hat:
            return {Hat, Perc, OpenHat};
        case OpenHat:
            return {OpenHat, Hat};
        case Perc:
            return {Perc, Hat};
        case Tom:
            return {Tom, Snare};
        case Crash:
            return {Crash, OpenHat};
    }
    return {role};
}

}  // namespace

int Composer::DrumInstrument(DrumRole role) const {
    for (DrumRole candidate : Substitutes(role)) {
        if (palette_.drum(candidate) > 0) return palette_.drum(candidate);
    }
    return 0;
}

int Composer::DrumChannel(DrumRole role) const {
    switch (role) {
        case DrumRole::Kick:
            return layout_.kick;
        case DrumRole::Snare:
        case DrumRole::Tom:
            return layout_.snare;
        default:
            return layout_.hat;
    }
}

namespace {

Drive DriveOf(SectionKind kind) {
    switch (kind) {
        case SectionKind::Intro:
        case SectionKind::Verse:
        case SectionKind::Verse2:
        case SectionKind::Bridge:
        case SectionKind::Breakdown:
            return Drive::Soft;
        case SectionKind::Chorus:
        case SectionKind::FinalChorus:
        case SectionKind::Solo:
            return Drive::Lift;
        default:
            return Drive::Steady;
    }
}

}  // namespace

void Composer::WriteDrums(PatternWriter& w, const BarPlace& place) {
    const Parts& parts = place.parts;
    if (!parts.kick && !parts.snare && !parts.hats) return;
    if (groove_.family == RhythmFamily::None) return;
    const bool lastSection = place.kind == SectionKind::Ending;
    std::vector<DrumHit> hits;
    const bool stopping = place.kind == SectionKind::Ending &&
                          (plan_.ending == Ending::Cadence || plan_.ending == Ending::ColdStop);
    if (stopping && place.sectionBar >= 2) {
        if (place.sectionBar == 2) {
            hits = {{0, DrumRole::Kick, 64, false}, {0, DrumRole::Crash, 56, false}};
        }
    } else if (place.kind == SectionKind::Breakdown && place.sectionBar < place.sectionBars / 2) {
        return;
    } else if (parts.fills && parts.snare && place.lastOfSection() && !lastSection) {
        hits = MakeFill(fill_ + static_cast<int>(place.kind) + place.sectionBars, groove_, random_);
    } else if (lastSection && place.lastOfSection()) {
        // The song's last bar: a drum outro ends on one hit left to ring, a fade plays out
        // its first half.
        if (plan_.ending == Ending::DrumOutro) {
            hits = {{0, DrumRole::Kick, 56, false}, {0, DrumRole::Crash, 48, false}};
        } else {
            hits = PlayBar(groove_, place.sectionBar, DriveOf(place.kind), random_);
            std::erase_if(hits, [](const DrumHit& hit) { return hit.position >= 16; });
        }
    } else {
        hits = PlayBar(groove_, place.sectionBar, DriveOf(place.kind), random_);
    }
    // A crash marks the way into a new section after the fill that led there.
    const bool sectionStart = place.sectionBar == 0 && !place.first;
    const bool loudSection = place.kind == SectionKind::Chorus ||
                             place.kind == SectionKind::FinalChorus ||
                             place.kind == SectionKind::Solo;
    if (sectionStart && (loudSection || place.kind == SectionKind::Verse2))
        hits.push_back({0, DrumRole::Crash, loudSection ? 54 : 40, false});
    if (place.kind == SectionKind::FinalChorus) {
        for (int step : {6, 14}) hits.push_back({step * 2, DrumRole::OpenHat, 36, false});
    }
    std::map<std::pair<int, int>, int> taken;  // (row, channel) -> priority
    int tomIndex = 0;
    for (const DrumHit& hit : hits) {
        const bool wanted = hit.role == DrumRole::Kick                                 ? parts.kick
                            : hit.role == DrumRole::Snare || hit.role == DrumRole::Tom ? parts.snare
                                                                                       : parts.hats;
        if (!wanted || !w.HasPosition(hit.position)) continue;
        const int instrument = DrumInstrument(hit.role);
        const int channel = DrumChannel(hit.role);
        if (instrument == 0 || channel < 0) continue;
        const int row = w.AtPosition(place.bar, hit.position);
        const auto key = std::make_pair(row, channel);
        const auto found = taken.find(key);
        if (found != taken.end() && found->second >= Priority(hit.role)) continue;
        taken[key] = Priority(hit.role);
        DrumRole played = hit.role;
        for (DrumRole candidate : Substitutes(hit.role)) {
            if (palette_.drum(candidate) == instrument) {
                played = candidate;
                break;
            }
        }
        int note = palette_.drumNote(played);
        if (played == DrumRole::Tom) {
            static const int kTomSteps[] = {5, 3, 0, -2};
            note += groove_.family == RhythmFamily::Tribal ? (tomIndex % 2) * 5
                                                           : kTomSteps[tomIndex % 4];
            ++tomIndex;
        }
        const Instrument& chosen = song_.instruments[static_cast<std::size_t>(instrument - 1)];
        const int base = song_.samples[static_cast<std::size_t>(chosen.sample)].volume;
        const int volume = hit.velocity >= 60 ? -1 : base * hit.velocity / 64;
        // The pitch written is the drum's own note: drums have no transpose.
        if (hit.late && groove_.lateTicks > 0) {
            w.Note(row, channel, note, instrument, volume, Effect::NoteDelay, groove_.lateTicks);
        } else if (hit.retrigger > 0 && song_.format != Format::Mod) {
            // A MOD cell holds a volume or an effect: its rolls are single hits.
            w.Note(row, channel, note, instrument, volume, Effect::Retrigger, hit.retrigger);
        } else {
            w.Note(row, channel, note, instrument, volume);
        }
    }
}

// A noise sweep rising through the section into the first downbeat after it.
void Composer::WriteRiser(PatternWriter& w, const BarPlace& place) {
    if (palette_.noise == 0) return;
    const int channel = layout_.chords >= 0 ? layout_.chords : layout_.echo;
    const int total = place.sectionBars * 8;
    for (int i = 0; i < 8; ++i) {
        const int step = place.sectionBar * 8 + i;
        const int volume = 6 + 50 * step / std::max(1, total - 1);
        w.Note(w.At(place.bar, 2 * i), channel, 44 + 24 * step / total, palette_.noise, volume);
    }
}

// Even rows long, odd rows short: the song's swing lives in its speeds.
void Composer::WriteSwingSpeeds(PatternWriter& w) {
    Pattern& pattern = w.pattern();
    const int spare[] = {layout_.pad,  layout_.echo, layout_.chords, layout_.hat,
                         layout_.bass, layout_.kick, layout_.lead};
    for (int row = 0; row < pattern.rows; ++row) {
        const int speed = row % 2 == 0 ? plan_.speed : plan_.shortSpeed;
        int chosen = -1;
        for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
            for (int channel : spare) {
                if (channel < 0) continue;
                const Cell& cell = pattern.at(row, channel);
                const bool volumeFree = song_.format != Format::Mod || cell.volume < 0;
                if (cell.effect == Effect::None && (pass == 1 || volumeFree)) {
                    chosen = channel;
                    break;
                }
            }
        }
        if (chosen < 0) chosen = layout_.chords >= 0 ? layout_.chords : layout_.bass;
        Cell& cell = pattern.at(row, chosen);
        if (cell.effect == Effect::PatternBreak) continue;
        cell.effect = Effect::SetSpeed;
        cell.param = static_cast<std::uint8_t>(speed);
    }
}

}  // namespace packgen
