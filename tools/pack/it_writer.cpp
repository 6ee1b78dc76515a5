#include "tools/pack/it_writer.h"

#include <algorithm>
#include <stdexcept>

#include "tools/pack/channel_instruments.h"

namespace packgen {

namespace {

constexpr unsigned kItNoteOff = 255;
// IT's middle C is C-5 (note 60) where FastTracker's is C-4 (note 48, written 49 here).
constexpr int kItNoteShift = 11;

struct ItEffect {
    unsigned command = 0;  // 1 = A ... 26 = Z
    unsigned param = 0;
};

constexpr unsigned Letter(char letter) {
    return static_cast<unsigned>(letter - 'A' + 1);
}

ItEffect Translate(Effect effect, unsigned param) {
    switch (effect) {
        case Effect::None:
            return {0, 0};
        case Effect::Arpeggio:
            return {Letter('J'), param};
        case Effect::PortaUp:
            return {Letter('F'), std::min(param, 0xDFu)};
        case Effect::PortaDown:
            return {Letter('E'), std::min(param, 0xDFu)};
        case Effect::TonePorta:
            return {Letter('G'), param};
        case Effect::Vibrato:
            return {Letter('H'), param};
        case Effect::SetPanning:
            return {Letter('X'), param};
        case Effect::VolumeSlide: {
            // IT reads xF and Fy as fine slides; keep plain slides plain.
            unsigned up = std::min(param >> 4, 0xEu);
            unsigned down = std::min(param & 0xF, 0xEu);
            return {Letter('D'), up != 0 ? up << 4 : down};
        }
        case Effect::PatternBreak:
            return {Letter('C'), param};
        case Effect::SetSpeed:
            return {Letter('A'), std::max(param, 1u)};
        case Effect::SetTempo:
            return {Letter('T'), std::max(param, 32u)};
        case Effect::Retrigger:
            return {Letter('Q'), param & 0xF};
        case Effect::FineVolumeDown:
            return {Letter('D'), 0xF0 | std::min(param & 0xF, 0xEu)};
        case Effect::NoteCut:
            return {Letter('S'), 0xC0 | (param & 0xF)};
        case Effect::NoteDelay:
            return {Letter('S'), 0xD0 | (param & 0xF)};
        case Effect::SampleOffset:
            return {Letter('O'), param};
    }
    return {0, 0};
}

unsigned WrittenNote(const Song& song, const Cell& cell, int instrument) {
    if (cell.note == kNoteOff) return kItNoteOff;
    const int written = cell.note - TransposeOf(song, instrument) + kItNoteShift;
    return static_cast<unsigned>(std::clamp(written, 0, 119));
}

Bytes PackPattern(const Song& song, const Pattern& pattern) {
    ByteWriter out;
    ChannelInstruments instruments(pattern.channels);
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < pattern.channels; ++channel) {
            const Cell& cell = pattern.at(row, channel);
            const ItEffect effect = Translate(cell.effect, cell.param);
            unsigned mask = 0;
            if (cell.note != kNoNote) mask |= 1;
            if (cell.instrument != 0) mask |= 2;
            if (cell.volume >= 0) mask |= 4;
            if (effect.command != 0) mask |= 8;
            if (mask == 0) continue;
            const unsigned note = WrittenNote(song, cell, instruments.play(channel, cell));
            out.u8(static_cast<unsigned>(channel + 1) | 0x80);
            out.u8(mask);
            if (mask & 1) out.u8(note);
            if (mask & 2) out.u8(cell.instrument);
            if (mask & 4) out.u8(static_cast<unsigned>(std::min<int>(cell.volume, 64)));
            if (mask & 8) {
                out.u8(effect.command);
                out.u8(effect.param);
            }
        }
        out.u8(0);
    }
    return out.take();
}

void WriteEnvelope(ByteWriter& out, const Envelope& envelope) {
    const std::size_t count = std::min<std::size_t>(envelope.points.size(), 25);
    unsigned flags = count > 0 ? 1 : 0;
    if (envelope.loopStart >= 0) flags |= 2;
    if (envelope.sustainPoint >= 0) flags |= 4;
    out.u8(flags);
    out.u8(static_cast<unsigned>(count));
    out.u8(static_cast<unsigned>(std::max(envelope.loopStart, 0)));
    out.u8(static_cast<unsigned>(std::max(envelope.loopEnd, 0)));
    out.u8(static_cast<unsigned>(std::max(envelope.sustainPoint, 0)));
    out.u8(static_cast<unsigned>(std::max(envelope.sustainPoint, 0)));
    for (std::size_t i = 0; i < 25; ++i) {
        if (i < count) {
            out.s8(envelope.points[i].value);
            out.u16le(envelope.points[i].tick);
        } else {
            out.zeros(3);
        }
    }
    out.u8(0);
}

