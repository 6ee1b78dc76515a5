#!/bin/bash
# Processor load of Hollowtide next to two lighter players of the same song, side by side.
#
# What it measures: the processor time of the whole process (all its threads, as the scheduler
# counts it to the nanosecond in /proc/PID/task/*/schedstat; the user and system times of
# /proc/PID/stat are sampled at the clock tick, too coarse for loads of a few tenths of a
# percent) over the wall time of a measuring window, in % of one core, for
#   - hollowtide, main window, song playing, analyser running (after a click on GO);
#   - hollowtide, main window after a click on Stop (only the stars are left; the program has
#     closed its stream by then);
#   - hollowtide, intro screen with its tune (before GO);
#   - Audacious, Qt interface with the spectrum visualiser of its info bar shown;
#   - openmpt123 --batch -q, no interface and no progress meter (the decoding floor plus a
#     sound-server client).
# Every program plays song 1's file (the intro screen plays its own tune) into one private
# PulseAudio server (or PipeWire, --pipewire) with a null sink, under one private Xvfb, with a private HOME, D-Bus and
# XDG_RUNTIME_DIR: a user's own sound server, display and settings are never touched.
# Each round runs every program once, in an order that rotates from round to round, so that
# drift on a shared machine hits all of them alike; each program settles before its window.
#
# How to read it: "median" is the median over the rounds, the row of each round follows.
# "wake/s" is how often the process's threads went to sleep and woke again (voluntary context
# switches per second, all threads). "server" and "Xvfb" are the sound server's and the X
# server's load during the same window: work a program hands to them is not in its own figure.
# "total" adds the program's, the sound server's and the X server's medians: what the desktop
# as a whole spends on each program. The ratios divide the medians; their targets are the ones
# the player aims at, and the last one compares the totals. Peak RSS is
# hollowtide's VmHWM at the end of each round. --threads adds each thread's load
# and wake-ups, for every row.
#
# It installs nothing: bench/install-bench-deps.sh installs what it needs. On a machine shared
# with builds, run it under the build lock, so that no build runs during a window:
#     flock /tmp/hollowtide-build.lock bash bench/cpu_peers.sh --rounds 3 --window 30
# Options: --rounds N (3), --window SECONDS (30), --settle SECONDS (5), --program PATH
# (build/hollowtide), --only "PROGRAMS" (a quick look at some of hollowtide audacious
# openmpt123; the ratios then lack their peers), --pipewire (the sound server is PipeWire with
# its PulseAudio service, set up as bench/with_private_pipewire.sh does; its column then adds
# pipewire, wireplumber and pipewire-pulse), --sdl-driver NAME (hollowtide's SDL_AUDIODRIVER,
# pulseaudio by default; pipewire for SDL's own PipeWire driver), --shots DIR (screenshots of each state in the first round, needs
# ImageMagick's import), --threads, --floor (two more rows: bench's tick_floor, a window the
# player's size with two 10 ms ticks that do nothing, on Qt timers as the player runs them and on
# a sleeping thread; built beside the program). The window plus the settle time must stay below the song's
# length (2:53), or the peers stop playing before the window ends.
set -eu

rounds=3
window=30
settle=5
shots=
threads=0
floor=0
repo=$(cd "$(dirname "$0")/.." && pwd)
program=$repo/build/hollowtide
programs="hollowtide audacious openmpt123"
server=pulseaudio
sdl_driver=pulseaudio

usage() {
    sed -n '2,/^set -eu/p' "$0" | sed -e '$d' -e 's/^# \{0,1\}//'
    exit "${1:-0}"
}

while [ $# -gt 0 ]; do
    case $1 in
    --rounds) rounds=$2; shift 2 ;;
    --window) window=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    --shots) shots=$2; shift 2 ;;
    --threads) threads=1; shift ;;
    --floor) floor=1; shift ;;
    --only) programs=$2; shift 2 ;;
    --pipewire) server=pipewire; shift ;;
    --sdl-driver) sdl_driver=$2; shift 2 ;;
    -h | --help) usage 0 ;;
    *) echo "unknown option: $1" >&2; usage 2 >&2 ;;
    esac
done
case "$rounds$window$settle" in *[!0-9]*) echo "--rounds, --window, --settle: whole numbers" >&2; exit 2 ;; esac
if [ "$rounds" -lt 1 ] || [ "$window" -lt 1 ]; then
    echo "need at least one round and a window" >&2
    exit 2
fi

missing=
for tool in Xvfb xdotool pactl parec openmpt123 audacious dbus-daemon od awk timeout; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ "$server" = pipewire ]; then
    for tool in pipewire wireplumber pipewire-pulse; do
        command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
    done
