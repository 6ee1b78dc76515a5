// The generator's instruments, grooves, level estimate and tidying, on small cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/pack/drum_synth.h"
#include "tools/pack/grooves.h"
#include "tools/pack/loudness.h"
#include "tools/pack/song_cleanup.h"
#include "tools/pack/synth.h"
#include "tools/pack/uniqueness.h"

using namespace packgen;

namespace {

int Peak(const Sample& sample) {
    int peak = 0;
    for (std::int8_t v : sample.data) peak = std::max(peak, std::abs(static_cast<int>(v)));
    return peak;
}

// Correlation of the sample with itself `lag` points later.
double SelfSimilarity(const Sample& sample, std::size_t from, std::size_t lag) {
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t i = from; i + lag < sample.data.size() && i < from + 2000; ++i) {
        ab += sample.data[i] * sample.data[i + lag];
        aa += sample.data[i] * sample.data[i];
        bb += sample.data[i + lag] * sample.data[i + lag];
    }
    return ab / std::sqrt(std::max(aa * bb, 1.0));
}

// The share of the power of points [from, from + period) that their fundamental carries.
double FundamentalShare(const Sample& sample, std::size_t from, int period) {
    double c = 0, s = 0, power = 0;
    for (int i = 0; i < period; ++i) {
        const double v = sample.data[from + static_cast<std::size_t>(i)];
        c += v * std::cos(2 * std::numbers::pi * i / period);
        s += v * std::sin(2 * std::numbers::pi * i / period);
        power += v * v;
    }
    return 2 * (c * c + s * s) / period / std::max(power, 1.0);
}

Song OneChannelSong(Sample sample, int volume) {
    Song song;
    song.format = Format::Xm;
    song.channels = 2;
    song.tempo = 125;
    song.speed = 6;
    song.samples.push_back(std::move(sample));
    Instrument instrument;
    instrument.sample = 0;
    song.instruments.push_back(instrument);
    Pattern pattern(64, 2);
    pattern.at(0, 0) = {kMiddleC, 1, static_cast<std::int8_t>(volume), Effect::None, 0};
    song.patterns.push_back(pattern);
    song.orders = {0};
    return song;
}

}  // namespace

TEST(PackSynth, PitchedSamplesRepeatAtTheirPeriodAndLoopsJoinSeamlessly) {
    Random random(3);
    const Sample pluck = MakePluck(64, kMiddleC - 12, 0.5, 0.8, 0.995, random, 110);
    EXPECT_FALSE(pluck.loops);
    EXPECT_EQ(pluck.transpose, -12);
    EXPECT_GT(SelfSimilarity(pluck, 200, 64), 0.9) << "the string rings at its period";
    EXPECT_LT(std::abs(pluck.data.back()), 4) << "ends without a click";

    const Sample keys = MakeFmTone(32, kMiddleC, 0.6, 2, 2.5, 5, 3, 100);
    EXPECT_GT(SelfSimilarity(keys, 2000, 32), 0.9);
    EXPECT_EQ(Peak(keys), 100);

    const Sample loop = MakeDetunedLoop(Wave::Saw, Wave::Square50, 32, 0.7, 100);
    EXPECT_EQ(loop.data.size(), 32u * 32u);
    EXPECT_TRUE(loop.loops);
    EXPECT_EQ(loop.transpose, 0);
    // Loop end to loop start is no bigger a step than the saw's own reset.
    EXPECT_LT(std::abs(loop.data.front() - loop.data.back()), 200);

    Sample cycle = MakeFmCycle(2, 1.5, 64, 90);
    EXPECT_EQ(cycle.loopLength, 64u);
    EXPECT_EQ(cycle.transpose, -12);
    Soften(cycle, 0.4);
    EXPECT_EQ(Peak(cycle), 90) << "softening keeps the level";
    Sample stepped = MakeWave(Wave::Triangle, 32, 120);
    Quantise(stepped, 5);
    std::set<int> levels(stepped.data.begin(), stepped.data.end());
    EXPECT_LE(levels.size(), 5u);

    Sample noise = MakeNoiseCycle(true, true, 1, 1024, random, 80);
    EXPECT_TRUE(noise.loops);
    EXPECT_EQ(Peak(noise), 80);
    EXPECT_GT(SelfSimilarity(noise, 0, 93), 0.9) << "the short register mode repeats every 93";
}

