// Each song's instruments, drawn for it from its musician's persona: the pitched voices and a
// drum kit of the sounds its groove needs (none for a song without drums).
#pragma once

#include <array>

#include "tools/pack/drum_synth.h"
#include "tools/pack/plan.h"
#include "tools/pack/song.h"

namespace packgen {

inline constexpr int kDrumRoles = 7;

// 1-based instrument numbers per role; 0 where the song has no such instrument.
struct Palette {
    int bass = 0;
    int lead = 0;
    int leadAlt = 0;
    int chords = 0;
    int pad = 0;                          // XM and IT
    int echo = 0;                         // XM and IT: the lead's voice, quieter, on the other side
    int noise = 0;                        // risers
    std::array<int, kDrumRoles> drums{};  // by DrumRole
    // The written note each drum is played at (its sample was made for that rate).
    std::array<int, kDrumRoles> drumNotes{};

    int drum(DrumRole role) const { return drums[static_cast<std::size_t>(role)]; }
    int drumNote(DrumRole role) const { return drumNotes[static_cast<std::size_t>(role)]; }
};

// Adds samples and instruments to the song; `drumRoles` are the roles its patterns play.
Palette AddInstruments(Song& song, const SongPlan& plan, const std::vector<DrumRole>& drumRoles);

}  // namespace packgen
