// The pack report's measures of how a song moves, checked on small modules built in code and
// on hand-made figures where a module would only hide what is checked.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/test_modules.h"
#include "tools/pack/report/brightness.h"
#include "tools/pack/report/drum_figures.h"
#include "tools/pack/report/level_figures.h"
#include "tools/pack/report/pack_figures.h"
#include "tools/pack/report/sample_pitch.h"
#include "tools/pack/waveforms.h"
#include "tools/pack/xm_writer.h"

using namespace packgen;
using namespace packreport;

namespace {

constexpr int kC = kMiddleC;  // written C in the generator's numbering

// A single cycle of a sine, `points` long (any length, unlike MakeWave's powers of two).
Sample SineCycle(int points) {
    Sample sample;
    sample.name = "sine " + std::to_string(points);
    for (int i = 0; i < points; ++i)
        sample.data.push_back(static_cast<std::int8_t>(
            std::lround(100 * std::sin(2 * std::numbers::pi * i / points))));
    sample.loops = true;
    sample.loopLength = static_cast<std::uint32_t>(points);
    return sample;
}

// An XM song of `patterns` 64-row patterns with one instrument per sample.
Song XmSong(std::vector<Sample> samples, int patterns, int channels = 4) {
    Song song;
    song.title = "measures";
    song.format = Format::Xm;
    song.channels = channels;
    song.samples = std::move(samples);
    for (std::size_t i = 0; i < song.samples.size(); ++i) {
        Instrument instrument;
        instrument.name = song.samples[i].name;
        instrument.sample = static_cast<int>(i);
        song.instruments.push_back(instrument);
    }
    for (int p = 0; p < patterns; ++p) {
        song.patterns.emplace_back(64, channels);
        song.orders.push_back(p);
    }
    return song;
}

SongFigures Measured(const Song& song) {
    const hollowtide::testing::TempDir folder;
    SongFigures figures;
    figures.fileName = "song.xm";
    figures.path = folder.path() / figures.fileName;
    hollowtide::testing::WriteFile(figures.path, WriteXm(song));
    MeasureSong(figures);
    return figures;
}

// Notes of one channel every `every` rows from `pitches`, cycling, over every pattern.
void Play(Song& song, int channel, int instrument, const std::vector<int>& pitches, int every) {
    std::size_t next = 0;
    for (Pattern& pattern : song.patterns) {
        for (int row = 0; row < pattern.rows; row += every) {
            pattern.at(row, channel) = {static_cast<std::uint8_t>(pitches[next++ % pitches.size()]),
                                        static_cast<std::uint8_t>(instrument), -1, Effect::None, 0};
        }
    }
}

}  // namespace

TEST(PackReportPitch, FindsTheFundamentalOfLoopsAndOneShots) {
    SampleData loop;
    for (int i = 0; i < 301; ++i)  // seven cycles of 43 points in one loop
        loop.data.push_back(
            static_cast<std::int16_t>(20000 * std::sin(2 * std::numbers::pi * i / 43.0) +
                                      8000 * std::sin(6 * std::numbers::pi * i / 43.0)));
    loop.loops = true;
    loop.loopLength = 301;
    ASSERT_TRUE(FundamentalPeriod(loop).has_value());
    EXPECT_NEAR(*FundamentalPeriod(loop), 43.0, 0.2);

    SampleData pluck;  // a decaying tone of period 100.5 points with a strong second harmonic
    for (int i = 0; i < 12000; ++i) {
        const double phase = 2 * std::numbers::pi * i / 100.5;
        pluck.data.push_back(static_cast<std::int16_t>(
            std::exp(-i / 6000.0) * (12000 * std::sin(phase) + 12000 * std::sin(2 * phase))));
    }
    ASSERT_TRUE(FundamentalPeriod(pluck).has_value());
    EXPECT_NEAR(*FundamentalPeriod(pluck), 100.5, 0.5);

    SampleData noise;
    std::uint32_t state = 1;
    for (int i = 0; i < 8000; ++i) {
        state = state * 1664525u + 1013904223u;
        noise.data.push_back(static_cast<std::int16_t>(static_cast<int>(state >> 16) - 32768));
    }
    EXPECT_FALSE(FundamentalPeriod(noise).has_value());
}

