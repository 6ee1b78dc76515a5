#include "tools/pack/xm_writer.h"

#include <algorithm>
#include <stdexcept>

#include "tools/pack/channel_instruments.h"
#include "tools/pack/protracker_effects.h"

namespace packgen {

namespace {

int WrittenNote(const Song& song, const Cell& cell, int instrument) {
    if (cell.note == kNoNote || cell.note == kNoteOff) return cell.note;
    return std::clamp(cell.note - TransposeOf(song, instrument), 1, 96);
}

Bytes PackPattern(const Song& song, const Pattern& pattern) {
    ByteWriter out;
    ChannelInstruments instruments(pattern.channels);
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < pattern.channels; ++channel) {
            const Cell& cell = pattern.at(row, channel);
            const int note = WrittenNote(song, cell, instruments.play(channel, cell));
            const ProTrackerEffect effect = ToProTracker(cell.effect, cell.param);
            const unsigned volume =
                cell.volume >= 0 ? 0x10u + static_cast<unsigned>(cell.volume) : 0;
            unsigned mask = 0x80;
            if (note != 0) mask |= 1;
            if (cell.instrument != 0) mask |= 2;
            if (volume != 0) mask |= 4;
            if (effect.command != 0) mask |= 8;
            if (effect.param != 0) mask |= 16;
            out.u8(mask);
            if (mask & 1) out.u8(static_cast<unsigned>(note));
            if (mask & 2) out.u8(cell.instrument);
            if (mask & 4) out.u8(volume);
            if (mask & 8) out.u8(effect.command);
            if (mask & 16) out.u8(effect.param);
        }
    }
    return out.take();
}

void WriteEnvelopePoints(ByteWriter& out, const Envelope& envelope, int offset) {
    for (std::size_t i = 0; i < 12; ++i) {
        if (i < envelope.points.size()) {
            out.u16le(envelope.points[i].tick);
            out.u16le(static_cast<unsigned>(envelope.points[i].value + offset));
        } else {
            out.u16le(0);
            out.u16le(0);
        }
    }
}

unsigned EnvelopeType(const Envelope& envelope) {
    unsigned type = envelope.points.empty() ? 0 : 1;
    if (envelope.sustainPoint >= 0) type |= 2;
    if (envelope.loopStart >= 0) type |= 4;
    return type;
}

void WriteInstrument(ByteWriter& out, const Song& song, const Instrument& instrument) {
    const Sample& sample = song.samples[static_cast<std::size_t>(instrument.sample)];
    out.u32le(263);
    out.text(instrument.name, 22);
    out.u8(0);
    out.u16le(1);  // one sample per instrument
    out.u32le(40);
    out.zeros(96);  // every note plays sample 0
    WriteEnvelopePoints(out, instrument.volumeEnvelope, 0);
    WriteEnvelopePoints(out, instrument.panningEnvelope, 32);
    out.u8(
        static_cast<unsigned>(std::min<std::size_t>(instrument.volumeEnvelope.points.size(), 12)));
    out.u8(
        static_cast<unsigned>(std::min<std::size_t>(instrument.panningEnvelope.points.size(), 12)));
    for (const Envelope* envelope : {&instrument.volumeEnvelope, &instrument.panningEnvelope}) {
        out.u8(static_cast<unsigned>(std::max(envelope->sustainPoint, 0)));
        out.u8(static_cast<unsigned>(std::max(envelope->loopStart, 0)));
        out.u8(static_cast<unsigned>(std::max(envelope->loopEnd, 0)));
    }
    out.u8(EnvelopeType(instrument.volumeEnvelope));
    out.u8(EnvelopeType(instrument.panningEnvelope));
    out.u8(0);  // vibrato waveform: sine
    out.u8(0);  // vibrato sweep
    out.u8(instrument.vibratoDepth);
    out.u8(instrument.vibratoRate);
    out.u16le(instrument.fadeout);
    out.zeros(22);

    // Sample header, then the sample's delta-coded 8-bit data.
    out.u32le(static_cast<std::uint32_t>(sample.data.size()));
    out.u32le(sample.loops ? sample.loopStart : 0);
    out.u32le(sample.loops ? sample.loopLength : 0);
    out.u8(sample.volume);
    out.u8(0);                     // finetune
    out.u8(sample.loops ? 1 : 0);  // forward loop, 8-bit
    out.u8(instrument.panning);
    out.u8(0);  // relative note: writers transpose the notes instead
    out.u8(0);
    out.text(sample.name, 22);
    int previous = 0;
    for (std::int8_t value : sample.data) {
        out.s8(value - previous);
        previous = value;
    }
}

}  // namespace

Bytes WriteXm(const Song& song) {
    if (song.channels < 1 || song.channels > 32 || song.orders.empty() ||
        song.orders.size() > 256 || song.instruments.size() > 128) {
        throw std::invalid_argument("song does not fit an XM: " + song.title);
    }
    ByteWriter out;
    out.text("Extended Module: ", 17);
    out.text(song.title, 20);
    out.u8(0x1A);
    out.text("Fenlark packgen", 20);
    out.u16le(0x0104);
    out.u32le(276);
    out.u16le(static_cast<unsigned>(song.orders.size()));
    out.u16le(0);  // restart position
    out.u16le(static_cast<unsigned>(song.channels));
    out.u16le(static_cast<unsigned>(song.patterns.size()));
    out.u16le(static_cast<unsigned>(song.instruments.size()));
    out.u16le(1);  // linear frequency table
    out.u16le(static_cast<unsigned>(song.speed));
    out.u16le(static_cast<unsigned>(song.tempo));
    for (std::size_t i = 0; i < 256; ++i) {
        out.u8(i < song.orders.size() ? static_cast<unsigned>(song.orders[i]) : 0);
    }
    for (const Pattern& pattern : song.patterns) {
        const Bytes packed = PackPattern(song, pattern);
        out.u32le(9);
        out.u8(0);
        out.u16le(static_cast<unsigned>(pattern.rows));
        out.u16le(static_cast<unsigned>(packed.size()));
        out.append(packed);
    }
    for (const Instrument& instrument : song.instruments) {
        WriteInstrument(out, song, instrument);
    }
    return out.take();
}

}  // namespace packgen
