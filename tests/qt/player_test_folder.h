// A program folder for frm_MAIN tests: data/ holds a short test module under the file name of
// every song of the table (some may be left out, to stand for missing files), and the engine
// runs on the offline output so tests decide when sound is "heard".
#pragma once

#include <QString>
#include <set>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "player/song_table.h"
#include "support/test_modules.h"

namespace hollowtide::testing {

// A module that plays once for 4 rows at speed 1: about 0.08 s.
inline TestModOptions ShortSong() {
    TestModOptions options;
    options.rows = 4;
    options.speed = 1;
    return options;
}

class PlayerFolder {
  public:
    explicit PlayerFolder(const std::set<int>& missing = {},
                          const TestModOptions& song = ShortSong()) {
        const auto bytes = MakeTestMod(song);
        for (int number = 1; number <= player::kSongCount; ++number) {
            if (missing.count(number) != 0) continue;
            WriteFile(dir_ / "data" / FileName(number), bytes);
        }
    }

    QString path() const { return QString::fromStdString(dir_.path().string()); }

    // The song's file name in data/, as the table stores it (after "\data\").
    static std::string FileName(int number) {
        return std::string(player::FindSong(number)->storedPath + 6);
    }

  private:
    TempDir dir_;
};

// Pumps the offline output until `handle` stops playing; false if it still plays after
// `maxFrames`.
inline bool PumpUntilEnded(DWORD handle, std::size_t maxFrames = 44100 * 10) {
    for (std::size_t pumped = 0; pumped < maxFrames; pumped += 4096) {
        if (BASS_ChannelIsActive(handle) == 0) return true;
        audio::PumpOffline(nullptr, 4096);
    }
    return BASS_ChannelIsActive(handle) == 0;
}

}  // namespace hollowtide::testing
