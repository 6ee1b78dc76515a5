#!/bin/sh
# Installs every Debian 12 package needed to build, run and test Hollowtide.
set -eu
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
    build-essential cmake pkg-config git ca-certificates \
    qt6-base-dev qt6-base-dev-tools libqt6gui6 libqt6widgets6 libqt6test6 libgl-dev \
    libopenmpt-dev libsdl2-dev libkissfft-dev \
    libgtest-dev libgmock-dev libbenchmark-dev \
    fonts-dejavu-core fonts-liberation2 \
    xvfb xauth x11-utils clang-format clang libclang-rt-14-dev sox \
    dbus desktop-file-utils appstream lintian dpkg-dev >/dev/null