TEST(PackSynth, StrengtheningTheFundamentalKeepsPeakPeriodAndPhase) {
    const Sample saw = MakeWave(Wave::Saw, 64, 110);
    ASSERT_LT(FundamentalShare(saw, 0, 64), 0.65);
    Sample bass = saw;
    StrengthenFundamental(bass, 0.9);
    EXPECT_GT(FundamentalShare(bass, 0, 64), 0.87);
    EXPECT_EQ(Peak(bass), 110);
    EXPECT_EQ(bass.data.size(), saw.data.size());
    EXPECT_EQ(bass.transpose, saw.transpose);
    // Added in step with the fundamental already there, not against it.
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < saw.data.size(); ++i) {
        ab += saw.data[i] * bass.data[i];
        aa += saw.data[i] * saw.data[i];
        bb += bass.data[i] * bass.data[i];
    }
    EXPECT_GT(ab / std::sqrt(aa * bb), 0.8);

    Sample sine = MakeWave(Wave::Sine, 64, 100);
    const Sample pure = sine;
    StrengthenFundamental(sine, 0.9);
    EXPECT_EQ(sine.data, pure.data) << "a sine has nothing to add";

    Random random(5);
    const Sample pluck = MakePluck(64, kMiddleC - 18, 0.9, 0.9, 0.997, random, 110);
    Sample round = pluck;
    StrengthenFundamental(round, 0.9);
    EXPECT_LT(FundamentalShare(pluck, 64, 64), 0.6);
    EXPECT_GT(FundamentalShare(round, 64, 64), 0.8) << "every period, not just the first";
    EXPECT_GT(FundamentalShare(round, 64 * 40, 64), 0.8);
    EXPECT_EQ(Peak(round), Peak(pluck));
    EXPECT_LT(std::abs(round.data.back()), 4) << "still ends without a click";
    EXPECT_GT(SelfSimilarity(round, 200, 64), 0.9);
}

TEST(PackSynth, EveryDrumSoundStartsAtOnceEndsQuietlyAndDiffersByDraw) {
    for (int kind = 0; kind <= static_cast<int>(DrumSound::Blip); ++kind) {
        const DrumSound sound = static_cast<DrumSound>(kind);
        SCOPED_TRACE(DrumSoundName(sound));
        Random first(kind), second(kind + 100);
        const Sample a = MakeDrum(sound, 16726, first, 120);
        const Sample b = MakeDrum(sound, 16726, second, 120);
        ASSERT_GT(a.data.size(), 300u);
        EXPECT_FALSE(a.loops);
        EXPECT_EQ(Peak(a), 120);
        const auto loudest = std::max_element(
            a.data.begin(), a.data.end(), [](int x, int y) { return std::abs(x) < std::abs(y); });
        EXPECT_LT(loudest - a.data.begin(), 2000) << "starts late";
        EXPECT_LT(std::abs(a.data.back()), 6) << "ends with a click";
        EXPECT_NE(a.data, b.data) << "two draws give two sounds";
    }
}

TEST(PackGrooves, FamiliesKeepInTheBarAndSwingTheirOwnWay) {
    for (int kind = 0; kind <= static_cast<int>(RhythmFamily::None); ++kind) {
        const RhythmFamily family = static_cast<RhythmFamily>(kind);
        SCOPED_TRACE(FamilyName(family));
        Random random(kind * 17 + 1);
        const Groove groove = MakeGroove(family, random);
        for (const DrumHit& hit : groove.main) {
            EXPECT_GE(hit.position, 0);
            EXPECT_LT(hit.position, 32);
            EXPECT_GT(hit.velocity, 0);
            EXPECT_LE(hit.velocity, 64);
        }
        EXPECT_EQ(groove.main.empty(), family == RhythmFamily::None);
        EXPECT_EQ(groove.alternatesSpeed, family == RhythmFamily::SpeedSwing);
        const bool late = std::any_of(groove.main.begin(), groove.main.end(),
                                      [](const DrumHit& hit) { return hit.late; });
        EXPECT_EQ(late, family == RhythmFamily::DelaySwing);
        if (late) {
            EXPECT_GT(groove.lateTicks, 0);
        }
        if (family == RhythmFamily::None) continue;
        const std::vector<DrumHit> fill = MakeFill(kind, groove, random);
        EXPECT_TRUE(std::any_of(fill.begin(), fill.end(), [](const DrumHit& hit) {
            return hit.position >= 16;
        })) << "a fill fills the bar's second half";
    }
}

