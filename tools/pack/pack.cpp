#include "tools/pack/pack.h"

#include <fstream>
#include <stdexcept>

#include "tools/pack/compose.h"
#include "tools/pack/it_writer.h"
#include "tools/pack/mod_writer.h"
#include "tools/pack/xm_writer.h"

namespace packgen {

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

std::vector<PackFile> BuildPack() {
    std::vector<PackFile> pack;
    for (const SongPlan& plan : PlanPack()) {
        pack.push_back({plan.fileName, WriteModule(Compose(plan))});
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
