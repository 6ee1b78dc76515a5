#!/bin/bash
# Runs a command against a private PulseAudio server whose default sink is a null sink, with its
# own XDG_RUNTIME_DIR and HOME: a user's own sound server is never touched. The null sink's
# monitor source, null.monitor, records what a listener would hear. Needs pulseaudio and
# pulseaudio-utils (bench/install-bench-deps.sh).
#     bash bench/with_private_pulse.sh COMMAND [ARG ...]
set -eu
work=$(mktemp -d /tmp/private-pulse.XXXXXX)
cleanup() {
    pulseaudio --kill 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER PULSE_SINK
pulseaudio -D --exit-idle-time=-1 -n --load="module-null-sink sink_name=null" \
    --load=module-native-protocol-unix 2>/dev/null
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink null
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-pulseaudio} "$@"
