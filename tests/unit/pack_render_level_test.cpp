// Levelling songs by rendering them: small songs built in code, measured through libopenmpt.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/pack/render_level.h"
#include "tools/pack/waveforms.h"

using namespace packgen;

namespace {

constexpr LevelGoal kGoal{-14.0, -1.5};

// A sample that starts at full scale and dies away, as a plucked string does.
Sample Pluck() {
    Sample sample;
    sample.name = "pluck";
    for (int i = 0; i < 8000; ++i) {
        const double fade = std::exp(-i / 900.0);
        sample.data.push_back(
            static_cast<std::int8_t>(std::lround(120 * fade * ((i / 16) % 2 ? 1 : -1))));
    }
    return sample;
}

// One instrument per sample; `tune` plays a note every eighth row on channel 0 at `volume`,
// `drum` (1-based instrument, or 0) strikes once a bar on channel 1 at full volume.
Song SongOf(Format format, std::vector<Sample> samples, int volume, int drum = 0) {
    Song song;
    song.title = "level";
    song.format = format;
    song.channels = format == Format::Mod ? 4 : 8;
    song.tempo = 125;
    song.mixVolume = 48;
    song.samples = std::move(samples);
    for (std::size_t i = 0; i < song.samples.size(); ++i) {
        Instrument instrument;
        instrument.name = song.samples[i].name;
        instrument.sample = static_cast<int>(i);
        instrument.drum = static_cast<int>(i + 1) == drum;
        song.instruments.push_back(instrument);
    }
    Pattern pattern(64, song.channels);
    for (int row = 0; row < 64; row += 8)
        pattern.at(row, 0) = {static_cast<std::uint8_t>(kMiddleC + (row / 8) % 5), 1,
                              static_cast<std::int8_t>(volume), Effect::None, 0};
    if (drum > 0) {
        for (int row = 0; row < 64; row += 16)
            pattern.at(row, 1) = {kDrumNote, static_cast<std::uint8_t>(drum), 64, Effect::None, 0};
    }
    song.patterns = {pattern};
    song.orders = {0, 0, 0, 0};
    return song;
}

}  // namespace

TEST(PackRenderLevel, BringsQuietAndLoudSongsToTheGoalUnderTheCeiling) {
    for (Format format : {Format::Mod, Format::Xm, Format::It}) {
        for (int volume : {6, 64}) {
            SCOPED_TRACE(static_cast<int>(format) * 100 + volume);
            Song song = SongOf(format, {MakeWave(Wave::Square50, 32, 127)}, volume);
            const RenderedLevel before = MeasureRendered(song);
            const RenderedLevel reached = LevelByRender(song, kGoal);
            EXPECT_NEAR(reached.rmsDb, kGoal.rmsDb, 1.0) << "from " << before.rmsDb;
            EXPECT_LE(reached.peakDb, kGoal.peakCeilingDb + 0.05);
            // What it reports is what the song now plays at.
            EXPECT_NEAR(MeasureRendered(song).rmsDb, reached.rmsDb, 0.01);
        }
    }
}

TEST(PackRenderLevel, SparsePlucksAtFullVolumeSustainLongerToGetLouder) {
    Song song = SongOf(Format::Xm, {Pluck()}, 64);
    const RenderedLevel before = MeasureRendered(song);
    ASSERT_LT(before.rmsDb, kGoal.rmsDb - 2);  // every volume already at its limit
    const RenderedLevel reached = LevelByRender(song, kGoal);
    EXPECT_GT(reached.rmsDb, before.rmsDb + 1.5);
    EXPECT_LE(reached.peakDb, kGoal.peakCeilingDb + 0.05);
    // The attack keeps its level; the tail comes up.
    const std::vector<std::int8_t>& data = song.samples[0].data;
    EXPECT_GE(std::abs(data[0]), 110);
    int tail = 0;
    for (std::size_t i = 3000; i < 3064; ++i) tail = std::max(tail, std::abs(int{data[i]}));
    EXPECT_GT(tail, 2 * 120 * std::exp(-3064 / 900.0));
}

TEST(PackRenderLevel, LoudDrumHitsKeepTheSongUnderTheCeiling) {
    Sample hit = MakeWave(Wave::Square50, 32, 127);
    hit.name = "hit";
    hit.loops = false;
    hit.data.resize(32 * 40);  // a short burst at full scale
    for (std::size_t i = 32; i < hit.data.size(); ++i) hit.data[i] = hit.data[i % 32];
    for (Format format : {Format::Mod, Format::It}) {
        Song song = SongOf(format, {MakeWave(Wave::Square50, 32, 127), hit}, 8, 2);
        const RenderedLevel reached = LevelByRender(song, kGoal);
        EXPECT_LE(reached.peakDb, kGoal.peakCeilingDb + 0.05);
        EXPECT_LE(MeasureRendered(song).peakDb, kGoal.peakCeilingDb + 0.05);
        EXPECT_GT(reached.rmsDb, kGoal.rmsDb - 6);
    }
}