void WriteInstrument(ByteWriter& out, const Instrument& instrument) {
    out.text("IMPI", 4);
    out.text("", 12);
    out.u8(0);
    out.u8(static_cast<unsigned>(instrument.newNoteAction));
    out.u8(0);  // duplicate check off
    out.u8(0);
    // IT fades by this amount out of 1024 per tick; XM's scale is twice as fine.
    out.u16le(std::min<unsigned>(instrument.fadeout / 2u, 256u));
    out.u8(0);                                                        // pitch-pan separation
    out.u8(60);                                                       // pitch-pan centre
    out.u8(128);                                                      // instrument global volume
    out.u8(std::min<unsigned>(instrument.panning / 4u, 64u) | 0x00);  // default pan, used
    out.u8(0);                                                        // random volume
    out.u8(0);                                                        // random pan
    out.u16le(0x0214);
    out.u8(1);  // number of samples
    out.u8(0);
    out.text(instrument.name, 26);
    out.u8(instrument.filterCutoff >= 0 ? 0x80u | static_cast<unsigned>(instrument.filterCutoff)
                                        : 0);
    out.u8(instrument.filterResonance >= 0
               ? 0x80u | static_cast<unsigned>(instrument.filterResonance)
               : 0);
    out.u8(0);  // MIDI channel
    out.u8(0);  // MIDI program
    out.u16le(0xFFFF);
    for (unsigned note = 0; note < 120; ++note) {
        out.u8(note);
        out.u8(static_cast<unsigned>(instrument.sample + 1));
    }
    WriteEnvelope(out, instrument.volumeEnvelope);
    WriteEnvelope(out, instrument.panningEnvelope);
    WriteEnvelope(out, Envelope{});  // pitch envelope off
    out.zeros(4);
}

void WriteSampleHeader(ByteWriter& out, const Sample& sample, std::uint32_t dataOffset,
                       const Instrument* instrument) {
    out.text("IMPS", 4);
    out.text("", 12);
    out.u8(0);
    out.u8(64);  // sample global volume
    out.u8(0x01 | (sample.loops ? 0x10 : 0));
    out.u8(sample.volume);
    out.text(sample.name, 26);
    out.u8(0x01);  // signed samples
    out.u8(instrument != nullptr ? 0x80u | std::min<unsigned>(instrument->panning / 4u, 64u) : 32);
    out.u32le(static_cast<std::uint32_t>(sample.data.size()));
    out.u32le(sample.loops ? sample.loopStart : 0);
    out.u32le(sample.loops ? sample.loopStart + sample.loopLength : 0);
    out.u32le(8363);
    out.u32le(0);
    out.u32le(0);
    out.u32le(dataOffset);
    out.u8(instrument != nullptr ? instrument->vibratoRate : 0);
    out.u8(instrument != nullptr ? instrument->vibratoDepth : 0);
    out.u8(0);
    out.u8(0);
}

}  // namespace

Bytes WriteIt(const Song& song) {
    if (song.channels < 1 || song.channels > 64 || song.orders.empty() ||
        song.orders.size() > 254) {
        throw std::invalid_argument("song does not fit an IT: " + song.title);
    }
    ByteWriter out;
    out.text("IMPM", 4);
    out.text(song.title, 26);
    out.u16le(0x1004);  // row highlight: beats of 4 rows, bars of 16
    const std::size_t orderCount = song.orders.size() + 1;  // ends with the end marker
    out.u16le(static_cast<unsigned>(orderCount));
    out.u16le(static_cast<unsigned>(song.instruments.size()));
    out.u16le(static_cast<unsigned>(song.samples.size()));
    out.u16le(static_cast<unsigned>(song.patterns.size()));
    out.u16le(0x0214);
    out.u16le(0x0214);
    out.u16le(0x01 | 0x04 | 0x08);  // stereo, instruments, linear slides
    out.u16le(0);
    out.u8(static_cast<unsigned>(std::clamp(song.globalVolume * 2, 0, 128)));
    out.u8(static_cast<unsigned>(std::clamp(song.mixVolume, 0, 128)));
    out.u8(static_cast<unsigned>(song.speed));
    out.u8(static_cast<unsigned>(song.tempo));
    out.u8(128);  // panning separation
    out.u8(0);
    out.u16le(0);
    out.u32le(0);
    out.u32le(0);
    for (int channel = 0; channel < 64; ++channel) {
        if (channel < song.channels) {
            const std::size_t c = static_cast<std::size_t>(channel);
            out.u8(c < song.channelPanning.size() ? static_cast<unsigned>(song.channelPanning[c])
                                                  : 32);
        } else {
            out.u8(32 | 128);  // disabled channel
        }
    }
    for (int channel = 0; channel < 64; ++channel) out.u8(64);
    for (int order : song.orders) out.u8(static_cast<unsigned>(order));
    out.u8(255);

    const std::size_t offsetTable = out.size();
    out.zeros(4 * (song.instruments.size() + song.samples.size() + song.patterns.size()));
    std::size_t slot = offsetTable;
    for (const Instrument& instrument : song.instruments) {
        out.patch32le(slot, static_cast<std::uint32_t>(out.size()));
        slot += 4;
        WriteInstrument(out, instrument);
    }
    std::vector<std::size_t> sampleHeaders;
    for (std::size_t s = 0; s < song.samples.size(); ++s) {
        out.patch32le(slot, static_cast<std::uint32_t>(out.size()));
        slot += 4;
        sampleHeaders.push_back(out.size());
        const Instrument* owner = nullptr;
        for (const Instrument& instrument : song.instruments) {
            if (static_cast<std::size_t>(instrument.sample) == s) owner = &instrument;
        }
        WriteSampleHeader(out, song.samples[s], 0, owner);
    }
    for (const Pattern& pattern : song.patterns) {
        out.patch32le(slot, static_cast<std::uint32_t>(out.size()));
        slot += 4;
        const Bytes packed = PackPattern(song, pattern);
        out.u16le(static_cast<unsigned>(packed.size()));
        out.u16le(static_cast<unsigned>(pattern.rows));
        out.zeros(4);
        out.append(packed);
    }
    for (std::size_t s = 0; s < song.samples.size(); ++s) {
        out.patch32le(sampleHeaders[s] + 0x48, static_cast<std::uint32_t>(out.size()));
        for (std::int8_t value : song.samples[s].data) out.s8(value);
    }
    return out.take();
}

}  // namespace packgen
