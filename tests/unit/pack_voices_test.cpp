// The pack's voices in tune with each other: every instrument sounds at the pitch it is written
// at, the voices of each song keep to one key, and they seldom rub a semitone apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "pack_voices.h"
#include "tools/pack/consonance.h"
#include "tools/pack/pack.h"
#include "tools/pack/synth.h"
#include "tools/pack/waveforms.h"

using namespace packgen;
using namespace packtest;

namespace {

const std::vector<ComposedSong>& Pack() {
    static const std::vector<ComposedSong> songs = ComposePack();
    return songs;
}

Song ToneSong(Format format, Sample sample) {
    Song song;
    song.format = format;
    song.channels = format == Format::Mod ? 4 : 8;
    song.samples.push_back(std::move(sample));
    Instrument instrument;
    instrument.sample = 0;
    song.instruments.push_back(instrument);
    song.patterns.assign(1, Pattern(64, song.channels));
    song.orders = {0};
    return song;
}

}  // namespace

// The pitch check itself: it hears a plain cycle where it is written in every format, and
// hears a sample whose tuning is a semitone out.
TEST(PackVoices, RenderedPitchHearsTheWrittenNoteAndASemitoneOff) {
    for (Format format : {Format::Mod, Format::Xm, Format::It}) {
        SCOPED_TRACE(static_cast<int>(format));
        Song song = ToneSong(format, MakeWave(Wave::Saw, 64, 100));
        for (int pitch : {kMiddleC - 17, kMiddleC, kMiddleC + 10}) {
            const std::optional<double> error = RenderedPitchError(song, 1, pitch);
            ASSERT_TRUE(error.has_value()) << pitch;
            EXPECT_NEAR(*error, 0.0, 0.3) << pitch;
        }
        song.samples[0].transpose += 1;
        const std::optional<double> sharp = RenderedPitchError(song, 1, kMiddleC);
        ASSERT_TRUE(sharp.has_value());
        EXPECT_NEAR(*sharp, -1.0, 0.3) << "told it sounds a semitone higher than it does";
    }
    Random random(5);
    EXPECT_FALSE(
        RenderedPitchError(ToneSong(Format::Xm, MakeNoiseCycle(false, false, 1, 4096, random, 100)),
                           1, kMiddleC)
            .has_value())
        << "white noise has no pitch";
}

TEST(PackVoices, BestScaleAndClashShareCountWhatTheySay) {
    // C major with F sharp for F: G major covers it all, C major all but the two F sharps.
    EXPECT_EQ(BestScale({49, 51, 53, 54, 56, 58, 60}).tonic, 1);  // C, counting 49 as C
    const ScaleFit fit = BestScale({49, 51, 53, 55, 56, 58, 60, 55});
    EXPECT_EQ(fit.tonic, 8);
    EXPECT_DOUBLE_EQ(fit.share, 1.0);
    const ScaleFit shifted = BestScale({49, 51, 53, 55, 56, 58, 60, 55, 54, 54});
    EXPECT_DOUBLE_EQ(shifted.share, 0.8);

    Song song = ToneSong(Format::Xm, MakeWave(Wave::Square50, 32, 100));
    song.instruments.push_back(song.instruments[0]);
    Pattern& pattern = song.patterns[0];
    pattern.at(0, 0) = {kMiddleC, 1, -1, Effect::None, 0};
    pattern.at(0, 1) = {kMiddleC + 4, 2, -1, Effect::None, 0};    // a third: no clash
    pattern.at(32, 1) = {kMiddleC + 11, 2, -1, Effect::None, 0};  // a major seventh
    pattern.at(48, 0).note = kNoteOff;
    EXPECT_DOUBLE_EQ(ClashShare(song, {0, 0}), 16.0 / 48.0);
    EXPECT_DOUBLE_EQ(ClashShare(song, {0, -3}), 32.0 / 48.0)
        << "the second instrument three semitones flat: its third rubs, its seventh does not";
    EXPECT_DOUBLE_EQ(ClashShare(song, {0, kUnpitched}), 0.0);
}

