#!/bin/bash
# Runs a command against a private PipeWire server with its PulseAudio service, as most current
# desktops run it, whose default sink is a null sink: pipewire, wireplumber and pipewire-pulse
# on a runtime folder, HOME, configuration and session bus of their own, so that a user's own
# sound server is never touched. The null sink's monitor source, null.monitor, records what a
# listener would hear, as with bench/with_private_pulse.sh. Needs pipewire, pipewire-pulse,
# wireplumber and pulseaudio-utils (bench/install-bench-deps.sh).
#     bash bench/with_private_pipewire.sh COMMAND [ARG ...]
# The command sees PIPEWIRE_PIDS (the three servers' process ids, pipewire's first) and
# PIPEWIRE_RESTART, a command that kills the three and starts them again. SDL_AUDIODRIVER is
# left as the caller set it (pulseaudio when unset); set it to pipewire for SDL's own driver,
# or to nothing (SDL_AUDIODRIVER=) for the driver the engine picks by itself.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1-}" = --start-servers ]; then
    # Internal: (re)starts the three servers in the environment already set up below.
    for name in pipewire wireplumber pipewire-pulse; do
        "$name" >>"$HOME/$name.log" 2>&1 &
        echo $! >"$HOME/$name.pid"
        if [ "$name" = pipewire ]; then
            for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.02; done
        fi
    done
    for _ in $(seq 200); do pactl info >/dev/null 2>&1 && break; sleep 0.02; done
    pactl info >/dev/null 2>&1 || { echo "with_private_pipewire: pipewire-pulse did not answer" >&2; exit 1; }
    if ! pactl list short sinks | awk '$2 == "null" { found = 1 } END { exit !found }'; then
        pactl load-module module-null-sink sink_name=null >/dev/null
    fi
    for _ in $(seq 100); do
        pactl set-default-sink null 2>/dev/null && [ "$(pactl get-default-sink)" = null ] && break
        sleep 0.02
    done
    exit 0
fi
if [ "${1-}" = --stop-servers ]; then
    for name in pipewire-pulse wireplumber pipewire; do
        [ -f "$HOME/$name.pid" ] || continue
        pid=$(cat "$HOME/$name.pid")
        kill -KILL "$pid" 2>/dev/null || true
        while kill -0 "$pid" 2>/dev/null; do sleep 0.01; done
        rm -f "$HOME/$name.pid"
    done
    rm -f "$XDG_RUNTIME_DIR/pipewire-0" "$XDG_RUNTIME_DIR/pipewire-0.lock" "$XDG_RUNTIME_DIR/pulse/pid"
    exit 0
fi
[ $# -gt 0 ] || { sed -n '2,/^set -eu/p' "$0" | sed -e '$d' -e 's/^# \{0,1\}//'; exit 2; }
for tool in pipewire wireplumber pipewire-pulse pactl dbus-daemon; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "missing: $tool (sh bench/install-bench-deps.sh installs it)" >&2
        exit 2
    }
done

work=$(mktemp -d /tmp/private-pipewire.XXXXXX)
dbus_pid=
cleanup() {
    bash "$here/with_private_pipewire.sh" --stop-servers 2>/dev/null || true
    [ -n "$dbus_pid" ] && kill "$dbus_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

export HOME=$work XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/.config
export XDG_STATE_HOME=$work/.local/state XDG_DATA_HOME=$work/.local/share
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/pulse"
chmod 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER PULSE_SINK PIPEWIRE_REMOTE PIPEWIRE_RUNTIME_DIR DISPLAY WAYLAND_DISPLAY
echo "autospawn = no" >"$XDG_CONFIG_HOME/pulse/client.conf"
dbus_pid=$(dbus-daemon --session --fork --print-pid --address="unix:path=$work/run/bus")
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/run/bus

bash "$here/with_private_pipewire.sh" --start-servers
PIPEWIRE_PIDS="$(cat "$HOME/pipewire.pid") $(cat "$HOME/wireplumber.pid") $(cat "$HOME/pipewire-pulse.pid")"
export PIPEWIRE_PIDS
export PIPEWIRE_RESTART="bash $here/with_private_pipewire.sh --stop-servers; bash $here/with_private_pipewire.sh --start-servers"
SDL_AUDIODRIVER=${SDL_AUDIODRIVER-pulseaudio} "$@"