TEST(PackReportPitch, SoundingOffsetFollowsTheSampleTuning) {
    SampleData wave;
    for (int i = 0; i < 32; ++i)
        wave.data.push_back(
            static_cast<std::int16_t>(20000 * std::sin(2 * std::numbers::pi * i / 32)));
    wave.loops = true;
    wave.loopLength = 32;
    wave.c5Rate = 8363;  // 32 points at 8363 Hz: a C
    ASSERT_TRUE(SoundingOffset(wave).has_value());
    EXPECT_NEAR(PitchClassOffset(*SoundingOffset(wave)), 0.0, 0.05);
    wave.c5Rate = 8363 * std::pow(2.0, 1.0 / 12);  // tuned a semitone up
    EXPECT_NEAR(PitchClassOffset(*SoundingOffset(wave)), 1.0, 0.05);
    wave.c5Rate = 8363 / 2.0;  // an octave down: same pitch class, 12 semitones lower
    EXPECT_NEAR(*SoundingOffset(wave), -12.0, 0.05);
    EXPECT_NEAR(PitchClassOffset(-6.5), 5.5, 1e-9);
}

TEST(PackReportMelody, LeadAndBassAPartInKeyOnlyWhenTheirSoundingKeysAre) {
    const std::vector<int> cMajor = {kC, kC + 2, kC + 4, kC + 5, kC + 7, kC + 9, kC + 11};
    const std::vector<int> bassInC = {kC - 24, kC - 19, kC - 17, kC - 15, kC - 20};
    std::vector<int> bassInDb;
    for (int pitch : bassInC) bassInDb.push_back(pitch + 1);
    std::vector<int> bassInG;
    for (int pitch : bassInC) bassInG.push_back(pitch + 7);

    for (const auto& [bass, clash] :
         {std::pair{bassInC, false}, std::pair{bassInDb, true}, std::pair{bassInG, false}}) {
        Song song = XmSong({MakeWave(Wave::Square50, 32, 100), MakeWave(Wave::Saw, 32, 100)}, 2);
        Play(song, 0, 1, cMajor, 2);
        Play(song, 1, 2, bass, 4);
        const SongFigures figures = Measured(song);
        EXPECT_EQ(figures.melody.leadChannel, 0);
        EXPECT_EQ(figures.melody.bassChannel, 1);
        EXPECT_EQ(figures.melody.leadKey, 0);
        EXPECT_EQ(figures.melody.keysClash, clash) << "bass key " << figures.melody.bassKey;
    }

    // Written in C, but its sample sounds a semitone up (a 30-point cycle played as a 32-point
    // one): heard in Db, so it clashes with the lead.
    Song song = XmSong({MakeWave(Wave::Square50, 32, 100), SineCycle(30)}, 2);
    Play(song, 0, 1, cMajor, 2);
    Play(song, 1, 2, bassInC, 4);
    const SongFigures figures = Measured(song);
    EXPECT_EQ(figures.melody.bassKey, 1);
    EXPECT_TRUE(figures.melody.keysClash);
}

TEST(PackReportMelody, LeadIntervalsAndClashesCountSoundingNotesOnly) {
    Song song = XmSong({MakeWave(Wave::Square50, 32, 100)}, 1);
    Pattern& pattern = song.patterns[0];
    // The lead steps and skips: C D E G C' E': intervals 2, 2, 3, 5, 4.
    const std::vector<int> lead = {kC + 12, kC + 14, kC + 16, kC + 19, kC + 24, kC + 28};
    for (std::size_t i = 0; i < lead.size(); ++i)
        pattern.at(static_cast<int>(8 * i), 0) = {static_cast<std::uint8_t>(lead[i]), 1, -1,
                                                  Effect::None, 0};
    // Channel 1 holds C from row 0; channel 2 strikes C# at row 0 and releases it at row 4;
    // channel 3 holds E. Rows 0-3: C/C# clashes, C/E and C#/E do not; afterwards C/E only.
    pattern.at(0, 1) = {kC, 1, -1, Effect::None, 0};
    pattern.at(0, 2) = {kC + 1, 1, -1, Effect::None, 0};
    pattern.at(4, 2) = {kNoteOff, 0, -1, Effect::None, 0};
    pattern.at(0, 3) = {kC + 4, 1, -1, Effect::None, 0};
    const SongFigures figures = Measured(song);
    EXPECT_EQ(figures.melody.leadChannel, 0);
    EXPECT_NEAR(figures.melody.meanInterval, 16.0 / 5, 1e-9);
    EXPECT_NEAR(figures.melody.skipShare, 3.0 / 5, 1e-9);
    EXPECT_NEAR(figures.melody.stepShare, 2.0 / 5, 1e-9);
    // Every row, lead included: rows 0-3 have 4 voices (6 pairs, 2 clashes: C#/C twice is one
    // each with the lead's C' and channel 1's C), later rows 3 voices (3 pairs, none).
    ASSERT_GT(figures.melody.clashShare, 0);
    const int steps = figures.notes.steps;
    EXPECT_NEAR(figures.melody.clashShare, 4.0 * 2 / (4.0 * 6 + (steps - 4) * 3.0), 1e-9);
}

