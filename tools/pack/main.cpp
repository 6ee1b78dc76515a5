// packgen: writes the music pack (49 songs and the intro tune) into the folder given as its
// only argument.
#include <cstdio>
#include <exception>

#include "tools/pack/pack.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: packgen <data folder>\n");
        return 2;
    }
    try {
        packgen::WritePack(packgen::BuildPack(), argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "packgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
