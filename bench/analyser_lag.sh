#!/bin/bash
# The analyser's lead or lag behind what is heard, through a private PulseAudio server with a
# null sink, whose monitor source records what a listener would hear. Builds nothing: run it
# after building, with the build folder as its argument (default: build).
#     bash bench/analyser_lag.sh [BUILD] [SECONDS]
set -eu
here=$(dirname "$0")
build=${1:-build}
exec bash "$here/with_private_pulse.sh" "$build/analyser_lag" "${2:-20}" null.monitor
