#!/bin/bash
# How long music takes to come back after the sound server is killed and started again, with
# the engine playing through SDL's PulseAudio driver into a private PulseAudio server (as
# bench/with_private_pulse.sh sets up). Two cases: the server dies mid-song and comes back;
# and it dies, a new song starts while it is gone (the engine must come up all the same), and
# it comes back. The time runs from the moment the new server answers to the first loud sample
# on its sink's monitor.
# With --pipewire the server is PipeWire with its PulseAudio service (pipewire, wireplumber and
# pipewire-pulse, as bench/with_private_pipewire.sh sets them up), all three killed and started
# again; SDL_AUDIODRIVER then chooses SDL's driver (pulseaudio when unset, or pipewire).
#     bash bench/device_loss.sh [--pipewire] [BUILD]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1-}" = --pipewire ]; then
    shift
    exec bash "$here/with_private_pipewire.sh" bash "$here/device_loss.sh" --inside-pipewire "$@"
fi
server=pulseaudio
if [ "${1-}" = --inside-pipewire ]; then server=pipewire; shift; fi
build=${1:-build}
work=$(mktemp -d /tmp/device-loss.XXXXXX)
if [ "$server" = pulseaudio ]; then
    export HOME=$work XDG_RUNTIME_DIR=$work/run
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset PULSE_SERVER PULSE_SINK
fi
program=
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ "$server" = pulseaudio ] && { pulseaudio --kill 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT

start_server() {
    if [ "$server" = pipewire ]; then
        bash "$here/with_private_pipewire.sh" --start-servers
        return
    fi
    pulseaudio -D --exit-idle-time=-1 -n --load="module-null-sink sink_name=null" \
        --load=module-native-protocol-unix 2>/dev/null
    for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.01; done
    pactl set-default-sink null
}

kill_server() {
    if [ "$server" = pipewire ]; then
        bash "$here/with_private_pipewire.sh" --stop-servers
        return
    fi
    # This server only, by its pid: other private servers on the machine are left alone.
    local pid
    pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
    kill -KILL "$pid"
    while kill -0 "$pid" 2>/dev/null; do sleep 0.01; done
    rm -f "$XDG_RUNTIME_DIR/pulse/pid"
}

# Seconds from now until the monitor carries sound (gives up after 10 s).
time_to_sound() {
    local start=$1
    timeout 10 parec --raw --format=s16le --channels=1 --rate=44100 --latency-msec=5 \
        -d null.monitor 2>/dev/null |
        od -An -v -td2 -w2 | awk -v start="$start" '
            { v = $1 < 0 ? -$1 : $1; if (v > 2000) { "date +%s.%N" | getline now; printf "%.0f ms\n", (now - start) * 1000; exit } }'
}

[ "$server" = pulseaudio ] && start_server
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-pulseaudio} "$build/device_loss" >"$work/program.log" &
program=$!
sleep 2
echo "playing: $(time_to_sound "$(date +%s.%N)") to the first loud sample on a running server"

kill_server
sleep 2
start_server
echo "server killed mid-song, back after 2 s: music $(time_to_sound "$(date +%s.%N)") after it answered"

kill_server
sleep 1
kill -USR1 "$program"
sleep 1
start_server
echo "server killed, a song started while it was gone ($(tail -n 1 "$work/program.log")), back after 2 s: music $(time_to_sound "$(date +%s.%N)") after it answered"
