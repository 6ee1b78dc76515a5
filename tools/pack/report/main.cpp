// packreport: reads the music pack back from a data folder and prints every target of the
// pack with its measured value. Exit status 0 when every target is met, 1 when one is not.
//
//   packreport <data folder> [--generator] [--songs] [--no-engine]
//     --generator  also checks the generator: deterministic, and the folder is current
//     --songs      one line of figures per song
//     --no-engine  skips the analyser measure through the program's engine
//   packreport --human <folder>
//     measures every module under the folder the same way, for the human range
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/pack/pack.h"
#include "tools/pack/report/human_modules.h"
#include "tools/pack/report/pack_figures.h"
#include "tools/pack/report/targets.h"

namespace {

bool FolderHolds(const std::vector<packgen::PackFile>& pack, const std::filesystem::path& folder,
                 const std::vector<packreport::SongFigures>& measured) {
    for (const packgen::PackFile& file : pack) {
        bool found = false;
        for (const packreport::SongFigures& song : measured) {
            if (song.fileName != file.fileName) continue;
            found = std::vector<std::uint8_t>(file.bytes.begin(), file.bytes.end()) == song.bytes;
        }
        if (!found) return false;
    }
    (void)folder;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: packreport <data folder> [--generator] [--songs] [--no-engine]\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--human") == 0) {
        if (argc < 3) return 2;
        return packreport::ReportHumanModules(argv[2], stdout) > 0 ? 0 : 1;
    }
    const std::filesystem::path folder = argv[1];
    packreport::ReportOptions options;
    bool engine = true, generator = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--generator") == 0)
            generator = true;
        else if (std::strcmp(argv[i], "--songs") == 0)
            options.perSong = true;
        else if (std::strcmp(argv[i], "--no-engine") == 0)
            engine = false;
        else {
            std::fprintf(stderr, "packreport: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    const std::vector<packreport::SongFigures> pack = packreport::MeasurePack(folder, engine);
    if (generator) {
        const std::vector<packgen::PackFile> first = packgen::BuildPack();
        const std::vector<packgen::PackFile> second = packgen::BuildPack();
        bool same = first.size() == second.size();
        for (std::size_t i = 0; same && i < first.size(); ++i) {
            same = first[i].fileName == second[i].fileName && first[i].bytes == second[i].bytes;
        }
        options.deterministic = same;
        options.generatorCurrent = FolderHolds(first, folder, pack);
    }
    return packreport::PrintTargets(pack, options, stdout) ? 0 : 1;
}