TEST(PackReportDrums, CountsTheThreePlusFillFormulaAndTwoBarPatterns) {
    const std::string a = "a", b = "b", fill = "fill";
    const DrumFigures formula = MeasureDrums({{a, a, a, fill, a, a, a, fill}});
    EXPECT_EQ(formula.groups, 2);
    EXPECT_DOUBLE_EQ(formula.formulaShare, 1.0);
    EXPECT_DOUBLE_EQ(formula.changeShare, 0.0);
    EXPECT_EQ(formula.abGroups, 0);

    const DrumFigures ab = MeasureDrums({{a, b, a, b}, {a, a, a, a}});
    EXPECT_DOUBLE_EQ(ab.formulaShare, 0.0);
    EXPECT_EQ(ab.abGroups, 1);
    EXPECT_DOUBLE_EQ(ab.changeShare, 0.5);  // a-b, b-a changed; a-a, a-a did not
    // Groups count from each section's start: a pattern of 3 bars and one of 4.
    const DrumFigures sections = MeasureDrums({{a, a, fill}, {a, a, a, fill}});
    EXPECT_EQ(sections.groups, 1);
    EXPECT_DOUBLE_EQ(sections.formulaShare, 1.0);
    EXPECT_EQ(MeasureDrums({{"", "", "", ""}}).groups, 0);
}

TEST(PackReportDrums, BarsOfAModuleDifferByTheirHits) {
    Sample kick = MakeKick(110, 0.5);
    Song song = XmSong({MakeWave(Wave::Square50, 32, 100), kick}, 2);
    song.instruments[1].drum = true;
    for (Pattern& pattern : song.patterns) {
        for (int bar = 0; bar < 4; ++bar) {
            for (int beat = 0; beat < 4; ++beat)
                pattern.at(16 * bar + 4 * beat, 1) = {kDrumNote, 2, -1, Effect::None, 0};
        }
        pattern.at(62, 1) = {kDrumNote, 2, -1, Effect::None, 0};  // the fill: one more kick
    }
    Play(song, 0, 1, {kC, kC + 4, kC + 7}, 4);
    const SongFigures figures = Measured(song);
    EXPECT_EQ(figures.notes.rowsPerBar, 16);
    EXPECT_EQ(figures.drums.groups, 2);
    EXPECT_DOUBLE_EQ(figures.drums.formulaShare, 1.0);
    EXPECT_DOUBLE_EQ(figures.repeatedOrders, 0.0);

    // Patterns of two bars: a group is two of them, here A A then A fill.
    Song halves = XmSong({MakeWave(Wave::Square50, 32, 100), kick}, 2);
    for (Pattern& pattern : halves.patterns) pattern = Pattern(32, halves.channels);
    for (int p = 0; p < 2; ++p) {
        for (int row = 0; row < 32; row += 4)
            halves.patterns[static_cast<std::size_t>(p)].at(row, 1) = {kDrumNote, 2, -1,
                                                                       Effect::None, 0};
    }
    halves.patterns[1].at(30, 1) = {kDrumNote, 2, -1, Effect::None, 0};
    Play(halves, 0, 1, {kC, kC + 4, kC + 7}, 4);
    const SongFigures paired = Measured(halves);
    EXPECT_EQ(paired.drums.groups, 1);
    EXPECT_DOUBLE_EQ(paired.drums.formulaShare, 1.0);
}

TEST(PackReportEffects, EffectsCountForTheNoteTheyShape) {
    Song song = XmSong({MakeWave(Wave::Square50, 32, 100)}, 1);
    Pattern& pattern = song.patterns[0];
    for (int row = 0; row < 64; row += 8) pattern.at(row, 0) = {kC, 1, -1, Effect::None, 0};
    pattern.at(0, 0).effect = Effect::Arpeggio;
    pattern.at(0, 0).param = 0x37;
    pattern.at(9, 0) = {kNoNote, 0, -1, Effect::Vibrato, 0x44};  // on the held note of row 8
    pattern.at(10, 0) = {kNoNote, 0, -1, Effect::Vibrato, 0x44};
    pattern.at(16, 0).effect = Effect::NoteDelay;
    pattern.at(16, 0).param = 2;
    const SongFigures figures = Measured(song);
    ASSERT_EQ(figures.idiomShares.size(), static_cast<std::size_t>(Idiom::Count));
    EXPECT_DOUBLE_EQ(figures.idiomShares[static_cast<std::size_t>(Idiom::Arpeggio)], 1.0 / 8);
    EXPECT_DOUBLE_EQ(figures.idiomShares[static_cast<std::size_t>(Idiom::Vibrato)], 1.0 / 8);
    EXPECT_DOUBLE_EQ(figures.idiomShares[static_cast<std::size_t>(Idiom::NoteDelay)], 1.0 / 8);
    EXPECT_DOUBLE_EQ(figures.idiomShares[static_cast<std::size_t>(Idiom::Retrigger)], 0.0);
}