else
    command -v pulseaudio >/dev/null 2>&1 || missing="$missing pulseaudio"
fi
if [ -n "$missing" ]; then
    echo "missing:$missing (sh bench/install-bench-deps.sh installs them)" >&2
    exit 2
fi
if [ -n "$shots" ] && ! command -v import >/dev/null 2>&1; then
    echo "--shots needs ImageMagick's import (sh bench/install-bench-deps.sh installs it)" >&2
    exit 2
fi
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 2; }
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
tick_floor=$(dirname "$program")/tick_floor
if [ "$floor" = 1 ]; then
    [ -x "$tick_floor" ] || { echo "--floor: no $tick_floor (cmake --build build --target tick_floor)" >&2; exit 2; }
    programs="$programs floor_qt floor_thread"
fi

# Song 1 is the first row of the song table; the file lies in data/ beside the program.
song_name=$(sed -n 's/^ *{1, .*"[^"]*", *"\\\\data\\\\\([^"]*\)".*/\1/p' "$repo/player/song_catalog.h")
song=$(dirname "$program")/data/$song_name
if [ -z "$song_name" ] || [ ! -f "$song" ]; then
    echo "song 1 not found: $song" >&2
    exit 2
fi
[ -z "$shots" ] || { mkdir -p "$shots" && shots=$(cd "$shots" && pwd); }

work=$(mktemp -d "${TMPDIR:-/tmp}/cpu-peers.XXXXXX")
started=  # processes to end on exit, latest first
xvfb_pid=
pulse_pid=
dbus_pid=

stop_pid() {
    # hollowtide catches SIGTERM (SDL's handler) and carries on, so a KILL follows.
    kill -TERM "$1" 2>/dev/null || return 0
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        kill -0 "$1" 2>/dev/null || return 0
        grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null && return 0
        sleep 0.2
    done
    kill -KILL "$1" 2>/dev/null || true
}

