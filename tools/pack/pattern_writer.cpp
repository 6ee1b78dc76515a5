#include "tools/pack/pattern_writer.h"

#include <algorithm>
#include <cmath>

namespace packgen {

int LowestWritten(Format format) {
    return format == Format::Mod ? 37 : 13;
}

int HighestWritten(Format format) {
    return format == Format::Mod ? 72 : 96;
}

void PatternWriter::Note(int row, int channel, int pitch, int instrument, int volume, Effect effect,
                         int param) {
    if (channel < 0 || row < 0 || row >= pattern_.rows || instrument <= 0) return;
    const int transpose = TransposeOf(song_, instrument);
    while (pitch - transpose < LowestWritten(song_.format)) pitch += 12;
    while (pitch - transpose > HighestWritten(song_.format)) pitch -= 12;
    const Instrument& played = song_.instruments[static_cast<std::size_t>(instrument - 1)];
    // Pitched notes lean on the beat: full on the bar's downbeat, a little less on the other
    // beats, less again off the beat. Drums carry velocities of their own.
    const int step = (row % rowsPerBar()) / rowsPerStep_;
    const double accent = played.drum     ? 1.0
                          : step == 0     ? 1.0
                          : step % 4 == 0 ? 0.86
                          : step % 2 == 0 ? 0.74
                                          : 0.66;
    if (gain_ * accent < 1.0) {
        const int base =
            volume >= 0 ? volume : song_.samples[static_cast<std::size_t>(played.sample)].volume;
        volume = std::clamp(static_cast<int>(std::lround(base * gain_ * accent)), 0, 64);
    }
    Cell& cell = pattern_.at(row, channel);
    cell.note = static_cast<std::uint8_t>(pitch);
    cell.instrument = static_cast<std::uint8_t>(instrument);
    cell.volume = static_cast<std::int8_t>(std::min(volume, 64));
    cell.effect = effect;
    cell.param = static_cast<std::uint8_t>(param);
}

void PatternWriter::AddEffect(int row, int channel, Effect effect, int param) {
    if (channel < 0 || row < 0 || row >= pattern_.rows) return;
    Cell& cell = pattern_.at(row, channel);
    if (cell.effect != Effect::None) return;
    cell.effect = effect;
    cell.param = static_cast<std::uint8_t>(param);
}

void PatternWriter::Off(int row, int channel) {
    if (channel < 0 || row < 0 || row >= pattern_.rows) return;
    Cell& cell = pattern_.at(row, channel);
    if (cell.note == kNoNote && cell.effect == Effect::None) cell.note = kNoteOff;
}

bool PatternWriter::Free(int row, int channel) const {
    if (channel < 0 || row < 0 || row >= pattern_.rows) return false;
    const Cell& cell = pattern_.at(row, channel);
    return cell.note == kNoNote && cell.effect == Effect::None;
}

}  // namespace packgen
