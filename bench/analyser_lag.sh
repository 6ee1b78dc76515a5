#!/bin/bash
# The analyser's lead or lag behind what is heard, through a private PulseAudio server with a
# null sink (with --pipewire, a private PipeWire server with its PulseAudio service), whose
# monitor source records what a listener would hear. Builds nothing: run it after building,
# with the build folder as its argument (default: build).
#     bash bench/analyser_lag.sh [--pipewire] [BUILD] [SECONDS]
set -eu
here=$(dirname "$0")
server=with_private_pulse.sh
if [ "${1-}" = --pipewire ]; then server=with_private_pipewire.sh; shift; fi
build=${1:-build}
exec bash "$here/$server" "$build/analyser_lag" "${2:-20}" null.monitor
