// The three module writers, read back through libopenmpt: small songs built in code.
#include <gtest/gtest.h>

#include <cstring>
#include <libopenmpt/libopenmpt.hpp>
#include <string>

#include "tools/pack/it_writer.h"
#include "tools/pack/mod_writer.h"
#include "tools/pack/waveforms.h"
#include "tools/pack/xm_writer.h"

using namespace packgen;

namespace {

// Two instruments (a 32-point square and a 64-point saw, an octave lower at the same note)
// and one pattern with a note, an arpeggio, a vibrato, a volume and a key off.
Song TinySong(Format format) {
    Song song;
    song.title = "tiny";
    song.format = format;
    song.channels = format == Format::Mod ? 4 : 6;
    song.tempo = 140;
    song.samples = {MakeWave(Wave::Square50, 32, 80), MakeWave(Wave::Saw, 64, 80)};
    Instrument square;
    square.name = "square";
    square.sample = 0;
    square.volumeEnvelope = {{{0, 64}, {10, 32}, {20, 0}}, 1, -1, -1};
    square.panningEnvelope = {{{0, -20}, {30, 20}}, -1, 0, 1};
    square.filterCutoff = 90;
    square.filterResonance = 30;
    square.newNoteAction = NewNoteAction::Fade;
    Instrument saw;
    saw.name = "saw";
    saw.sample = 1;
    song.instruments = {square, saw};
    Pattern pattern(64, song.channels);
    pattern.at(0, 0) = {kMiddleC, 1, -1, Effect::Arpeggio, 0x47};
    pattern.at(1, 0) = {kNoNote, 0, -1, Effect::Vibrato, 0x34};
    pattern.at(2, 0) = {kMiddleC + 7, 1, 40, Effect::None, 0};
    pattern.at(0, 1) = {kMiddleC, 2, -1, Effect::VolumeSlide, 0x02};
    pattern.at(4, 1) = {kMiddleC + 36, 2, -1, Effect::None, 0};  // beyond ProTracker's range
    pattern.at(8, 0) = {kNoteOff, 0, -1, Effect::None, 0};
    pattern.at(16, song.channels - 1) = {kMiddleC, 2, -1, Effect::None, 0};  // uses every channel
    song.patterns.push_back(pattern);
    song.patterns.push_back(Pattern(64, song.channels));
    song.orders = {0, 1, 0};
    return song;
}

openmpt::module Load(const Bytes& bytes) {
    return openmpt::module(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           reinterpret_cast<const std::uint8_t*>(bytes.data()) + bytes.size());
}

int NoteAt(openmpt::module& module, int row, int channel) {
    return module.get_pattern_row_channel_command(0, row, channel, openmpt::module::command_note);
}

int InstrumentAt(openmpt::module& module, int row, int channel) {
    return module.get_pattern_row_channel_command(0, row, channel,
                                                  openmpt::module::command_instrument);
}

std::string EffectAt(openmpt::module& module, int row, int channel) {
    return module.format_pattern_row_channel_command(0, row, channel,
                                                     openmpt::module::command_effect) +
           module.format_pattern_row_channel_command(0, row, channel,
                                                     openmpt::module::command_parameter);
}

// The same musical content must arrive in every format: pitches relative to each other, the
// transposition of the 64-point sample, instruments and the order list.
void ExpectTinyContent(openmpt::module& module, const Song& song) {
    EXPECT_EQ(module.get_num_channels(), song.channels);
    ASSERT_EQ(module.get_num_orders(), 3);
    EXPECT_EQ(module.get_order_pattern(2), 0);
    EXPECT_EQ(NoteAt(module, 2, 0) - NoteAt(module, 0, 0), 7);
    // The saw is an octave lower at the same written note, so the writer raises it an octave.
    EXPECT_EQ(NoteAt(module, 0, 1) - NoteAt(module, 0, 0), 12);
    EXPECT_EQ(InstrumentAt(module, 0, 0), 1);
    EXPECT_EQ(InstrumentAt(module, 0, 1), 2);
    EXPECT_GT(module.get_duration_seconds(), 0.0);
}

}  // namespace

TEST(PackWriters, ModIsFourChannelMkWithPeriodsEffectsAndFoldedRange) {
    const Song song = TinySong(Format::Mod);
    const Bytes bytes = WriteMod(song);
    ASSERT_GT(bytes.size(), 1084u);
    EXPECT_EQ(std::string(bytes.begin() + 1080, bytes.begin() + 1084), "M.K.");
    // Header, two patterns of 1024 bytes, then the samples.
    EXPECT_EQ(bytes.size(), 1084u + 2 * 1024u + 32u + 64u);
    openmpt::module module = Load(bytes);
    EXPECT_EQ(module.get_metadata("type"), "mod");
    ExpectTinyContent(module, song);
    EXPECT_EQ(EffectAt(module, 0, 0), "047");
    EXPECT_EQ(EffectAt(module, 1, 0), "434");
    EXPECT_EQ(EffectAt(module, 2, 0), "C28");  // the volume becomes a set-volume effect
    EXPECT_EQ(EffectAt(module, 0, 1), "A02");
    EXPECT_EQ(EffectAt(module, 8, 0), "C00");  // MOD has no key off
    // Three octaves up from the saw's middle C does not fit ProTracker: it is folded back in.
    const int folded = NoteAt(module, 4, 1) - NoteAt(module, 0, 1);
    EXPECT_EQ(folded % 12, 0);
    EXPECT_LT(folded, 36);
}

