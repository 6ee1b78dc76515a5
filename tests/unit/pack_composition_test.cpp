// The generator's music theory and synthesis: chords, motifs, waveforms and note ranges.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/pack/compose.h"
#include "tools/pack/harmony.h"
#include "tools/pack/motifs.h"
#include "tools/pack/plan.h"
#include "tools/pack/waveforms.h"

using namespace packgen;

TEST(PackHarmony, DiatonicTriadsHaveTheQualitiesOfTheirMode) {
    const Key cMajor{0, Mode::Major};
    // I, ii, iii, IV, V, vi major or minor; vii diminished.
    const int thirds[] = {4, 3, 3, 4, 4, 3, 3};
    const int fifths[] = {7, 7, 7, 7, 7, 7, 6};
    for (int degree = 0; degree < 7; ++degree) {
        const Chord chord = TriadOn(cMajor, degree);
        EXPECT_EQ(chord.third, thirds[degree]) << degree;
        EXPECT_EQ(chord.fifth, fifths[degree]) << degree;
    }
    // The harmonic minor's dominant is major; the natural minor's is not.
    EXPECT_EQ(TriadOn({9, Mode::HarmonicMinor}, 4).third, 4);
    EXPECT_EQ(TriadOn({9, Mode::Minor}, 4).third, 3);
    // Degrees wrap into the neighbouring octaves, below the tonic too.
    EXPECT_EQ(cMajor.pitchOf(7, kMiddleC), kMiddleC + 12);
    EXPECT_EQ(cMajor.pitchOf(-1, kMiddleC), kMiddleC - 1);
    EXPECT_EQ(Key({2, Mode::Dorian}).pitchOf(-7, kMiddleC), kMiddleC + 2 - 12);
    EXPECT_EQ(TriadOn(cMajor, -3).rootDegree, 4);
}

TEST(PackHarmony, NearestChordToneStaysWithinTheChord) {
    const Chord tonic = TriadOn({0, Mode::Major}, 0);
    EXPECT_EQ(NearestChordTone(tonic, 0), 0);
    EXPECT_EQ(NearestChordTone(tonic, 1), 0);  // ties go down
    EXPECT_EQ(NearestChordTone(tonic, 3), 2);
    EXPECT_EQ(NearestChordTone(tonic, 6), 7);
    EXPECT_EQ(NearestChordTone(tonic, -2), -3);
    for (Mode mode : {Mode::Major, Mode::Minor, Mode::Dorian, Mode::Mixolydian, Mode::HarmonicMinor,
                      Mode::Lydian, Mode::Phrygian}) {
        ASSERT_FALSE(MainProgressions(mode).empty());
        for (const Progression& progression : MainProgressions(mode)) {
            EXPECT_EQ(progression.size(), 4u);
        }
        for (const Progression& progression : BridgeProgressions(mode)) {
            EXPECT_EQ(progression.size(), 4u);
        }
    }
}

TEST(PackMotifs, StayInsideTheirBarWithoutOverlaps) {
    Random random(7);
    for (int trial = 0; trial < 200; ++trial) {
        const Motif motif = MakeMotif(random, trial % 100, 30);
        for (const Motif& variant : {motif, AnswerTo(motif, random), Ornamented(motif, random),
                                     Retimed(motif, random), Cadence(random)}) {
            ASSERT_FALSE(variant.empty());
            int end = 0;
            for (const MotifNote& note : variant) {
                EXPECT_GE(note.step, end) << "notes overlap";
                EXPECT_GE(note.length, 1);
                end = note.step + note.length;
                EXPECT_LE(std::abs(note.offset), 7);
            }
            EXPECT_LE(end, 16);
        }
    }
}

