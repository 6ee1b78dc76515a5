#include "player/playback_rules.h"

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

}  // namespace hollowtide::player
