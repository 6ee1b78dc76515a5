// The whole music pack: every module's file name and bytes, and writing them into a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/pack/bytes.h"
#include "tools/pack/plan.h"
#include "tools/pack/song.h"

namespace packgen {

struct PackFile {
    std::string fileName;
    Bytes bytes;
};

// One module in its own format.
Bytes WriteModule(const Song& song);

struct ComposedSong {
    SongPlan plan;
    Song song;
};

// Every song composed, kept apart from the others and levelled: the 49 songs in table order,
// then the intro tune.
std::vector<ComposedSong> ComposePack();

// The same, written out in each song's format.
std::vector<PackFile> BuildPack();

// Writes every file of the pack into `folder` (created if missing). Throws on I/O failure.
void WritePack(const std::vector<PackFile>& pack, const std::filesystem::path& folder);

}  // namespace packgen
