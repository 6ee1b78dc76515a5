// The composed songs' form: drums that vary between their fills, and sections that are written
// out rather than looped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "tools/pack/compose.h"
#include "tools/pack/grooves.h"
#include "tools/pack/plan.h"

using namespace packgen;

namespace {

struct ComposedPlan {
    SongPlan plan;
    Song song;
};

const std::vector<ComposedPlan>& ComposedPack() {
    static const std::vector<ComposedPlan> pack = [] {
        std::vector<ComposedPlan> songs;
        for (const SongPlan& plan : PlanPack()) {
            if (plan.loops) continue;
            songs.push_back({plan, Compose(plan)});
        }
        return songs;
    }();
    return pack;
}

bool IsDrum(const Song& song, int instrument) {
    return instrument > 0 && song.instruments[static_cast<std::size_t>(instrument - 1)].drum;
}

// Every bar of the song in play order, as the cells of the channels that carry drums, and the
// bar each section starts at.
struct DrumBars {
    std::vector<std::vector<Cell>> bars;
    std::vector<int> sectionStarts;
    std::vector<int> sectionBars;
};

bool SameCell(const Cell& a, const Cell& b) {
    return a.note == b.note && a.instrument == b.instrument && a.volume == b.volume &&
           a.effect == b.effect && a.param == b.param;
}

DrumBars BarsOf(const ComposedPlan& composed) {
    const Song& song = composed.song;
    std::set<int> drumChannels;
    for (int order : song.orders) {
        const Pattern& pattern = song.patterns[static_cast<std::size_t>(order)];
        for (int row = 0; row < pattern.rows; ++row)
            for (int channel = 0; channel < pattern.channels; ++channel)
                if (IsDrum(song, pattern.at(row, channel).instrument)) drumChannels.insert(channel);
    }
    DrumBars result;
    const int rowsPerBar = 16 * composed.plan.rowsPerStep;
    for (int order : song.orders) {
        const Pattern& pattern = song.patterns[static_cast<std::size_t>(order)];
        for (int start = 0; start + rowsPerBar <= pattern.rows; start += rowsPerBar) {
            std::vector<Cell> bar;
            for (int row = start; row < start + rowsPerBar; ++row)
                for (int channel : drumChannels) bar.push_back(pattern.at(row, channel));
            result.bars.push_back(std::move(bar));
        }
    }
    int bar = 0;
    for (const Section& section : composed.plan.form) {
        result.sectionStarts.push_back(bar);
        result.sectionBars.push_back(section.patterns * composed.plan.barsPerPattern());
        bar += result.sectionBars.back();
    }
    return result;
}

bool SameBar(const std::vector<Cell>& a, const std::vector<Cell>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameCell);
}

bool Silent(const std::vector<Cell>& bar) {
    return std::all_of(bar.begin(), bar.end(), [](const Cell& c) { return c.note == kNoNote; });
}

// Share of the 4-bar groups (counted from each section's start) whose first three bars are
// one bar played three times and whose fourth differs: the drum machine's formula.
double FormulaShare(const DrumBars& drums) {
    int groups = 0, formula = 0;
    for (std::size_t s = 0; s < drums.sectionStarts.size(); ++s) {
        const int start = drums.sectionStarts[s];
        for (int g = 0; g + 4 <= drums.sectionBars[s]; g += 4) {
            const auto& b = drums.bars;
            const std::size_t at = static_cast<std::size_t>(start + g);
            if (at + 3 >= b.size() || Silent(b[at])) continue;
            ++groups;
            if (SameBar(b[at], b[at + 1]) && SameBar(b[at], b[at + 2]) &&
                !SameBar(b[at], b[at + 3]))
                ++formula;
        }
    }
    return groups > 0 ? static_cast<double>(formula) / groups : -1;
}

