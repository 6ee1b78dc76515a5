#!/bin/sh
# Sets up a fresh Debian 12 machine, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test on the offscreen platform and the offline or
# dummy audio output. Then builds the engine's fuzzer and runs it for 20 seconds on its seeds, so
# that neither its build nor its target can break unnoticed.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOLLOWTIDE_SANITIZE=ON
cmake --build build-test -j"$(nproc)"
(cd build-test &&
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ctest --output-on-failure -j"$(nproc)")
sh tools/fuzz.sh 20
