// Writes small modules made in code into the folder given as its argument: seeds for the
// fuzzer beside the pack's own files.
#include <cstdio>
#include <string>

#include "support/test_modules.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: seed_modules <folder>\n");
        return 2;
    }
    namespace ht = hollowtide::testing;
    const std::string folder = argv[1];
    int count = 0;
    auto write = [&](const ht::TestModOptions& options) {
        ht::WriteFile(folder + "/made-" + std::to_string(++count) + ".mod",
                      ht::MakeTestMod(options));
    };
    ht::TestModOptions options;
    write(options);
    options.rows = 1;
    options.speed = 1;
    write(options);
    options = {};
    options.patterns = 3;
    options.wave = ht::TestWave::Sine;
    options.sampleLength = 2;
    write(options);
    options = {};
    options.looped = false;
    options.sampleLength = 65534;
    options.tempo = 255;
    write(options);
    options = {};
    options.silent = true;
    write(options);
    return 0;
}
