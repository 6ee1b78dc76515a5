#!/bin/sh
# Fuzzes the engine's module loading and playback for SECONDS seconds (default 60), in its own
# build folder (build-fuzz), with clang's libFuzzer and UndefinedBehaviorSanitizer, then runs
# every input the fuzzing kept, the seeds and the regression inputs once more under
# AddressSanitizer and LeakSanitizer too (a tenth of the speed, too slow for the loop itself).
# Installs clang and its runtime when they are missing. An input is a load flag selector byte
# and a module (tests/fuzz/fuzz_input.h). The corpus starts from the music pack, small modules
# made in code and the kept regression inputs, and grows in build-fuzz/corpus. An input that
# crashes, trips a sanitizer or takes more than a second is a finding: it is kept in
# build-fuzz/findings and the script exits with 1. Exits 0 when nothing was found.
#     sh tools/fuzz.sh [SECONDS]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
if ! command -v clang++ >/dev/null 2>&1 || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 \
        clang libclang-rt-14-dev >/dev/null
fi
launcher=
if command -v ccache >/dev/null 2>&1; then launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache; fi
cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ $launcher >/dev/null
cmake --build build-fuzz -j"$(nproc)"
# Seeds: the pack (written by the build) and small modules made in code, once per load flag,
# and the kept regression inputs as they are.
rm -rf build-fuzz/seeds
mkdir -p build-fuzz/seeds build-fuzz/corpus build-fuzz/findings
build-fuzz/seed_modules build-fuzz/seeds build-fuzz/pack
cp tests/fuzz/regressions/* build-fuzz/seeds/
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A unit counts as hung after 10 s: libopenmpt takes up to a few seconds over some malformed
# modules of a few kilobytes (2 s here for one, under the sanitizers), which is slow, not stuck.
options="-timeout=10 -rss_limit_mb=2048 -max_len=262144 -artifact_prefix=build-fuzz/findings/"
# The engine prints nothing; libFuzzer's own logs go to build-fuzz/fuzz.log and replay.log.
build-fuzz/engine_fuzzer $options -max_total_time="$seconds" -seed=1 -print_final_stats=1 \
    build-fuzz/corpus build-fuzz/seeds >build-fuzz/fuzz.log 2>&1 || status=$?
tail -n 15 build-fuzz/fuzz.log
if [ "${status:-0}" -eq 0 ]; then
    build-fuzz/engine_fuzzer_asan $options -runs=0 build-fuzz/corpus build-fuzz/seeds \
        >build-fuzz/replay.log 2>&1 || status=$?
    echo "Under AddressSanitizer:"
    tail -n 3 build-fuzz/replay.log
fi
exit "${status:-0}"
