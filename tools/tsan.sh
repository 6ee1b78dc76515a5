#!/bin/sh
# Builds the unit tests with ThreadSanitizer in build-tsan/ and runs the engine's tests (the
# ones whose threads share the mixer, the feed and the history) and the player's soak test.
# Exits with the tests' status; ThreadSanitizer's reports make a test fail.
#     sh tools/tsan.sh [GTEST_FILTER]
set -eu
cd "$(dirname "$0")/.."
filter=${1:-'Engine*:DeviceFeed*:StreamHistory*:Spectrum*:PlayerSoak*'}
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOLLOWTIDE_TSAN=ON \
    -DHOLLOWTIDE_BENCHMARKS=OFF >/dev/null
cmake --build build-tsan -j"$(nproc)" --target unit_tests
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    build-tsan/unit_tests --gtest_filter="$filter"