TEST(PackReportOrders, RepeatedPositionsAreThoseWhosePatternPlayedBefore) {
    EXPECT_DOUBLE_EQ(RepeatedOrderShare({0, 1, 0, 2, 1}), 2.0 / 5);
    EXPECT_DOUBLE_EQ(RepeatedOrderShare({0, 1, 2}), 0.0);
    EXPECT_DOUBLE_EQ(RepeatedOrderShare({}), 0.0);
}

namespace {

std::vector<double> Blocks(double seconds, double db) {
    return std::vector<double>(static_cast<std::size_t>(std::lround(seconds / kBlockSeconds)),
                               std::pow(10.0, db / 10));
}

std::vector<double> Then(std::vector<double> a, const std::vector<double>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(PackReportLevels, TellsAFadeAHitAndACutOffApart) {
    std::vector<double> fade = Blocks(30, -15);
    for (int i = 0; i < 300; ++i) fade.push_back(std::pow(10.0, (-15 - 0.2 * i) / 10));
    const LevelFigures faded = MeasureLevels(fade);
    EXPECT_LT(faded.endDb, -30);

    const LevelFigures cut = MeasureLevels(Blocks(30, -15));
    EXPECT_NEAR(cut.endDb, -15, 0.01);
    EXPECT_FALSE(cut.endsOnHit);

    const LevelFigures hit =
        MeasureLevels(Then(Then(Blocks(30, -15), Blocks(1, -40)), Blocks(0.3, -12)));
    EXPECT_GT(hit.endDb, -30);
    EXPECT_TRUE(hit.endsOnHit);

    const LevelFigures silent = MeasureLevels(Then(Blocks(30, -15), std::vector<double>(60, 0.0)));
    EXPECT_EQ(silent.endDb, -200);
}

TEST(PackReportLevels, AModuleThatFadesOutEndsQuietlyAndOneThatStopsDoesNot) {
    for (const bool fades : {false, true}) {
        Song song = XmSong({MakeWave(Wave::Square50, 32, 100)}, 2);
        song.patterns[0].at(0, 0) = {kC, 1, 64, Effect::None, 0};
        for (int row = 0; fades && row < 32; ++row)
            song.patterns[1].at(row, 0) = {kNoNote, 0, -1, Effect::VolumeSlide, 0x02};
        const SongFigures figures = Measured(song);
        ASSERT_TRUE(figures.render.ended);
        if (fades) {
            EXPECT_LT(figures.render.levels.endDb, -30);
        } else {
            EXPECT_GT(figures.render.levels.endDb, -30);
            EXPECT_FALSE(figures.render.levels.endsOnHit);
        }
    }
}

TEST(PackReportLevels, LoudnessRangeAndOpeningSkipSilence) {
    // 10 windows at -20 dB, then 10 at -10 dB, then silence, which counts for neither.
    const std::vector<double> power =
        Then(Then(Blocks(30, -20), Blocks(30, -10)), std::vector<double>(3000, 0.0));
    const LevelFigures levels = MeasureLevels(power);
    EXPECT_NEAR(levels.rangeDb, 10, 0.01);
    // The opening (first 8 s, all at -20) against the median window (between -20 and -10).
    EXPECT_NEAR(levels.openingDb, -5, 0.01);
    // Silence before the first sound does not count as a quiet opening.
    EXPECT_NEAR(MeasureLevels(Then(std::vector<double>(600, 0.0), power)).openingDb, -5, 0.01);
}

TEST(PackReportBrightness, CentroidsFollowTheToneOfEachSecond) {
    constexpr int kRate = 8000;
    BrightnessTracker tracker(kRate);
    std::vector<float> stereo(2 * kRate);
    for (int second = 0; second < 4; ++second) {
        const double hz = second % 2 == 0 ? 500 : 1500;
        for (int i = 0; i < kRate; ++i) {
            const float x =
                static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * hz * i / kRate));
            stereo[2 * static_cast<std::size_t>(i)] = x;
            stereo[2 * static_cast<std::size_t>(i) + 1] = x;
        }
        tracker.add(stereo.data(), kRate);
    }
    std::fill(stereo.begin(), stereo.end(), 0.0001f);  // below -50 dBFS: skipped
    tracker.add(stereo.data(), kRate);
    ASSERT_EQ(tracker.centroids().size(), 4u);
    EXPECT_NEAR(tracker.centroids()[0], 500, 25);
    EXPECT_NEAR(tracker.centroids()[1], 1500, 25);
    EXPECT_NEAR(tracker.spread(), 500, 25);
}
