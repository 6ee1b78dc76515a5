#include "tools/pack/uniqueness.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tools/pack/channel_instruments.h"
#include "tools/pack/pattern_writer.h"

namespace packgen {

namespace {

constexpr int kBlockRows = 16;

// The block's key and the cell of its last note; empty key for fewer than two notes.
std::string BlockKey(const Song& song, const Pattern& pattern, int channel, int firstRow,
                     int& lastNoteRow, int channelInstrument) {
    std::string key;
    int notes = 0;
    int instrument = channelInstrument;
    for (int row = firstRow; row < firstRow + kBlockRows && row < pattern.rows; ++row) {
        const Cell& cell = pattern.at(row, channel);
        if (cell.instrument > 0) instrument = cell.instrument;
        if (cell.note == kNoNote || cell.note == kNoteOff) continue;
        const int written = cell.note - TransposeOf(song, instrument);
        key += std::to_string(row - firstRow) + ":" + std::to_string(written) + " ";
        lastNoteRow = row;
        ++notes;
    }
    return notes >= 2 ? key : std::string();
}

// Runs `visit(pattern, channel, firstRow, channelInstrument)` over every block the song plays.
template <typename Visit>
void ForEachBlock(const Song& song, Visit&& visit) {
    std::set<int> seen;
    for (int order : song.orders) {
        if (!seen.insert(order).second) continue;
        const Pattern& pattern = song.patterns[static_cast<std::size_t>(order)];
        ChannelInstruments instruments(pattern.channels);
        std::vector<int> atBlockStart(static_cast<std::size_t>(pattern.channels), 0);
        for (int row = 0; row < pattern.rows; ++row) {
            for (int channel = 0; channel < pattern.channels; ++channel) {
                if (row % kBlockRows == 0) {
                    atBlockStart[static_cast<std::size_t>(channel)] =
                        instruments.play(channel, Cell{});
                    visit(order, channel, row, atBlockStart[static_cast<std::size_t>(channel)]);
                }
                instruments.play(channel, pattern.at(row, channel));
            }
        }
    }
}

}  // namespace

std::set<std::string> NoteBlocks(const Song& song) {
    std::set<std::string> blocks;
    ForEachBlock(song, [&](int order, int channel, int firstRow, int instrument) {
        int last = -1;
        const std::string key = BlockKey(song, song.patterns[static_cast<std::size_t>(order)],
                                         channel, firstRow, last, instrument);
        if (!key.empty()) blocks.insert(key);
    });
    return blocks;
}

std::uint64_t SampleHash(const Sample& sample) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (std::int8_t value : sample.data) {
        hash = (hash ^ static_cast<std::uint8_t>(value)) * 0x100000001B3ull;
    }
    return hash ^ sample.data.size();
}

void PackUniqueness::MakeUnique(Song& song, int musician) {
    for (Sample& sample : song.samples) {
        for (int attempt = 0; attempt < 64; ++attempt) {
            const auto found = sampleOwners_.find(SampleHash(sample));
            if (found == sampleOwners_.end() || found->second == musician) break;
            int peak = 1;
            for (std::int8_t v : sample.data) peak = std::max(peak, std::abs(static_cast<int>(v)));
            for (std::int8_t& v : sample.data) v = static_cast<std::int8_t>(v * (peak - 1) / peak);
        }
        sampleOwners_.emplace(SampleHash(sample), musician);
    }
    ForEachBlock(song, [&](int order, int channel, int firstRow, int instrument) {
        Pattern& pattern = song.patterns[static_cast<std::size_t>(order)];
        int last = -1;
        if (BlockKey(song, pattern, channel, firstRow, last, instrument).empty()) return;
        // Octaves, fifths and thirds for a tune, semitones for a drum; the block's last note
        // moves first, then the one before it.
        static const int kTuneMoves[] = {0, 12, -12, 7, -5, 24, -24, 3, -4};
        static const int kDrumMoves[] = {0, 1, -1, 2, -2, 3, -3, 4, -4};
        std::vector<int> noteRows;
        for (int row = firstRow; row < firstRow + kBlockRows && row < pattern.rows; ++row) {
            const int note = pattern.at(row, channel).note;
            if (note != kNoNote && note != kNoteOff) noteRows.push_back(row);
        }
        for (auto at = noteRows.rbegin(); at != noteRows.rend(); ++at) {
            Cell& cell = pattern.at(*at, channel);
            const int original = cell.note;
            const int played = cell.instrument > 0 ? cell.instrument : instrument;
            const bool drum =
                played > 0 && song.instruments[static_cast<std::size_t>(played - 1)].drum;
            const int transpose = TransposeOf(song, played);
            for (int move : drum ? kDrumMoves : kTuneMoves) {
                const int note = original + move;
                if (note - transpose < LowestWritten(song.format) ||
                    note - transpose > HighestWritten(song.format))
                    continue;
                cell.note = static_cast<std::uint8_t>(note);
                if (blocks_.count(BlockKey(song, pattern, channel, firstRow, last, instrument)) ==
                    0)
                    return;
            }
            cell.note = static_cast<std::uint8_t>(original);
        }
    });
    for (const std::string& block : NoteBlocks(song)) blocks_.insert(block);
}

}  // namespace packgen
