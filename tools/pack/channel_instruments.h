// Which instrument each channel plays while a pattern is written out cell by cell.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/pack/song.h"

namespace packgen {

// A note written without an instrument number plays the channel's last instrument, so it needs
// that instrument's transpose.
class ChannelInstruments {
  public:
    explicit ChannelInstruments(int channels) : last_(static_cast<std::size_t>(channels), 0) {}

    // The instrument `cell` plays in `channel` (0 for none yet); remembered for later cells.
    int play(int channel, const Cell& cell) {
        int& last = last_[static_cast<std::size_t>(channel)];
        if (cell.instrument > 0) last = cell.instrument;
        return last;
    }

  private:
    std::vector<int> last_;
};

}  // namespace packgen