TEST(PackWaveforms, CyclesLoopWholeAndTransposeByTheirLength) {
    for (int length : {16, 32, 64, 128}) {
        const Sample wave = MakeWave(Wave::Square25, length, 100);
        EXPECT_EQ(wave.data.size(), static_cast<std::size_t>(length));
        EXPECT_TRUE(wave.loops);
        EXPECT_EQ(wave.loopStart, 0u);
        EXPECT_EQ(wave.loopLength, static_cast<std::uint32_t>(length));
        const int high = static_cast<int>(std::count(wave.data.begin(), wave.data.end(), 100));
        EXPECT_EQ(high, length / 4) << "25 % duty";
    }
    EXPECT_EQ(MakeWave(Wave::Saw, 16, 50).transpose, 12);
    EXPECT_EQ(MakeWave(Wave::Saw, 32, 50).transpose, 0);
    EXPECT_EQ(MakeWave(Wave::Saw, 128, 50).transpose, -24);
    for (const Sample& drum : {MakeKick(120, 1.0), MakeSnare(120, 0.7), MakeHat(120, false),
                               MakeHat(120, true), MakeTom(120)}) {
        ASSERT_GT(drum.data.size(), 500u) << drum.name;
        EXPECT_FALSE(drum.loops) << drum.name;
        const auto loudest = std::max_element(drum.data.begin(), drum.data.end(), [](int a, int b) {
            return std::abs(a) < std::abs(b);
        });
        EXPECT_GT(std::abs(*loudest), 40) << drum.name;
        EXPECT_LT(loudest - drum.data.begin(), 1000) << drum.name << " starts late";
        EXPECT_LT(std::abs(drum.data.back()), 8) << drum.name << " ends with a click";
    }
}

// Written notes outside ProTracker's three octaves would be folded back by the MOD writer,
// breaking the melody; XM and IT notes must stay inside their own range.
TEST(PackComposition, EverySongsNotesFitItsFormatAndEveryOrderHasAPattern) {
    for (const SongPlan& plan : PlanPack()) {
        SCOPED_TRACE(plan.fileName);
        const Song song = Compose(plan);
        const int lowest = song.format == Format::Mod ? 37 : 1;
        const int highest = song.format == Format::Mod ? 72 : 96;
        std::vector<int> channelInstrument(static_cast<std::size_t>(song.channels), 0);
        for (const Pattern& pattern : song.patterns) {
            for (int row = 0; row < pattern.rows; ++row) {
                for (int channel = 0; channel < pattern.channels; ++channel) {
                    const Cell& cell = pattern.at(row, channel);
                    if (cell.instrument > 0) channelInstrument[channel] = cell.instrument;
                    if (cell.note == kNoNote || cell.note == kNoteOff) continue;
                    ASSERT_GT(cell.instrument, 0) << "a note without its instrument";
                    const Instrument& instrument = song.instruments[cell.instrument - 1];
                    const int written = cell.note - song.samples[instrument.sample].transpose;
                    EXPECT_GE(written, lowest) << instrument.name << " row " << row;
                    EXPECT_LE(written, highest) << instrument.name << " row " << row;
                }
            }
        }
        for (int order : song.orders) {
            EXPECT_LT(order, static_cast<int>(song.patterns.size()));
        }
        EXPECT_EQ(song.tempo, plan.tempo);
    }
}

TEST(PackComposition, ModBassNotesHeldPastAnEighthDieAwayAndXmBassesLeanOffCentre) {
    int modsWithSlides = 0, mods = 0;
    for (const SongPlan& plan : PlanPack()) {
        const Song song = Compose(plan);
        if (plan.format != Format::Mod) {
            // Instrument 1 is the bass; only EELGRASS keeps it in the middle.
            if (plan.musician != 4) {
                EXPECT_LT(song.instruments.front().panning, 100) << plan.title;
            }
            continue;
        }
        ++mods;
        int slides = 0;
        for (const Pattern& pattern : song.patterns) {
            for (int row = 0; row < pattern.rows; ++row) {
                const Cell& cell = pattern.at(row, 0);
                if (cell.effect == Effect::VolumeSlide && cell.param > 0 && cell.param <= 2)
                    ++slides;
                EXPECT_FALSE(cell.effect == Effect::VolumeSlide && (cell.param >> 4) > 0)
                    << "the bass never swells";
            }
        }
        modsWithSlides += slides > 0;
    }
    EXPECT_GT(modsWithSlides, mods / 2);
}