TEST(PackVoices, EveryInstrumentSoundsAtItsWrittenPitchClass) {
    for (const ComposedSong& composed : Pack()) {
        SCOPED_TRACE(composed.plan.fileName);
        const Song& song = composed.song;
        for (std::size_t i = 0; i < song.instruments.size(); ++i) {
            if (song.instruments[i].drum) continue;
            SCOPED_TRACE(song.instruments[i].name);
            for (int pitch : {kMiddleC - 15, kMiddleC, kMiddleC + 9}) {
                const std::optional<double> error =
                    RenderedPitchError(song, static_cast<int>(i + 1), pitch);
                ASSERT_TRUE(error.has_value()) << "no clear pitch at " << pitch;
                EXPECT_LT(std::fabs(*error), 0.5) << "at " << pitch;
            }
        }
    }
}

TEST(PackVoices, AllVoicesOfASongAreWrittenInOneKey) {
    for (const ComposedSong& composed : Pack()) {
        SCOPED_TRACE(composed.plan.fileName);
        const Song& song = composed.song;
        const std::vector<int> errors = InstrumentErrors(song);
        const std::vector<Voice> voices = MelodicVoices(song, errors);
        ASSERT_GE(voices.size(), 2u);
        for (std::size_t a = 0; a < voices.size(); ++a) {
            for (std::size_t b = a + 1; b < voices.size(); ++b) {
                std::vector<int> both = voices[a].notes;
                both.insert(both.end(), voices[b].notes.begin(), voices[b].notes.end());
                // Together they fit one scale about as well as each fits its own (a mode with
                // a raised note, as harmonic minor, fits none wholly); a voice a semitone or a
                // tritone away would leave a third of the notes outside.
                const double alone =
                    std::min(BestScale(voices[a].notes).share, BestScale(voices[b].notes).share);
                EXPECT_GE(BestScale(both).share, std::min(alone - 0.05, 0.9))
                    << "channels " << voices[a].channel << " and " << voices[b].channel;
            }
        }
    }
}

TEST(PackVoices, VoicesSeldomRubASemitoneApart) {
    std::vector<double> shares;
    for (const ComposedSong& composed : Pack()) {
        const double share = ClashShare(composed.song, InstrumentErrors(composed.song));
        EXPECT_LE(share, 0.14) << composed.plan.fileName;
        shares.push_back(share);
    }
    std::sort(shares.begin(), shares.end());
    EXPECT_LE(shares[shares.size() / 2], 0.05) << "median";
}

TEST(PackConsonance, HeldNotesAreLetGoAndStruckOnesMoveOffARub) {
    Song song = ToneSong(Format::Xm, MakeWave(Wave::Square50, 32, 100));
    Pattern& pattern = song.patterns[0];
    const Key cMajor{0, Mode::Major};
    pattern.at(0, 0) = {kMiddleC, 1, -1, Effect::None, 0};            // C under everything
    pattern.at(0, 1) = {kMiddleC + 4, 1, -1, Effect::Vibrato, 0x34};  // E, held
    pattern.at(8, 0) = {kMiddleC + 5, 1, -1, Effect::None, 0};        // F comes in under it
    pattern.at(16, 1) = {kMiddleC + 6, 1, -1, Effect::None, 0};       // F sharp, out of key
    EXPECT_TRUE(Rubs(kMiddleC, kMiddleC + 13));
    EXPECT_FALSE(Rubs(kMiddleC, kMiddleC + 2));
    EXPECT_EQ(SoundingPitch(song, pattern, 7, 1), kMiddleC + 4);
    ReleaseRubs(song, pattern, cMajor, 1, 0, 64, {0}, true);
    EXPECT_EQ(pattern.at(8, 1).note, kNoteOff) << "the held E gives way to the F";
    EXPECT_EQ(SoundingPitch(song, pattern, 9, 1), -1);
    // F sharp rubs against F and is out of key: it moves to the nearest free note of the key.
    EXPECT_EQ(pattern.at(16, 1).note, kMiddleC + 5);
    EXPECT_EQ(NearestFreePitch(song, cMajor, pattern, 20, kMiddleC + 6, {0}), kMiddleC + 5);
    EXPECT_EQ(NearestFreePitch(song, cMajor, pattern, 20, kMiddleC + 11, {0}), kMiddleC + 11);
    EXPECT_EQ(NearestFreePitch(song, cMajor, pattern, 20, kMiddleC + 4, {0}), kMiddleC + 5)
        << "E rubs against F; the F itself is nearest";

    song.instruments[0].drum = true;
    EXPECT_EQ(SoundingPitch(song, pattern, 20, 0), -1) << "drums have no pitch to rub with";
}