cleanup() {
    set +e
    for pid in $started $pulse_pid $dbus_pid $xvfb_pid; do stop_pid "$pid"; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

forget_pid() {
    local kept='' pid
    for pid in $started; do [ "$pid" = "$1" ] || kept="$kept $pid"; done
    started=$kept
}

fail() {
    echo "cpu_peers: $*" >&2
    exit 1
}

# --- A private session: HOME, D-Bus, X display and sound server of its own ---

mkdir -p "$work/home/.config/pulse" "$work/run"
chmod 700 "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/home/.config
export XDG_CACHE_HOME=$work/home/.cache XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$work/home/.local/state
unset WAYLAND_DISPLAY XAUTHORITY SESSION_MANAGER PULSE_SINK PULSE_COOKIE PULSE_PROP
unset PULSE_CLIENTCONFIG XDG_SESSION_TYPE XDG_CURRENT_DESKTOP DESKTOP_SESSION
export NO_AT_BRIDGE=1 QT_ACCESSIBILITY=0
echo "autospawn = no" >"$HOME/.config/pulse/client.conf"
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native

dbus_pid=$(dbus-daemon --session --fork --print-pid --address="unix:path=$work/run/bus")
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/run/bus

Xvfb -displayfd 5 -nolisten tcp -noreset -screen 0 1024x768x24 5>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY

if [ "$server" = pipewire ]; then
    bash "$repo/bench/with_private_pipewire.sh" --start-servers ||
        fail "PipeWire did not start: $(cat "$HOME"/pipewire*.log 2>/dev/null)"
    pulse_pid="$(cat "$HOME/pipewire.pid") $(cat "$HOME/wireplumber.pid") $(cat "$HOME/pipewire-pulse.pid")"
else
    pulseaudio -D --exit-idle-time=-1 -n --load="module-null-sink sink_name=null" \
        --load=module-native-protocol-unix --log-target="file:$work/pulse.log" ||
        fail "PulseAudio did not start: $(cat "$work/pulse.log" 2>/dev/null)"
    for _ in $(seq 50); do [ -s "$XDG_RUNTIME_DIR/pulse/pid" ] && pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pulse_pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
fi
pactl set-default-sink null
[ "$(pactl get-default-sink)" = null ] || fail "the null sink is not the default"

# Audacious: Qt interface, info bar with its visualiser shown, PulseAudio the only output
# plugin enabled. A first headless start writes the plugin registry that is then edited.
audacious_config=$HOME/.config/audacious
audacious -H >"$work/audacious-first.log" 2>&1 &
first=$!
started="$first $started"
sleep 3
stop_pid "$first"
wait "$first" 2>/dev/null || true
forget_pid "$first"
[ -f "$audacious_config/plugin-registry" ] || fail "Audacious wrote no plugin registry"
awk '
    /^[a-z]+ \// { kind = $1; path = $2 }
    kind == "output" && $1 == "enabled" { $2 = (path ~ /\/pulse_audio\.so$/) ? 1 : 0; if ($2) found = 1 }
    { print }
    END { if (!found) exit 1 }
' "$audacious_config/plugin-registry" >"$work/registry" || fail "Audacious has no PulseAudio output plugin"
mv "$work/registry" "$audacious_config/plugin-registry"
printf '[qtui]\ninfoarea_visible=TRUE\ninfoarea_show_vis=TRUE\n' >"$audacious_config/config"

# --- Measuring ---

cpu_ns() {  # processor time of processes, all their threads, in nanoseconds
    local pid
    for pid in "$@"; do cat /proc/"$pid"/task/*/schedstat 2>/dev/null; done | awk '{ n += $1 } END { printf "%.0f\n", n }'
}

wakeups() {  # voluntary context switches of all threads of a process
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}

thread_sample() {  # one line per thread: tid nanoseconds voluntary-switches name
    local task stat name
    for task in /proc/"$1"/task/*; do
        stat=$(cat "$task/stat" 2>/dev/null) || continue
        name=${stat#*(}
        name=${name%)*}
        echo "${task##*/} $(awk '{ print $1 }' "$task/schedstat") $(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status") ${name// /_}"
    done
}

percent() {  # nanoseconds of processor time, nanoseconds of wall time -> % of one core
    awk -v t="$1" -v ns="$2" 'BEGIN { printf "%.2f", 100 * t / ns }'
}

# Measures one process over the window; records "row value pulse xvfb wakeups/s".
measure() {
    local pid=$1 row=$2 t0 p0 x0 w0 n0 t1 p1 x1 w1 n1 ns
    [ "$threads" = 1 ] && thread_sample "$pid" >"$work/threads0"
    t0=$(cpu_ns "$pid") p0=$(cpu_ns $pulse_pid) x0=$(cpu_ns "$xvfb_pid") w0=$(wakeups "$pid")
    n0=$(date +%s%N)
    sleep "$window"
    t1=$(cpu_ns "$pid") p1=$(cpu_ns $pulse_pid) x1=$(cpu_ns "$xvfb_pid") w1=$(wakeups "$pid")
    n1=$(date +%s%N)
    ns=$((n1 - n0))
    [ "$threads" = 1 ] && thread_sample "$pid" >"$work/threads1"
    kill -0 "$pid" 2>/dev/null || fail "$row: the program ended during the window"
    echo "$row $(percent $((t1 - t0)) $ns) $(percent $((p1 - p0)) $ns) $(percent $((x1 - x0)) $ns)" \
        "$(awk -v w=$((w1 - w0)) -v ns=$ns 'BEGIN { printf "%.0f", w / (ns / 1e9) }')" >>"$work/results"
    if [ "$threads" = 1 ]; then
        awk -v ns=$ns -v row="$row" -v round="$round" '
            NR == FNR { ticks[$1] = $2; sw[$1] = $3; next }
            ($1 in ticks) {
                printf "%-9s %d  %-16s %6.2f %% %6.0f wake/s\n", row, round, $4,
                    100 * ($2 - ticks[$1]) / ns, ($3 - sw[$1]) / (ns / 1e9)
            }' "$work/threads0" "$work/threads1" >>"$work/threads"
    fi
}

# The state of a process's stream on the null sink: running, corked or none. A stream names its
# process, or (SDL's PipeWire driver) only its client, which names the process.
stream_of() {
    { pactl list clients 2>/dev/null; pactl list sink-inputs 2>/dev/null; } | awk -v pid="$1" '
        /^Client #/ { client = substr($2, 2); input = 0 }
        /^Sink Input #/ { input = ++inputs }
        !input && $1 == "application.process.id" && $3 == "\"" pid "\"" { mine[client] = 1 }
        input && /^[ \t]*Client:/ { of[input] = $2 }
        input && /^[ \t]*Corked:/ { corked[input] = $2 }
        input && $1 == "application.process.id" && $3 == "\"" pid "\"" { named[input] = 1 }
        END {
            for (i = 1; i <= inputs; i++)
                if (named[i] || (of[i] in mine)) found = corked[i] == "no" ? "running" : "corked"
            print found ? found : "none"
        }'
}

# Loudest sample on the null sink over a second, 0 for silence. A short latency, or pipewire-pulse
# hands the recording over in fragments longer than the second.
sink_peak() {
    timeout 1.5 parec -d null.monitor --raw --format=s16le --channels=1 --rate=8000 \
        --latency-msec=20 2>/dev/null |
        od -An -v -td2 -w2 | awk '{ a = $1 < 0 ? -$1 : $1; if (a > m) m = a } END { print m + 0 }'
}

expect_sound() {  # pid what audible|silent
    local state peak
    state=$(stream_of "$1")
    [ "$state" = running ] || fail "$2: no running stream of the process on the null sink ($state)"
    expect_peak "$2" "$3"
}

# Stopped, hollowtide closes its stream a few seconds after the last sound; waits for that.
expect_no_stream() {  # pid what
    for _ in $(seq 50); do
        [ "$(stream_of "$1")" = none ] && { expect_peak "$2" silent; return 0; }
        sleep 0.2
    done
    fail "$2: the process still holds a stream on the null sink"
}

expect_peak() {  # what audible|silent
    local peak
    peak=$(sink_peak)
    case $2 in
    audible) [ "$peak" -gt 64 ] || fail "$1: the null sink is silent" ;;
    silent) [ "$peak" -le 64 ] || fail "$1: the null sink still sounds (peak $peak)" ;;
    esac
}

