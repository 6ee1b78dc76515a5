// The pack as a whole sounds like sixteen people: palettes of their own, grooves of their own,
// and no material shared between songs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "tools/pack/pack.h"
#include "tools/pack/uniqueness.h"

using namespace packgen;

namespace {

const std::vector<ComposedSong>& Composed() {
    static const std::vector<ComposedSong> songs = ComposePack();
    return songs;
}

}  // namespace

TEST(PackVariety, SamplesBelongToOneMusicianAndMostlyToOneSong) {
    std::map<std::uint64_t, std::set<int>> musicians;
    std::map<std::uint64_t, std::set<int>> songs;
    for (const ComposedSong& composed : Composed()) {
        for (const Sample& sample : composed.song.samples) {
            musicians[SampleHash(sample)].insert(composed.plan.musician);
            if (!composed.plan.loops) songs[SampleHash(sample)].insert(composed.plan.number);
        }
    }
    EXPECT_GE(musicians.size(), 250u);
    for (const auto& [hash, owners] : musicians) EXPECT_EQ(owners.size(), 1u) << "shared sample";
    for (const ComposedSong& composed : Composed()) {
        if (composed.plan.loops) continue;
        SCOPED_TRACE(composed.plan.fileName);
        std::set<std::uint64_t> own;
        for (const Sample& sample : composed.song.samples) own.insert(SampleHash(sample));
        const auto shared = std::count_if(
            own.begin(), own.end(), [&](std::uint64_t hash) { return songs[hash].size() > 1; });
        EXPECT_LE(2 * shared, static_cast<long>(own.size())) << "at most half reused";
    }
}

TEST(PackVariety, DrumKitsRangeFromNoneToEightAndNoNoteBlockRepeatsAcrossSongs) {
    std::set<std::string> names;
    std::map<std::string, int> blockSongs;
    int withoutDrums = 0;
    for (const ComposedSong& composed : Composed()) {
        if (composed.plan.loops) continue;
        int drums = 0;
        for (const Instrument& instrument : composed.song.instruments) {
            if (!instrument.drum) continue;
            ++drums;
            names.insert(instrument.name);
        }
        EXPECT_LE(drums, 8) << composed.plan.fileName;
        withoutDrums += drums == 0;
        for (const std::string& block : NoteBlocks(composed.song)) ++blockSongs[block];
    }
    EXPECT_GE(names.size(), 8u) << "many kinds of drum sound";
    EXPECT_GE(withoutDrums, 1);
    for (const auto& [block, count] : blockSongs) EXPECT_EQ(count, 1) << block;
}

TEST(PackVariety, GroovesTempiAndSpeedsSpreadOverThePack) {
    std::map<RhythmFamily, int> families;
    std::set<int> speeds;
    std::vector<double> beats;
    for (const ComposedSong& composed : Composed()) {
        if (composed.plan.loops) continue;
        ++families[composed.plan.groove];
        speeds.insert(composed.plan.speed);
        beats.push_back(composed.plan.bpm);
    }
    for (RhythmFamily family :
         {RhythmFamily::Shuffle, RhythmFamily::SpeedSwing, RhythmFamily::DelaySwing,
          RhythmFamily::HalfTime, RhythmFamily::Breakbeat, RhythmFamily::FourOnFloor,
          RhythmFamily::None}) {
        EXPECT_GE(families[family], 1) << FamilyName(family);
    }
    EXPECT_GE(families.size(), 12u);
    for (const auto& [family, count] : families) EXPECT_LE(count, 10) << FamilyName(family);
    EXPECT_GE(speeds.size(), 4u);
    EXPECT_LE(*std::min_element(beats.begin(), beats.end()), 70);
    EXPECT_GE(*std::max_element(beats.begin(), beats.end()), 170);
}