// Whether some stretch of four bars runs A B A B with A and B different.
bool HasTwoBarPattern(const DrumBars& drums) {
    for (std::size_t i = 0; i + 3 < drums.bars.size(); ++i) {
        const auto& b = drums.bars;
        if (!Silent(b[i]) && !SameBar(b[i], b[i + 1]) && SameBar(b[i], b[i + 2]) &&
            SameBar(b[i + 1], b[i + 3]))
            return true;
    }
    return false;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

TEST(PackDrumForm, BarsBetweenFillsVaryInsteadOfThreeRepeatsAndAFill) {
    std::vector<double> shares;
    int twoBarSongs = 0;
    for (const ComposedPlan& composed : ComposedPack()) {
        const DrumBars drums = BarsOf(composed);
        const double share = FormulaShare(drums);
        if (share < 0) continue;  // no drums
        shares.push_back(share);
        if (HasTwoBarPattern(drums)) ++twoBarSongs;
        // Between the fills, most bars differ from the bar before them.
        int changed = 0, compared = 0;
        for (std::size_t i = 1; i < drums.bars.size(); ++i) {
            if (Silent(drums.bars[i]) || Silent(drums.bars[i - 1])) continue;
            ++compared;
            if (!SameBar(drums.bars[i], drums.bars[i - 1])) ++changed;
        }
        EXPECT_GE(changed, compared / 2) << composed.plan.fileName;
    }
    ASSERT_GE(shares.size(), 40u);
    EXPECT_LE(Median(shares), 0.10);
    const auto over =
        std::count_if(shares.begin(), shares.end(), [](double s) { return s > 0.25; });
    EXPECT_LE(static_cast<double>(over), 0.1 * static_cast<double>(shares.size()));
    EXPECT_GE(twoBarSongs, 10) << "two-bar A-B grooves";
}

TEST(PackDrumForm, FillsFallOnTheLastBarOfASectionOnly) {
    // Toms play in fills alone, except in the grooves built on them.
    for (const ComposedPlan& composed : ComposedPack()) {
        if (composed.plan.groove == RhythmFamily::Tribal) continue;
        const Song& song = composed.song;
        const DrumBars drums = BarsOf(composed);
        std::set<int> lastBars;
        for (std::size_t s = 0; s < drums.sectionStarts.size(); ++s)
            lastBars.insert(drums.sectionStarts[s] + drums.sectionBars[s] - 1);
        int tomInstrument = 0;
        for (std::size_t i = 0; i < song.instruments.size(); ++i)
            if (song.samples[static_cast<std::size_t>(song.instruments[i].sample)].name.find(
                    "tom") != std::string::npos)
                tomInstrument = static_cast<int>(i) + 1;
        if (tomInstrument == 0) continue;
        for (std::size_t bar = 0; bar < drums.bars.size(); ++bar) {
            const bool toms =
                std::any_of(drums.bars[bar].begin(), drums.bars[bar].end(),
                            [&](const Cell& c) { return c.instrument == tomInstrument; });
            if (toms) {
                EXPECT_TRUE(lastBars.count(static_cast<int>(bar)) > 0)
                    << composed.plan.fileName << " bar " << bar;
            }
        }
    }
}

TEST(PackSongForm, SectionsReturnWrittenAnewSoFewSongsLoopTheirPatterns) {
    int looping = 0;
    for (const ComposedPlan& composed : ComposedPack()) {
        const std::vector<int>& orders = composed.song.orders;
        std::set<int> heard;
        int repeats = 0;
        for (int pattern : orders) {
            if (!heard.insert(pattern).second) ++repeats;
        }
        if (static_cast<double>(repeats) / static_cast<double>(orders.size()) > 0.51) ++looping;
    }
    EXPECT_LE(looping, 10);
}

TEST(PackSongForm, VersesPlaySofterThanChoruses) {
    // The loudest volume written on each song's bass (channel 0) in its verses and choruses.
    int softerVerses = 0, withBoth = 0;
    for (const ComposedPlan& composed : ComposedPack()) {
        const Song& song = composed.song;
        int verse = -1, chorus = -1;
        std::size_t order = 0;
        for (const Section& section : composed.plan.form) {
            const bool isVerse = section.kind == SectionKind::Verse;
            const bool counted = isVerse || section.kind == SectionKind::Chorus;
            int& loudest = isVerse ? verse : chorus;
            for (int p = 0; p < section.patterns; ++p, ++order) {
                if (!counted) continue;
                const Pattern& pattern =
                    song.patterns[static_cast<std::size_t>(song.orders[order])];
                for (int row = 0; row < pattern.rows; ++row) {
                    const Cell& cell = pattern.at(row, 0);
                    if (cell.note == kNoNote || cell.note == kNoteOff) continue;
                    const int sampleVolume =
                        song.samples[static_cast<std::size_t>(
                                         song.instruments[cell.instrument - 1].sample)]
                            .volume;
                    loudest = std::max(loudest, cell.volume >= 0 ? int{cell.volume} : sampleVolume);
                }
            }
        }
        if (verse < 0 || chorus < 0) continue;
        ++withBoth;
        if (verse < chorus) ++softerVerses;
    }
    ASSERT_GE(withBoth, 20);
    EXPECT_GE(softerVerses, withBoth * 9 / 10);
}

TEST(PackDrumForm, PlayedBarsKeepTheGroovesDownbeatAndTwoBarGroovesAnswer) {
    int twoBar = 0;
    for (int kind = 0; kind < static_cast<int>(RhythmFamily::None); ++kind) {
        const RhythmFamily family = static_cast<RhythmFamily>(kind);
        SCOPED_TRACE(FamilyName(family));
        for (int draw = 0; draw < 8; ++draw) {
            Random random(static_cast<std::uint64_t>(kind * 131 + draw));
            const Groove groove = MakeGroove(family, random);
            EXPECT_NE(groove.answer, groove.main) << "the answer differs from the bar it answers";
            if (groove.twoBar) ++twoBar;
            int varied = 0;
            for (int bar = 0; bar < 16; ++bar) {
                const std::vector<DrumHit> hits = PlayBar(groove, bar, Drive::Steady, random);
                const std::vector<DrumHit>& own =
                    groove.twoBar && bar % 2 == 1 ? groove.answer : groove.main;
                if (hits != own) ++varied;
                for (const DrumHit& hit : hits) {
                    EXPECT_GE(hit.position, 0);
                    EXPECT_LT(hit.position, 32);
                    EXPECT_GT(hit.velocity, 0);
                }
                // Whatever the bar adds or moves, the groove's first hit stays.
                EXPECT_NE(std::find(hits.begin(), hits.end(), own.front()), hits.end());
            }
            EXPECT_GE(varied, 3) << "bars between fills change now and then";
        }
    }
    EXPECT_GT(twoBar, 20);
    EXPECT_LT(twoBar, 100);
}

TEST(PackSongForm, ALeadThatSitsOutABreakdownStopsAtItsStart) {
    // A looped lead sample would otherwise hold the section before's last note throughout.
    int checked = 0;
    for (const ComposedPlan& composed : ComposedPack()) {
        const Song& song = composed.song;
        const int lead = song.format == Format::Mod ? 2 : 4;
        std::size_t order = 0;
        for (std::size_t s = 0; s < composed.plan.form.size(); ++s) {
            const Section& section = composed.plan.form[s];
            if (s > 0 && section.kind == SectionKind::Breakdown) {
                const Pattern& pattern =
                    song.patterns[static_cast<std::size_t>(song.orders[order])];
                EXPECT_EQ(pattern.at(0, lead).note, kNoteOff) << composed.plan.title;
                ++checked;
            }
            order += static_cast<std::size_t>(section.patterns);
        }
    }
    EXPECT_GE(checked, 20);
}

TEST(PackSongForm, ThePadMovesByStepsFromChordToChord) {
    int moves = 0, steps = 0;
    for (const ComposedPlan& composed : ComposedPack()) {
        const Song& song = composed.song;
        if (song.format == Format::Mod) continue;  // no pad channel
        int previous = -1;
        for (int order : song.orders) {
            const Pattern& pattern = song.patterns[static_cast<std::size_t>(order)];
            for (int row = 0; row < pattern.rows; ++row) {
                const Cell& cell = pattern.at(row, 7);
                if (cell.note == kNoNote || cell.note == kNoteOff) continue;
                if (previous >= 0) {
                    ++moves;
                    steps += std::abs(cell.note - previous) <= 2;
                }
                previous = cell.note;
            }
        }
    }
    ASSERT_GT(moves, 500);
    EXPECT_GE(steps * 100, moves * 95) << steps << " of " << moves << " moves are steps";
}
