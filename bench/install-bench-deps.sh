#!/bin/sh
# Installs what the benchmarks need on a fresh Debian 12, on top of the build's own packages:
# the peers bench/cpu_peers.sh measures against, its private sound servers (PulseAudio, and
# PipeWire with its PulseAudio service for bench/with_private_pipewire.sh), display and bus,
# the pointer driver for its clicks, ImageMagick for its screenshots, and the profilers.
# None of this is needed to build, run or test the program.
set -eu
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
sh "$(dirname "$0")/../tools/install-deps.sh"
$SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 \
    xvfb xdotool pulseaudio pulseaudio-utils openmpt123 audacious audacious-plugins \
    dbus-daemon imagemagick linux-perf valgrind strace \
    pipewire pipewire-pulse wireplumber >/dev/null