# A visible window of the process with the given size; waits up to ten seconds.
window_of() {
    local w geometry
    for _ in $(seq 50); do
        for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do
            geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null | awk '/Geometry:/ { print $2 }')
            if [ -z "$2" ] || [ "$geometry" = "$2" ]; then
                echo "$w"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

shows_window() {  # pid size: whether such a window shows now
    local w
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do
        [ "$(xdotool getwindowgeometry "$w" 2>/dev/null | awk '/Geometry:/ { print $2 }')" = "$2" ] && return 0
    done
    return 1
}

click() {  # window x y, then the pointer leaves every window
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.2 click 1 sleep 0.2 mousemove 1023 767
}

shot() {
    [ -n "$shots" ] && [ "$round" = 1 ] && import -window root "$shots/$1.png"
    return 0
}

peak_rss_kb() {
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"
}

run_hollowtide() {
    local pid w
    SDL_AUDIODRIVER=$sdl_driver QT_QPA_PLATFORM=xcb "$program" >>"$work/hollowtide.log" 2>&1 &
    pid=$!
    started="$pid $started"
    w=$(window_of "$pid" 497x318) || fail "the intro screen did not show"
    sleep "$settle"
    expect_sound "$pid" "intro screen" audible
    shot intro
    measure "$pid" intro

    click "$w" $((1 + 236 + 55)) $((1 + 241 + 30))  # GO, inside the 1-px frame
    w=$(window_of "$pid" 506x302) || fail "the main window did not show after GO"
    shows_window "$pid" 497x318 && fail "the intro screen is still up after GO"
    sleep "$settle"
    expect_sound "$pid" "main window, playing" audible
    shot playing
    measure "$pid" playing

    click "$w" $((1 + 263 + 44)) $((1 + 263 + 6))  # Label2: Stop
    sleep "$settle"
    expect_no_stream "$pid" "main window, stopped"
    shot stopped
    measure "$pid" stopped

    echo "rss $(peak_rss_kb "$pid")" >>"$work/results"
    stop_pid "$pid"
    wait "$pid" 2>/dev/null || true
    forget_pid "$pid"
}

run_audacious() {
    local pid
    rm -rf "$audacious_config/playlists" "$audacious_config/playlist-state"
    QT_QPA_PLATFORM=xcb audacious -Q -p "$song" >>"$work/audacious.log" 2>&1 &
    pid=$!
    started="$pid $started"
    window_of "$pid" "" >/dev/null || fail "Audacious showed no window"
    sleep "$settle"
    expect_sound "$pid" Audacious audible
    shot audacious
    measure "$pid" audacious
    [ "$(stream_of "$pid")" = running ] || fail "Audacious stopped playing during the window"
    stop_pid "$pid"
    wait "$pid" 2>/dev/null || true
    forget_pid "$pid"
}

run_openmpt123() {
    local pid
    openmpt123 --batch -q "$song" </dev/null >>"$work/openmpt123.log" 2>&1 &
    pid=$!
    started="$pid $started"
    sleep "$settle"
    expect_sound "$pid" openmpt123 audible
    measure "$pid" openmpt123
    [ "$(stream_of "$pid")" = running ] || fail "openmpt123 stopped playing during the window"
    stop_pid "$pid"
    wait "$pid" 2>/dev/null || true
    forget_pid "$pid"
}

