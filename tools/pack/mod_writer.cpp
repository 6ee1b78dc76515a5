#include "tools/pack/mod_writer.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "tools/pack/protracker_effects.h"

namespace packgen {

namespace {

// ProTracker periods, finetune 0, C-1 to B-3.
constexpr std::array<int, 36> kPeriods = {
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
    302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

// The written note that ProTracker calls C-1.
constexpr int kLowestWritten = 37;

int PeriodOf(int writtenNote) {
    int index = writtenNote - kLowestWritten;
    while (index < 0) index += 12;
    while (index >= static_cast<int>(kPeriods.size())) index -= 12;
    return kPeriods[static_cast<std::size_t>(index)];
}

void WriteCell(ByteWriter& out, const Song& song, const Cell& cell) {
    unsigned sampleNumber = cell.instrument;
    unsigned period = 0;
    if (cell.note != kNoNote && cell.note != kNoteOff) {
        period = static_cast<unsigned>(PeriodOf(cell.note - TransposeOf(song, cell.instrument)));
    }
    ProTrackerEffect effect = ToProTracker(cell.effect, cell.param);
    if (cell.note == kNoteOff && cell.effect == Effect::None) {
        effect = {0xC, 0};  // MOD has no key off: silence the note instead
    } else if (cell.volume >= 0 && cell.effect == Effect::None) {
        effect = {0xC, static_cast<unsigned>(cell.volume)};
    }
    out.u8((sampleNumber & 0xF0) | ((period >> 8) & 0x0F));
    out.u8(period & 0xFF);
    out.u8(((sampleNumber & 0x0F) << 4) | effect.command);
    out.u8(effect.param);
}

}  // namespace

Bytes WriteMod(const Song& song) {
    if (song.channels != 4 || song.instruments.size() > 31 || song.orders.empty() ||
        song.orders.size() > 128) {
        throw std::invalid_argument("song does not fit a 4-channel MOD: " + song.title);
    }
    ByteWriter out;
    out.text(song.title, 20);
    for (std::size_t i = 0; i < 31; ++i) {
        if (i >= song.instruments.size()) {
            out.zeros(22);
            out.u16be(0);
            out.u8(0);
            out.u8(0);
            out.u16be(0);
            out.u16be(1);
            continue;
        }
        const Sample& sample = song.samples[static_cast<std::size_t>(song.instruments[i].sample)];
        out.text(song.instruments[i].name, 22);
        out.u16be(static_cast<unsigned>((sample.data.size() + 1) / 2));
        out.u8(0);  // finetune
        out.u8(sample.volume);
        if (sample.loops) {
            out.u16be(sample.loopStart / 2);
            out.u16be(sample.loopLength / 2);
        } else {
            out.u16be(0);
            out.u16be(1);
        }
    }
    out.u8(static_cast<unsigned>(song.orders.size()));
    out.u8(127);  // restart byte as ProTracker writes it
    int highestPattern = 0;
    for (std::size_t i = 0; i < 128; ++i) {
        const int order = i < song.orders.size() ? song.orders[i] : 0;
        highestPattern = std::max(highestPattern, order);
        out.u8(static_cast<unsigned>(order));
    }
    out.text("M.K.", 4);
    for (int p = 0; p <= highestPattern; ++p) {
        const Pattern& pattern = song.patterns[static_cast<std::size_t>(p)];
        if (pattern.rows != 64 || pattern.channels != 4) {
            throw std::invalid_argument("MOD patterns hold 64 rows of 4 channels: " + song.title);
        }
        for (int row = 0; row < 64; ++row) {
            for (int channel = 0; channel < 4; ++channel) {
                WriteCell(out, song, pattern.at(row, channel));
            }
        }
    }
    for (std::size_t i = 0; i < song.instruments.size(); ++i) {
        const Sample& sample = song.samples[static_cast<std::size_t>(song.instruments[i].sample)];
        for (std::int8_t value : sample.data) out.s8(value);
        if (sample.data.size() % 2 != 0) out.u8(0);
    }
    return out.take();
}

}  // namespace packgen
