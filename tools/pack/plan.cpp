#include "tools/pack/plan.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <tuple>

#include "player/song_catalog.h"
#include "tools/pack/forms.h"
#include "tools/pack/random.h"

namespace packgen {

namespace catalog = hollowtide::catalog;

namespace {

using catalog::ModuleFormat;

Format FormatOf(ModuleFormat format) {
    switch (format) {
        case ModuleFormat::Mod:
            return Format::Mod;
        case ModuleFormat::Xm:
            return Format::Xm;
        case ModuleFormat::It:
            return Format::It;
    }
    return Format::Mod;
}

// The tune's name: the title without the artist and the extension.
std::string TuneName(const std::string& title) {
    const std::size_t start = title.find('_') + 1;
    return title.substr(start, title.rfind('.') - start);
}

// The n-th choice of a musician's list, turned so that their songs walk through all of it
// before repeating, from a place of the list the song's seed picks for the musician.
template <typename T>
const T& Nth(const std::vector<T>& list, int n, int offset) {
    return list[static_cast<std::size_t>(n + offset) % list.size()];
}

// Tempo and speed for a beat rate: a speed the musician likes, the finer 32nd grid when the
// tracker tempo would otherwise fall below its range.
void ChooseTiming(SongPlan& plan, const Persona& persona, Random& random) {
    plan.bpm = random.between(persona.bpmLow, persona.bpmHigh);
    plan.speed = Nth(persona.speeds, plan.songOfMusician, 0);
    plan.rowsPerStep = plan.speed <= 3 ? 2 : 1;
    double averageSpeed = plan.speed;
    if (plan.groove == RhythmFamily::SpeedSwing) {
        // Long and short 16th rows: a 2 : 1 triplet swing or a lighter 5 : 3 or 3 : 2 lilt.
        static const int kPairs[][2] = {{4, 2}, {5, 3}, {6, 3}, {6, 4}, {8, 4}};
        const auto& pair = kPairs[random.below(5)];
        plan.rowsPerStep = 1;
        plan.speed = pair[0];
        plan.shortSpeed = pair[1];
        averageSpeed = (pair[0] + pair[1]) / 2.0;
    }
    // BPM = 6 * tempo / (speed * rows per 16th), the tracker's tempo counting 2.5 ms ticks.
    plan.tempo = static_cast<int>(plan.bpm * averageSpeed * plan.rowsPerStep / 6.0 + 0.5);
    plan.tempo = std::clamp(plan.tempo, 40, 250);
}

SongPlan PlanOne(const catalog::CatalogSong& song, int songOfMusician, std::uint64_t seed) {
    const Persona& persona = PersonaOf(song.musician);
    Random random(seed);
    SongPlan plan;
    plan.number = song.number;
    plan.musician = song.musician;
    plan.songOfMusician = songOfMusician;
    plan.format = FormatOf(song.format);
    plan.fileName = catalog::FileNameOf(song);
    plan.title = TuneName(song.displayTitle);
    plan.seed = seed;
    const int n = songOfMusician;
    const int turn = static_cast<int>((static_cast<std::uint64_t>(song.musician) * 7u) % 5u);
    plan.key.tonic = random.below(12);
    plan.key.mode = Nth(persona.modes, n, 0);
    plan.groove = Nth(persona.grooves, n, turn);
    plan.lead = Nth(persona.leads, n, turn);
    plan.bass = Nth(persona.basses, n, turn + 1);
    plan.chords = Nth(persona.chords, n, turn);
    plan.pad = Nth(persona.pads, n, 0);
    plan.bassFeel = Nth(persona.bassFeels, n, turn);
    plan.chordFeel = Nth(persona.chordFeels, n, turn + 1);
    plan.opening = Nth(persona.openings, n, 0);
    plan.ending = Nth(persona.endings, n, turn);
    ChooseTiming(plan, persona, random);
    plan.targetSeconds =
        random.chance(persona.shortSongs) ? random.between(92, 138) : random.between(168, 232);
    const auto& main = MainProgressions(plan.key.mode);
    const std::size_t verse = static_cast<std::size_t>(random.below(static_cast<int>(main.size())));
    std::size_t chorus = static_cast<std::size_t>(random.below(static_cast<int>(main.size())));
    if (chorus == verse) chorus = (chorus + 1) % main.size();
    plan.verse = main[verse];
    plan.chorus = main[chorus];
    plan.bridge = random.pick(BridgeProgressions(plan.key.mode));
    plan.form = MakeForm(plan, random);
    return plan;
}

}  // namespace

double PatternSeconds(int speed, int tempo) {
    return 64.0 * speed * 2.5 / tempo;
}

double FormSeconds(const SongPlan& plan) {
    int patterns = 0;
    for (const Section& section : plan.form) patterns += section.patterns;
    const double speed = plan.shortSpeed > 0 ? (plan.speed + plan.shortSpeed) / 2.0 : plan.speed;
    return patterns * 64.0 * speed * 2.5 / plan.tempo;
}

std::vector<SongPlan> PlanPack() {
    std::vector<SongPlan> plans;
    std::set<std::tuple<int, int, int, Progression>> used;  // tempo, tonic, mode, verse
    int perMusician[16] = {};
    for (const catalog::CatalogSong& song : catalog::kSongs) {
        const std::uint64_t seed = 0x5EED0000ull + static_cast<std::uint64_t>(song.number) * 7919u;
        SongPlan plan;
        // Re-roll until this song differs from every earlier one in tempo, key or progression.
        for (int attempt = 0;; ++attempt) {
            plan = PlanOne(song, perMusician[song.musician],
                           seed + static_cast<std::uint64_t>(attempt));
            const auto signature = std::make_tuple(plan.tempo, plan.key.tonic,
                                                   static_cast<int>(plan.key.mode), plan.verse);
            if (used.insert(signature).second) break;
            if (attempt > 100) throw std::logic_error("no distinct plan for " + plan.title);
        }
        ++perMusician[song.musician];
        plans.push_back(std::move(plan));
    }
    plans.push_back(IntroTunePlan());
    return plans;
}

}  // namespace packgen