run_floor() {  # qt|thread
    local pid
    QT_QPA_PLATFORM=xcb "$tick_floor" "$1" >>"$work/tick_floor.log" 2>&1 &
    pid=$!
    started="$pid $started"
    window_of "$pid" 506x302 >/dev/null || fail "tick_floor $1 showed no window"
    sleep "$settle"
    measure "$pid" "floor_$1"
    stop_pid "$pid"
    wait "$pid" 2>/dev/null || true
    forget_pid "$pid"
}
run_floor_qt() { run_floor qt; }
run_floor_thread() { run_floor thread; }

echo "song 1: $song_name; $rounds rounds, ${window}-s windows after ${settle} s of settling;" \
    "sound server $server, hollowtide through SDL's $sdl_driver driver"
for round in $(seq "$rounds"); do
    # Round r starts with the r-th program and runs on round the list.
    order=$(echo "$programs $programs" | awk -v r="$round" '{ n = NF / 2; for (i = 0; i < n; i++) printf "%s ", $((r - 1) % n + 1 + i) }')
    echo "round $round: $order" >&2
    for name in $order; do "run_$name"; done
done

# --- The table ---

median() {  # row column
    awk -v row="$1" -v col="$2" '$1 == row { print $col }' "$work/results" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR % 2) printf "%.2f", v[(NR + 1) / 2]; else printf "%.2f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

total() {  # row: program + sound server + X server, medians
    awk -v a="$(median "$1" 2)" -v p="$(median "$1" 3)" -v x="$(median "$1" 4)" 'BEGIN { printf "%.2f", a + p + x }'
}

each_round() {
    awk -v row="$1" '$1 == row { printf "%s ", $2 }' "$work/results"
}

echo
echo "Processor load, % of one core (processor time of the process over wall time)"
printf '%-58s %7s %7s %7s %7s %7s   %s\n' "" median wake/s server Xvfb total "each round"
rows="playing stopped intro audacious openmpt123"
[ "$floor" = 1 ] && rows="$rows floor_qt floor_thread"
for row in $rows; do
    case $row in
    playing) label="hollowtide, main window, song playing, analyser running" ;;
    stopped) label="hollowtide, main window after Stop" ;;
    intro) label="hollowtide, intro screen with its tune" ;;
    audacious) label="Audacious, Qt interface with its spectrum visualiser" ;;
    openmpt123) label="openmpt123 --batch -q, no interface" ;;
    floor_qt) label="tick_floor: two idle 10 ms ticks on Qt timers, no sound" ;;
    floor_thread) label="tick_floor: the same ticks on a sleeping thread" ;;
    esac
    printf '%-58s %6s%% %7.0f %6s%% %6s%% %6s%%   %s\n' "$label" "$(median $row 2)" "$(median $row 5)" \
        "$(median $row 3)" "$(median $row 4)" "$(total $row)" "$(each_round $row)"
done

ratio() {  # label numerator denominator target
    awk -v a="$(median "$2" 2)" -v b="$(median "$3" 2)" -v label="$1" -v target="$4" 'BEGIN {
        if (b > 0) r = sprintf("%.2f", a / b); else r = "n/a"
        printf "%-28s %6s   target at most %s %s\n", label, r, target, (b > 0 && a / b <= target) ? "(met)" : "(not met)"
    }'
}

echo
echo "Ratios of the medians"
ratio "playing / Audacious" playing audacious 0.75
ratio "playing / openmpt123" playing openmpt123 2.5
ratio "intro / Audacious" intro audacious 0.75
ratio "stopped / openmpt123" stopped openmpt123 0.5
awk -v a="$(total playing)" -v b="$(total audacious)" 'BEGIN {
    if (b > 0) r = sprintf("%.2f", a / b); else r = "n/a"
    printf "%-28s %6s   target at most 1 %s\n", "program+server+X / Audacious", r, (b > 0 && a <= b) ? "(met)" : "(not met)"
}'
if [ "$floor" = 1 ]; then
    for row in floor_qt floor_thread; do
        awk -v a="$(median $row 2)" -v b="$(median openmpt123 2)" -v label="$row / openmpt123" 'BEGIN {
            printf "%-28s %6s   (the ticks alone, no work)\n", label, (b > 0 ? sprintf("%.2f", a / b) : "n/a")
        }'
    done
fi
echo
awk '$1 == "rss" { if ($2 > m) m = $2; s = s sprintf("%.1f ", $2 / 1024) }
     END { printf "hollowtide peak RSS (VmHWM): %.1f MB at most (each round: %sMB)\n", m / 1024, s }' "$work/results"

if [ "$threads" = 1 ]; then
    echo
    echo "Threads of each program, per row and round: load and wake-ups per second"
    sort -k1,1 -k2,2n -s "$work/threads"
fi
