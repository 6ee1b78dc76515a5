#include "player/song_table.h"

#include "player/song_catalog.h"

namespace hollowtide::player {

namespace {

constexpr std::array<SongEntry, kSongCount> BuildTable() {
    std::array<SongEntry, kSongCount> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const catalog::CatalogSong& song = catalog::kSongs[i];
        table[i] = {song.number, song.displayTitle, song.storedPath, song.loadFlags};
    }
    return table;
}

constexpr std::array<SongEntry, kSongCount> kTable = BuildTable();
static_assert(catalog::kSongs.size() == kSongCount);

}  // namespace

const SongEntry* FindSong(int number) {
    if (number < 1 || number > kSongCount) {
        return nullptr;
    }
    return &kTable[static_cast<std::size_t>(number - 1)];
}

QString MusicianOf(int number) {
    if (FindSong(number) == nullptr) return {};
    const catalog::CatalogSong& song = catalog::kSongs[static_cast<std::size_t>(number - 1)];
    return QString::fromLatin1(catalog::kMusicianHandles[static_cast<std::size_t>(song.musician)]);
}

QString IntroTuneFileName() {
    return QString::fromLatin1(catalog::kIntroTuneFileName);
}

QString MarqueeText() {
    return QString::fromStdString(catalog::MarqueeText());
}

}  // namespace hollowtide::player
