#include "player/playback_rules.h"

#include <QChar>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>

namespace hollowtide::player {

int NextTitleLeft(int leftTwips) {
    const int left = leftTwips - kTitleStepTwips;
    return left <= kTitleWrapTwips ? kTitleStartTwips : left;
}

int PickRandomSong(int avoid, const UniformDraw& draw) {
    for (;;) {
        double r = static_cast<double>(draw());
        if (!(r >= 0.0)) r = 0.0;  // also catches NaN
        if (r >= 1.0) r = std::nextafter(1.0, 0.0);
        const int pick = static_cast<int>(std::floor(r * kSongCount + 1.0));
        if (pick != avoid) return pick;
    }
}

UniformDraw ClockSeededDraw() {
    const auto seed =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    auto generator =
        std::make_shared<std::mt19937>(static_cast<std::uint32_t>(seed ^ (seed >> 32)));
    return [generator] {
        // generate_canonical can round up to 1.0 with float; the picker clamps that.
        return std::generate_canonical<float, 24>(*generator);
    };
}

QByteArray ProgramFilePath(const QString& programFolder, const QString& storedPath) {
    QString folder = programFolder;
    while (folder.size() > 1 &&
           (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return (folder + storedPath).toLocal8Bit();
}

QByteArray SongPath(const QString& programFolder, const SongEntry& entry) {
    return ProgramFilePath(programFolder, QString::fromLatin1(entry.storedPath));
}

bool IsHiddenWindowKey(int qtKey, quint32 nativeScanCode) {
    if (qtKey == Qt::Key_M) return true;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return false;  // another Latin letter
    // Qt numbers the other letter keys by their capital's code point; only a letter can stand
    // where M stands on a layout of another script, so digits and punctuation never count.
    const bool letter = qtKey > 0x7F && qtKey <= 0xFFFF && QChar(qtKey).isLetter();
    return letter && nativeScanCode == kUsMKeyScanCode;
}

void FailedRound::Record(int song, bool played) {
    if (played) {
        failuresInARow_ = 0;
    } else if (song >= 1 && song <= kSongCount && failuresInARow_ < kSongCount) {
        ++failuresInARow_;
    }
}

}  // namespace hollowtide::player
