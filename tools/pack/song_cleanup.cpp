#include "tools/pack/song_cleanup.h"

#include <set>

namespace packgen {

void DropUnusedInstruments(Song& song) {
    std::set<int> played;
    for (int order : song.orders) {
        for (const Cell& cell : song.patterns[static_cast<std::size_t>(order)].cells) {
            if (cell.instrument > 0) played.insert(cell.instrument);
        }
    }
    std::vector<int> newNumber(song.instruments.size() + 1, 0);
    std::vector<Instrument> instruments;
    for (std::size_t i = 0; i < song.instruments.size(); ++i) {
        if (played.count(static_cast<int>(i) + 1) == 0) continue;
        instruments.push_back(song.instruments[i]);
        newNumber[i + 1] = static_cast<int>(instruments.size());
    }
    std::vector<int> newSample(song.samples.size(), -1);
    std::vector<Sample> samples;
    for (Instrument& instrument : instruments) {
        int& slot = newSample[static_cast<std::size_t>(instrument.sample)];
        if (slot < 0) {
            slot = static_cast<int>(samples.size());
            samples.push_back(song.samples[static_cast<std::size_t>(instrument.sample)]);
        }
        instrument.sample = slot;
    }
    for (Pattern& pattern : song.patterns) {
        for (Cell& cell : pattern.cells) {
            cell.instrument = static_cast<std::uint8_t>(newNumber[cell.instrument]);
        }
    }
    song.instruments = std::move(instruments);
    song.samples = std::move(samples);
}

}  // namespace packgen
