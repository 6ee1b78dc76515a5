#include "tools/pack/report/human_modules.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>
#include <thread>
#include <vector>

#include "tools/pack/report/pack_figures.h"
#include "tools/pack/report/song_targets.h"

namespace packreport {

namespace fs = std::filesystem;

namespace {

bool IsModule(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mod" || extension == ".xm" || extension == ".it" || extension == ".s3m";
}

}  // namespace

int ReportHumanModules(const fs::path& folder, std::FILE* out) {
    std::vector<SongFigures> modules;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() || !IsModule(entry.path())) continue;
        SongFigures song;
        song.fileName = entry.path().filename().string();
        song.path = entry.path();
        modules.push_back(std::move(song));
    }
    std::sort(modules.begin(), modules.end(),
              [](const SongFigures& a, const SongFigures& b) { return a.path < b.path; });
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < modules.size(); i = next++) MeasureSong(modules[i]);
    };
    std::thread helper(work);
    work();
    helper.join();
    std::vector<const SongFigures*> measured;
    for (const SongFigures& song : modules) {
        if (song.samples && song.render.loaded)
            measured.push_back(&song);
        else
            std::fprintf(out, "cannot read %s\n", song.path.string().c_str());
    }
    PrintSongMeasureLines(measured, out);
    PrintDistributions(measured, out);
    return static_cast<int>(measured.size());
}

}  // namespace packreport
