#!/bin/sh
# Fuzzes the engine's module loading and playback for SECONDS seconds (default 60), in its own
# build folder (build-fuzz), with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer. Installs clang and its runtime when they are missing. The corpus
# starts from the music pack and from small modules made in code, and grows in
# build-fuzz/corpus. An input that crashes, trips a sanitizer or takes more than a second is a
# finding: it is kept in build-fuzz/findings and the script exits with 1. Exits 0 when nothing
# was found.
#     sh tools/fuzz.sh [SECONDS]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
if ! command -v clang++ >/dev/null 2>&1 || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 \
        clang libclang-rt-14-dev >/dev/null
fi
cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)"
mkdir -p build-fuzz/seeds build-fuzz/corpus build-fuzz/findings
build-fuzz/packgen build-fuzz/seeds >/dev/null
build-fuzz/seed_modules build-fuzz/seeds
cp tests/fuzz/regressions/* build-fuzz/seeds/
# The engine prints nothing; libFuzzer's own log goes to build-fuzz/fuzz.log.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build-fuzz/engine_fuzzer -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
    -max_len=262144 -seed=1 -print_final_stats=1 -artifact_prefix=build-fuzz/findings/ \
    build-fuzz/corpus build-fuzz/seeds >build-fuzz/fuzz.log 2>&1 || status=$?
tail -n 15 build-fuzz/fuzz.log
exit "${status:-0}"
