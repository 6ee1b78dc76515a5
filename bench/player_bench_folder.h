// The program folder the player benchmarks run in: the one beside the executable when the
// generated pack is in its data/, else a temporary folder with a test module under every song's
// file name.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <memory>

#include "player/song_table.h"
#include "support/test_modules.h"

namespace hollowtide::bench {

class BenchFolder {
  public:
    explicit BenchFolder(int patternsPerSong = 4, const QString& preferred = {}) {
        const QString beside =
            preferred.isEmpty() ? QCoreApplication::applicationDirPath() : preferred;
        if (QDir(beside + "/data").entryList({"*.mod", "*.xm", "*.it"}, QDir::Files).size() >=
            player::kSongCount) {
            path_ = beside;
            return;
        }
        temp_ = std::make_unique<testing::TempDir>();
        const auto bytes = testing::MakeTestMod(64, patternsPerSong);
        for (int number = 1; number <= player::kSongCount; ++number) {
            const char* name = player::FindSong(number)->storedPath + 6;  // after "\data\"
            testing::WriteFile(*temp_ / "data" / name, bytes);
        }
        path_ = QString::fromStdString(temp_->path().string());
    }
    const QString& path() const { return path_; }
    bool IsPack() const { return temp_ == nullptr; }

  private:
    std::unique_ptr<testing::TempDir> temp_;
    QString path_;
};

}  // namespace hollowtide::bench