TEST(PackLoudness, EstimateFollowsVolumeAndLengthAndLevellingScalesEveryVolume) {
    const Sample square = MakeWave(Wave::Square50, 32, 127);
    const double full = EstimatedPower(OneChannelSong(square, 64));
    EXPECT_NEAR(full, 1.0, 0.02) << "a full-scale square held through the song";
    EXPECT_NEAR(EstimatedPower(OneChannelSong(square, 32)), full / 4, 0.01);

    Song two = OneChannelSong(square, 64);
    two.patterns[0].at(0, 1) = {kMiddleC, 1, -1, Effect::None, 0};
    EXPECT_NEAR(EstimatedPower(two), 2 * full, 0.04) << "two channels, twice the power";

    Song stopped = OneChannelSong(square, 64);
    stopped.patterns[0].at(32, 0).note = kNoteOff;
    EXPECT_NEAR(EstimatedPower(stopped), full / 2, 0.02);

    Song levelled = OneChannelSong(square, 40);
    levelled.patterns[0].at(16, 0) = {kMiddleC, 1, 64, Effect::None, 0};
    ScaleVolumes(levelled, 0.5);
    EXPECT_EQ(levelled.samples[0].volume, 32);
    EXPECT_EQ(levelled.patterns[0].at(0, 0).volume, 20);
    EXPECT_EQ(levelled.patterns[0].at(16, 0).volume, 32);
    ScaleVolumes(levelled, 8.0);
    EXPECT_EQ(levelled.samples[0].volume, 64) << "volumes stop at 64";
}

TEST(PackLoudness, LevellingUpStopsWhereTheLoudestVolumeReachesItsLimit) {
    // A raise past 64 would clip the loud voice to the quiet one's level: the balance goes.
    Song song = OneChannelSong(MakeWave(Wave::Square50, 32, 127), 32);
    song.samples[0].volume = 32;
    song.patterns[0].at(0, 1) = {kMiddleC, 1, 8, Effect::None, 0};
    Level(song, 20.0);
    EXPECT_EQ(LoudestVolume(song), 64);
    EXPECT_EQ(song.patterns[0].at(0, 0).volume, 64);
    EXPECT_EQ(song.patterns[0].at(0, 1).volume, 16) << "the quiet voice keeps its distance";
    Level(song, -6.0);
    EXPECT_NEAR(
        static_cast<double>(song.patterns[0].at(0, 0).volume) / song.patterns[0].at(0, 1).volume,
        4.0, 0.4)
        << "scaled down, both voices alike";
}

TEST(PackUniquenessTest, LaterSongsAreNudgedOffWhatEarlierOnesHold) {
    Song first = OneChannelSong(MakeWave(Wave::Saw, 32, 100), 64);
    first.patterns[0].at(4, 0) = {kMiddleC + 7, 1, -1, Effect::None, 0};
    Song second = first;
    PackUniqueness uniqueness;
    uniqueness.MakeUnique(first, 1);
    Song same = first;
    uniqueness.MakeUnique(same, 1);
    EXPECT_EQ(same.samples[0].data, first.samples[0].data) << "a musician may reuse a sample";
    uniqueness.MakeUnique(second, 2);
    EXPECT_NE(SampleHash(second.samples[0]), SampleHash(first.samples[0]));
    EXPECT_EQ(Peak(second.samples[0]), 99);
    const std::set<std::string> a = NoteBlocks(first), b = NoteBlocks(second);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_NE(*a.begin(), *b.begin());
    EXPECT_EQ(std::abs(second.patterns[0].at(4, 0).note - first.patterns[0].at(4, 0).note), 12);
}

TEST(PackCleanup, UnplayedInstrumentsAndTheirSamplesGoAndNumbersCloseUp) {
    Song song = OneChannelSong(MakeWave(Wave::Saw, 32, 100), 64);
    song.samples.push_back(MakeWave(Wave::Sine, 32, 100));
    song.samples.push_back(MakeWave(Wave::Triangle, 32, 100));
    Instrument second, third;
    second.sample = 1;
    third.sample = 2;
    song.instruments.push_back(second);
    song.instruments.push_back(third);
    song.patterns[0].at(8, 1) = {kMiddleC, 3, -1, Effect::None, 0};
    DropUnusedInstruments(song);
    ASSERT_EQ(song.instruments.size(), 2u);
    ASSERT_EQ(song.samples.size(), 2u);
    EXPECT_EQ(song.patterns[0].at(8, 1).instrument, 2);
    EXPECT_EQ(song.samples[static_cast<std::size_t>(song.instruments[1].sample)].name, "triangle");
}
