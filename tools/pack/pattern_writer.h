// Writing notes into a pattern on a song's rhythmic grid: bars of 16 steps, each step one or
// two rows, with notes folded into the octaves the format can write and volumes scaled by the
// section's gain (fades).
#pragma once

#include "tools/pack/song.h"

namespace packgen {

class PatternWriter {
  public:
    PatternWriter(Song& song, Pattern& pattern, int rowsPerStep)
        : song_(song), pattern_(pattern), rowsPerStep_(rowsPerStep) {}

    int rowsPerBar() const { return 16 * rowsPerStep_; }
    int barsInPattern() const { return pattern_.rows / rowsPerBar(); }
    int rowsPerStep() const { return rowsPerStep_; }
    // The row of 16th-note `step` of bar `bar`; of 32nd `position` for AtPosition.
    int At(int bar, int step) const { return bar * rowsPerBar() + step * rowsPerStep_; }
    int AtPosition(int bar, int position) const {
        return bar * rowsPerBar() + (rowsPerStep_ == 2 ? position : position / 2);
    }
    // Whether a 32nd position has a row of its own on this grid.
    bool HasPosition(int position) const { return rowsPerStep_ == 2 || position % 2 == 0; }

    // Volumes of notes written from now on are scaled by `gain` (1 leaves them alone).
    void SetGain(double gain) { gain_ = gain; }

    // A note (pitch as played) of a 1-based instrument; volume -1 for the sample's own.
    void Note(int row, int channel, int pitch, int instrument, int volume = -1,
              Effect effect = Effect::None, int param = 0);
    // An effect on a row, unless the cell already has one.
    void AddEffect(int row, int channel, Effect effect, int param);
    // Key off (XM, IT) or silence (MOD) where the cell is still empty.
    void Off(int row, int channel);
    bool Free(int row, int channel) const;

    Pattern& pattern() { return pattern_; }

  private:
    Song& song_;
    Pattern& pattern_;
    int rowsPerStep_;
    double gain_ = 1.0;
};

// The written note range of the song's format.
int LowestWritten(Format format);
int HighestWritten(Format format);

}  // namespace packgen
