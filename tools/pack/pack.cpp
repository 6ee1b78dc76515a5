#include "tools/pack/pack.h"

#include <fstream>
#include <stdexcept>

#include "tools/pack/compose.h"
#include "tools/pack/it_writer.h"
#include "tools/pack/loudness.h"
#include "tools/pack/mod_writer.h"
#include "tools/pack/uniqueness.h"
#include "tools/pack/xm_writer.h"

namespace packgen {

namespace {

constexpr double kModLevelDb = -6.0;
constexpr double kXmLevelDb = -2.6;
constexpr double kItLevelDb = -8.0;

// The level each format is brought to, in dB of the estimate: the formats mix at levels of
// their own.
double TargetLevelDb(Format format) {
    switch (format) {
        case Format::Mod:
            return kModLevelDb;
        case Format::Xm:
            return kXmLevelDb;
        case Format::It:
            return kItLevelDb;
    }
    return kModLevelDb;
}

}  // namespace

Bytes WriteModule(const Song& song) {
    switch (song.format) {
        case Format::Mod:
            return WriteMod(song);
        case Format::Xm:
            return WriteXm(song);
        case Format::It:
            return WriteIt(song);
    }
    return {};
}

std::vector<ComposedSong> ComposePack() {
    std::vector<ComposedSong> songs;
    PackUniqueness uniqueness;
    for (SongPlan& plan : PlanPack()) {
        Song song = Compose(plan);
        uniqueness.MakeUnique(song, plan.musician);
        Level(song, TargetLevelDb(song.format));
        songs.push_back({std::move(plan), std::move(song)});
    }
    return songs;
}

std::vector<PackFile> BuildPack() {
    std::vector<PackFile> pack;
    for (const ComposedSong& composed : ComposePack()) {
        pack.push_back({composed.plan.fileName, WriteModule(composed.song)});
    }
    return pack;
}

void WritePack(const std::vector<PackFile>& pack, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const PackFile& file : pack) {
        const std::filesystem::path path = folder / file.fileName;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace packgen
