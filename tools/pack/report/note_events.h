// The notes of one module as they are played: per channel, each note with the row it starts
// on (in play order), its sample, its sounding pitch, and the effects written while it sounds.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "tools/pack/report/song_scan.h"

namespace openmpt {
class module;
}

namespace packreport {

// The effects a tracker musician writes, whatever the format calls them.
enum class Idiom {
    Arpeggio,
    PortaUp,
    PortaDown,
    TonePorta,
    Vibrato,
    Tremolo,
    VolumeSlide,
    SetVolume,  // volume column or effect on a note, other than the sample's default
    NoteDelay,
    NoteCut,
    Retrigger,
    SampleOffset,
    Panning,
    Count
};
const char* IdiomName(Idiom idiom);

struct NoteEvent {
    int step = 0;     // index into the song's played rows
    int note = 0;     // OpenMPT note, 1 to 120 (61 = C-5)
    int sample = -1;  // into ModuleSamples::samples, -1 when none plays
    bool drum = false;
    int pitch = 0;    // sounding pitch, semitones with C = 0 mod 12: note plus the sample's offset
    int volume = -1;  // volume set on its row (volume column or effect), -1 for none
    int endStep = 0;  // the first played row it no longer sounds on
    std::uint16_t idioms = 0;  // bit per Idiom written from its row until the next note
};

struct ChannelNotes {
    std::vector<NoteEvent> notes;
};

struct SongNotes {
    int steps = 0;  // rows played
    int rowsPerBar = 16;
    std::vector<int> stepRow;    // row within its pattern, per step
    std::vector<int> stepOrder;  // order position, per step
    std::vector<ChannelNotes> channels;
};

// Per idiom, the share of notes that carry it from their row until the next note.
std::vector<double> IdiomShares(const SongNotes& song);

// Reads the notes over `visitedRows` (played rows in play order). `offsets` are the samples'
// sounding offsets in semitones (SoundingOffset), nullopt counting as none. A bar is 16 rows,
// or 32 in a fast song whose notes keep to even rows.
SongNotes ReadNotes(openmpt::module& module, const ModuleSamples& samples, const SongScan& scan,
                    const std::vector<std::optional<double>>& offsets,
                    const std::vector<std::pair<int, int>>& visitedRows, double rowsPerSecond);

}  // namespace packreport
