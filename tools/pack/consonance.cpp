#include "tools/pack/consonance.h"

#include <algorithm>
#include <cstdlib>

#include "tools/pack/pattern_writer.h"

namespace packgen {

namespace {

bool Struck(const Cell& cell) {
    return cell.note != kNoNote && cell.note != kNoteOff;
}

bool Pitched(const Song& song, int instrument) {
    return instrument > 0 && static_cast<std::size_t>(instrument) <= song.instruments.size() &&
           !song.instruments[static_cast<std::size_t>(instrument - 1)].drum;
}

// The instrument of the note sounding on `channel` at `row`, found with its pitch.
int InstrumentAt(const Pattern& pattern, int row, int channel) {
    for (int r = row; r >= 0; --r) {
        const Cell& cell = pattern.at(r, channel);
        if (cell.instrument > 0) return cell.instrument;
    }
    return 0;
}

bool InKey(const Key& key, int pitch) {
    for (int degree = 0; degree < 7; ++degree) {
        if ((key.pitchOf(degree, kMiddleC) - pitch) % 12 == 0) return true;
    }
    return false;
}

// A moved note stays inside the octaves its format can write for its instrument.
int FitToFormat(const Song& song, int instrument, int pitch) {
    const int transpose = TransposeOf(song, instrument);
    while (pitch - transpose < LowestWritten(song.format)) pitch += 12;
    while (pitch - transpose > HighestWritten(song.format)) pitch -= 12;
    return pitch;
}

// Stops a held note on `row`: a key off where the cell has room for one, else volume 0.
void Release(Cell& cell) {
    switch (cell.effect) {
        case Effect::PatternBreak:
        case Effect::SetSpeed:
        case Effect::SetTempo:
            cell.volume = 0;
            return;
        default:
            cell.effect = Effect::None;
            cell.param = 0;
            cell.note = kNoteOff;
            cell.instrument = 0;
            cell.volume = -1;
    }
}

}  // namespace

bool Rubs(int a, int b) {
    const int interval = std::abs(a - b) % 12;
    return interval == 1 || interval == 11;
}

int SoundingPitch(const Song& song, const Pattern& pattern, int row, int channel) {
    for (int r = std::min(row, pattern.rows - 1); r >= 0; --r) {
        const Cell& cell = pattern.at(r, channel);
        if (cell.volume == 0 || cell.note == kNoteOff) return -1;
        if (cell.effect == Effect::NoteCut && !Struck(cell)) return -1;
        if (Struck(cell)) {
            return Pitched(song, InstrumentAt(pattern, r, channel)) ? cell.note : -1;
        }
    }
    return -1;
}

bool RubsAt(const Song& song, const Pattern& pattern, int row, int pitch,
            const std::vector<int>& others) {
    for (int channel : others) {
        if (channel < 0) continue;
        const int sounding = SoundingPitch(song, pattern, row, channel);
        if (sounding >= 0 && Rubs(sounding, pitch)) return true;
    }
    return false;
}

int NearestFreePitch(const Song& song, const Key& key, const Pattern& pattern, int row, int pitch,
                     const std::vector<int>& others) {
    if (!RubsAt(song, pattern, row, pitch, others)) return pitch;
    for (int distance = 1; distance <= 4; ++distance) {
        for (int candidate : {pitch - distance, pitch + distance}) {
            if (InKey(key, candidate) && !RubsAt(song, pattern, row, candidate, others))
                return candidate;
        }
    }
    return -1;
}

void ReleaseRubs(const Song& song, Pattern& pattern, const Key& key, int channel, int from, int to,
                 const std::vector<int>& others, bool mayMove) {
    if (channel < 0) return;
    for (int row = std::max(from, 0); row < std::min(to, pattern.rows); ++row) {
        Cell& cell = pattern.at(row, channel);
        if (Struck(cell)) {
            const int instrument = InstrumentAt(pattern, row, channel);
            if (!Pitched(song, instrument)) continue;
            const int free = mayMove
                                 ? NearestFreePitch(song, key, pattern, row, cell.note, others)
                                 : (RubsAt(song, pattern, row, cell.note, others) ? -1 : cell.note);
            if (free >= 0) {
                cell.note = static_cast<std::uint8_t>(FitToFormat(song, instrument, free));
            } else {
                Release(cell);
            }
            continue;
        }
        const int held = SoundingPitch(song, pattern, row, channel);
        if (held >= 0 && RubsAt(song, pattern, row, held, others)) Release(cell);
    }
}

}  // namespace packgen
