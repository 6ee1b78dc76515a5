// The pack's fixed song table, and the texts of the pack that the intro screen shows. The pack
// generator (tools/) writes the module files from the same data, so the two never disagree.
#pragma once

#include <QString>
#include <cstdint>

namespace hollowtide::player {

struct SongEntry {
    std::int16_t number;       // 1 to 49: the position in the play order
    const char* displayTitle;  // "ARTIST_tune name.EXT", at most 35 characters
    const char* storedPath;    // "\data\" and the file name, at most 40 characters
    std::uint32_t loadFlags;   // passed unchanged to BASS_MusicLoad
};

inline constexpr int kSongCount = 49;

// The entry of a song number, or nullptr for any number outside 1 to 49.
const SongEntry* FindSong(int number);

// The handle of the musician who wrote song `number`, or an empty text outside 1 to 49.
QString MusicianOf(int number);

// The intro tune's file name in data/: the handle of the musician of songs 1 to 7 followed by
// "_mm-complete.MOD".
QString IntroTuneFileName();

// The intro screen's marquee text.
QString MarqueeText();

}  // namespace hollowtide::player
