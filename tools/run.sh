#!/bin/sh
# Sets up a fresh Debian 12 machine, builds Hollowtide with its music pack, and starts it.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
exec ./build/hollowtide