TEST(PackWriters, XmKeepsEnvelopesVolumeColumnAndKeyOff) {
    const Song song = TinySong(Format::Xm);
    const Bytes bytes = WriteXm(song);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 17), "Extended Module: ");
    openmpt::module module = Load(bytes);
    EXPECT_EQ(module.get_metadata("type"), "xm");
    EXPECT_EQ(module.get_num_instruments(), 2);
    ExpectTinyContent(module, song);
    EXPECT_EQ(EffectAt(module, 0, 0), "047");
    EXPECT_EQ(EffectAt(module, 1, 0), "434");
    EXPECT_EQ(module.get_pattern_row_channel_command(0, 2, 0, openmpt::module::command_volume), 40);
    EXPECT_EQ(module.format_pattern_row_channel_command(0, 8, 0, openmpt::module::command_note),
              "===");

    // The first instrument's header follows the patterns: check its envelope flags.
    std::size_t at = 60 + 276;
    for (int p = 0; p < 2; ++p) {
        const std::size_t packed = bytes[at + 7] | (bytes[at + 8] << 8);
        at += 9 + packed;
    }
    EXPECT_EQ(std::string(bytes.begin() + at + 4, bytes.begin() + at + 10), "square");
    EXPECT_EQ(bytes[at + 225], 3u);       // volume points
    EXPECT_EQ(bytes[at + 226], 2u);       // panning points
    EXPECT_EQ(bytes[at + 233], 1u | 2u);  // volume envelope on, with sustain
    EXPECT_EQ(bytes[at + 234], 1u | 4u);  // panning envelope on, looping
}

TEST(PackWriters, ItUsesInstrumentsFiltersAndNewNoteActions) {
    const Song song = TinySong(Format::It);
    const Bytes bytes = WriteIt(song);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "IMPM");
    openmpt::module module = Load(bytes);
    EXPECT_EQ(module.get_metadata("type"), "it");
    EXPECT_EQ(module.get_num_instruments(), 2);
    EXPECT_EQ(module.get_num_samples(), 2);
    ExpectTinyContent(module, song);
    EXPECT_EQ(EffectAt(module, 0, 0), "J47");
    EXPECT_EQ(EffectAt(module, 1, 0), "H34");
    EXPECT_EQ(EffectAt(module, 0, 1), "D02");
    EXPECT_EQ(module.get_pattern_row_channel_command(0, 2, 0, openmpt::module::command_volume), 40);

    // Instrument offsets follow the header and the order list (3 orders and the end marker).
    const std::size_t table = 0xC0 + 4;
    const std::size_t first = bytes[table] | (bytes[table + 1] << 8) | (bytes[table + 2] << 16) |
                              (static_cast<std::size_t>(bytes[table + 3]) << 24);
    ASSERT_LT(first + 554, bytes.size());
    EXPECT_EQ(std::string(bytes.begin() + first, bytes.begin() + first + 4), "IMPI");
    EXPECT_EQ(bytes[first + 0x11], static_cast<unsigned>(NewNoteAction::Fade));
    EXPECT_EQ(bytes[first + 0x3A], 0x80u | 90u);  // filter cutoff, enabled
    EXPECT_EQ(bytes[first + 0x3B], 0x80u | 30u);  // resonance, enabled
}

TEST(PackWriters, RefuseSongsTheFormatCannotHold) {
    Song song = TinySong(Format::Mod);
    song.channels = 6;
    EXPECT_THROW(WriteMod(song), std::invalid_argument);
    song = TinySong(Format::Xm);
    song.orders.clear();
    EXPECT_THROW(WriteXm(song), std::invalid_argument);
    EXPECT_THROW(WriteIt(song), std::invalid_argument);
}

// The effects of a musician's habits, in each format's own letters: sample offset, note delay,
// portamento down and tone portamento.
TEST(PackWriters, HabitEffectsArriveInEachFormatsOwnCommands) {
    struct Expected {
        Format format;
        const char* offset;
        const char* delay;
        const char* fall;
        const char* glide;
    };
    for (const Expected& expected : {Expected{Format::Mod, "902", "ED2", "208", "330"},
                                     Expected{Format::Xm, "902", "ED2", "208", "330"},
                                     Expected{Format::It, "O02", "SD2", "E08", "G30"}}) {
        SCOPED_TRACE(static_cast<int>(expected.format));
        Song song = TinySong(expected.format);
        Pattern& pattern = song.patterns[1];
        pattern.at(0, 0) = {kMiddleC, 1, -1, Effect::SampleOffset, 2};
        pattern.at(1, 0) = {kMiddleC, 1, -1, Effect::NoteDelay, 2};
        pattern.at(2, 0) = {kNoNote, 0, -1, Effect::PortaDown, 8};
        pattern.at(3, 0) = {kMiddleC + 2, 1, -1, Effect::TonePorta, 0x30};
        openmpt::module module = Load(expected.format == Format::Mod  ? WriteMod(song)
                                      : expected.format == Format::Xm ? WriteXm(song)
                                                                      : WriteIt(song));
        auto effect = [&](int row) {
            return module.format_pattern_row_channel_command(1, row, 0,
                                                             openmpt::module::command_effect) +
                   module.format_pattern_row_channel_command(1, row, 0,
                                                             openmpt::module::command_parameter);
        };
        EXPECT_EQ(effect(0), expected.offset);
        EXPECT_EQ(effect(1), expected.delay);
        EXPECT_EQ(effect(2), expected.fall);
        EXPECT_EQ(effect(3), expected.glide);
    }
}
