#include "tools/pack/plan.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <tuple>

#include "player/song_catalog.h"
#include "tools/pack/random.h"
#include "tools/pack/styles.h"

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

double FormSeconds(const SongPlan& plan) {
    int patterns = 0;
    for (SectionKind kind : plan.form) patterns += PatternsIn(kind);
    return patterns * PatternSeconds(plan.speed, plan.tempo);
}

// Verse, chorus, second verse and chorus, then optional solo, bridge, breakdown and the
// final choruses; sections are added in a fixed order until the song reaches its length.
std::vector<SectionKind> MakeForm(Random& random, int speed, int tempo) {
    using enum SectionKind;
    const double target = random.between(130, 195);
    const bool chorusFirst = random.chance(25);
    std::vector<SectionKind> head =
        chorusFirst ? std::vector{Intro, Chorus, Verse, Chorus} : std::vector{Intro, Verse, Chorus};
    std::vector<std::vector<SectionKind>> optional = {
        {Verse2, Chorus}, {Solo}, {Breakdown}, {FinalChorus}, {Verse, Chorus}, {Solo}};
    if (random.chance(50)) std::swap(optional[1], optional[2]);
    SongPlan probe;
    probe.speed = speed;
    probe.tempo = tempo;
    // Head, the optional parts taken so far, bridge, final chorus, ending.
    auto assemble = [&](std::size_t taken) {
        std::vector<SectionKind> form = head;
        bool breakdownLate = false;
        for (std::size_t i = 0; i < taken; ++i) {
            for (SectionKind kind : optional[i]) {
                if (kind == Breakdown) {
                    breakdownLate = true;
                } else if (kind != FinalChorus) {
                    form.push_back(kind);
                }
            }
        }
        form.push_back(Bridge);
        if (breakdownLate) form.push_back(Breakdown);
        form.push_back(FinalChorus);
        for (std::size_t i = 0; i < taken; ++i) {
            if (optional[i].front() == FinalChorus) form.push_back(FinalChorus);
        }
        form.push_back(Ending);
        return form;
    };
    std::size_t taken = 0;
    for (; taken < optional.size(); ++taken) {
        probe.form = assemble(taken);
        if (FormSeconds(probe) >= target) break;
        probe.form = assemble(taken + 1);
        if (FormSeconds(probe) > 232.0) break;
    }
    std::vector<SectionKind> form = assemble(taken);
    // Very fast songs may still be short: another verse and chorus before the bridge.
    probe.form = form;
    while (FormSeconds(probe) < 100.0) {
        const auto bridge = std::find(form.begin(), form.end(), Bridge);
        form.insert(bridge, {Verse, Chorus});
        probe.form = form;
    }
    return form;
}

SongPlan PlanOne(int number, int musician, Format format, std::string fileName, std::string title,
                 std::uint64_t seed, int songIndexForMusician) {
    const Style& style = StyleOf(musician);
    Random random(seed);
    SongPlan plan;
    plan.number = number;
    plan.musician = musician;
    plan.format = format;
    plan.fileName = std::move(fileName);
    plan.title = std::move(title);
    plan.seed = seed;
    plan.key.tonic = random.below(12);
    plan.key.mode =
        style.modes[static_cast<std::size_t>(songIndexForMusician) % style.modes.size()];
    plan.tempo = random.between(style.tempoLow, style.tempoHigh);
    plan.speed = 6;
    const auto& main = MainProgressions(plan.key.mode);
    const std::size_t verse = static_cast<std::size_t>(random.below(static_cast<int>(main.size())));
    std::size_t chorus = static_cast<std::size_t>(random.below(static_cast<int>(main.size())));
    if (chorus == verse) chorus = (chorus + 1) % main.size();
    plan.verse = main[verse];
    plan.chorus = main[chorus];
    plan.bridge = random.pick(BridgeProgressions(plan.key.mode));
    plan.form = MakeForm(random, plan.speed, plan.tempo);
    return plan;
}

}  // namespace

double PatternSeconds(int speed, int tempo) {
    return 64.0 * speed * 2.5 / tempo;
}

int PatternsIn(SectionKind kind) {
    switch (kind) {
        case SectionKind::Intro:
        case SectionKind::Ending:
        case SectionKind::Breakdown:
            return 1;
        default:
            return 2;
    }
}

std::vector<SongPlan> PlanPack() {
    std::vector<SongPlan> plans;
    std::set<std::tuple<int, int, int, Progression>> used;  // tempo, tonic, mode, verse
    int perMusician[16] = {};
    for (const catalog::CatalogSong& song : catalog::kSongs) {
        const std::string title = song.displayTitle;
        std::uint64_t seed = 0x5EED0000ull + static_cast<std::uint64_t>(song.number) * 7919u;
        SongPlan plan;
        // Re-roll until this song differs from every earlier one in tempo, key or progression.
        for (int attempt = 0;; ++attempt) {
            plan = PlanOne(song.number, song.musician, FormatOf(song.format),
                           catalog::FileNameOf(song), TuneName(title), seed + attempt,
                           perMusician[song.musician]);
            const auto signature = std::make_tuple(plan.tempo, plan.key.tonic,
                                                   static_cast<int>(plan.key.mode), plan.verse);
            if (used.insert(signature).second) break;
            if (attempt > 100) throw std::logic_error("no distinct plan for " + title);
        }
        ++perMusician[song.musician];
        plans.push_back(std::move(plan));
    }

    SongPlan intro = PlanOne(0, catalog::kIntroTuneMusician, Format::Mod,
                             catalog::kIntroTuneFileName, "mm-complete", 0x1A7B0, 0);
    intro.loops = true;
    intro.key = {2, Mode::Major};
    intro.tempo = 128;
    intro.verse = {0, 5, 3, 4};
    intro.chorus = {3, 4, 0, 4};
    intro.form = {SectionKind::Verse, SectionKind::Chorus, SectionKind::Bridge,
                  SectionKind::FinalChorus};
    plans.push_back(std::move(intro));
    return plans;
}

}  // namespace packgen
