// Writes the fuzzer's seed inputs into the folder given as its first argument: small modules
// made in code, and every module file in the folders that follow (the music pack). Each module
// becomes one input per load flag, its first byte picking the flag (fuzz_input.h).
//     seed_modules <seeds folder> [<module folder>...]
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "support/test_modules.h"

namespace {

namespace fs = std::filesystem;
namespace ht = hollowtide::testing;

std::vector<std::uint8_t> Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteSeeds(const fs::path& folder, const std::string& name,
                const std::vector<std::uint8_t>& module) {
    for (std::size_t flag = 0; flag < hollowtide::fuzzing::kPackLoadFlags.size(); ++flag) {
        std::vector<std::uint8_t> input{static_cast<std::uint8_t>(flag)};
        input.insert(input.end(), module.begin(), module.end());
        ht::WriteFile(folder / (name + ".flag" + std::to_string(flag)), input);
    }
}

std::vector<ht::TestModOptions> MadeModules() {
    std::vector<ht::TestModOptions> made(5);
    made[1].rows = 1;
    made[1].speed = 1;
    made[2].patterns = 3;
    made[2].wave = ht::TestWave::Sine;
    made[2].sampleLength = 2;
    made[3].looped = false;
    made[3].sampleLength = 65534;
    made[3].tempo = 255;
    made[4].silent = true;
    return made;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: seed_modules <seeds folder> [<module folder>...]\n");
        return 2;
    }
    const fs::path seeds = argv[1];
    int count = 0;
    for (const ht::TestModOptions& options : MadeModules()) {
        WriteSeeds(seeds, "made-" + std::to_string(++count) + ".mod", ht::MakeTestMod(options));
    }
    for (int arg = 2; arg < argc; ++arg) {
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[arg])) {
            if (entry.is_regular_file()) {
                WriteSeeds(seeds, entry.path().filename().string(), Read(entry.path()));
            }
        }
    }
    return 0;
}
