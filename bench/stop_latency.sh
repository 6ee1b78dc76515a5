#!/bin/bash
# How long after Stop the listener hears silence, and after Next the new song, through a
# private sound server with a null sink (bench/with_private_pulse.sh; with --pipewire,
# bench/with_private_pipewire.sh). Builds nothing: run it after building, with the build
# folder as its argument (default: build).
#     bash bench/stop_latency.sh [--pipewire] [BUILD] [TRIALS]
set -eu
here=$(dirname "$0")
server=with_private_pulse.sh
if [ "${1-}" = --pipewire ]; then server=with_private_pipewire.sh; shift; fi
build=${1:-build}
exec bash "$here/$server" "$build/stop_latency" "${2:-15}" null.monitor
