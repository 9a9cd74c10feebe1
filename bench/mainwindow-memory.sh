#!/bin/sh
# Resident memory of the solvara program with its main window open (every tab visited once),
# and a minute after the window was closed, against the idle figure of a run whose window was
# closed at once. Not run by CI (it takes over two minutes); run it by hand after a build:
#
#   bench/mainwindow-memory.sh [path/to/solvara]
#
# Without a DISPLAY it starts its own X server through tests/x11/with-xorg.sh (root, Xorg with
# the dummy driver, openbox for the window closing). Needs xdotool and wmctrl.
#
# Goals: under 60 MB with the window open; within 5 MB of idle a minute after it closes.

set -eu

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-"$here/../build/solvara"}
[ -x "$program" ] || { echo "mainwindow-memory: no program at $program (build it first)" >&2; exit 2; }

if [ -z "${DISPLAY:-}" ] && [ -z "${SOLVARA_MEMORY_INNER:-}" ]; then
    SOLVARA_MEMORY_INNER=1 exec "$here/../tests/x11/with-xorg.sh" --wm -- "$0" "$program"
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/solvara-memory.XXXXXX")
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/config/solvara" "$home/runtime"
chmod 700 "$home/runtime"

rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }
start() {
    cat > "$home/config/solvara/user-defaults.json" <<'JSON'
{"sv_isEnabled": true, "sv_locationSource": "Manual", "sv_selectedCity": "Berlin", "sv_hasCompletedOnboarding": true}
JSON
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state XDG_DATA_HOME=$home/data \
        XDG_RUNTIME_DIR=$home/runtime "$program" >>"$home/solvara.log" 2>&1 &
    pid=$!
    sleep 5
}
stop() { kill "$pid"; wait "$pid" 2>/dev/null || true; pid=; }

# Idle: the window closed at once, a minute left to settle.
start
wmctrl -c Solvara
sleep 60
idle=$(rss_kib)
stop

# Open: every tab built once (the sidebar walked with the arrows), then closed for a minute.
start
window=$(xdotool search --onlyvisible --name '^Solvara$' | head -n 1)
xdotool windowactivate --sync "$window" mousemove --window "$window" 60 60 click 1
for _ in 1 2 3 4 5 6 7 8 9 10 11 12; do xdotool key --window "$window" Down; sleep 0.2; done
open=$(rss_kib)
wmctrl -c Solvara
sleep 60
closed=$(rss_kib)
stop

echo "solvara resident memory: idle $((idle / 1024)) MB ($idle KiB); window open $((open / 1024)) MB ($open KiB);" \
     "a minute after closing $((closed / 1024)) MB ($closed KiB), $(((closed - idle) / 1024)) MB above idle"
echo "goals: under 60 MB open; within 5 MB of idle a minute after closing"
