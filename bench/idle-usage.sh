#!/bin/sh
# Resident memory and CPU time of the running solvara program while it sits idle for 60 s with
# no window open. Not run by CI (it takes over a minute); run it by hand after a build:
#
#   bench/idle-usage.sh [path/to/solvara] [seconds]
#
# Without a DISPLAY it starts its own X server through tests/x11/with-xorg.sh (root, Xorg with
# the dummy driver). The program gets a home of its own with a stored city (Berlin) so it follows
# the sun from the first tick; start-up is left 5 s to settle before the measurement starts.
#
# Goals: under 35 MB resident, under 15 ms of CPU time per minute.

set -eu

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-"$here/../build/solvara"}
seconds=${2:-60}
[ -x "$program" ] || { echo "idle-usage: no program at $program (build it first)" >&2; exit 2; }

if [ -z "${DISPLAY:-}" ] && [ -z "${SOLVARA_IDLE_INNER:-}" ]; then
    SOLVARA_IDLE_INNER=1 exec "$here/../tests/x11/with-xorg.sh" --wm -- "$0" "$program" "$seconds"
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/solvara-idle.XXXXXX")
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/config/solvara" "$home/runtime"
chmod 700 "$home/runtime"
cat > "$home/config/solvara/user-defaults.json" <<'JSON'
{"sv_isEnabled": true, "sv_locationSource": "Manual", "sv_selectedCity": "Berlin"}
JSON

HOME=$home XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state XDG_DATA_HOME=$home/data \
    XDG_RUNTIME_DIR=$home/runtime "$program" >"$home/solvara.log" 2>&1 &
pid=$!
sleep 5
# The main window opens at launch; idle means closed (hidden), as the user leaves it.
if command -v wmctrl >/dev/null 2>&1; then wmctrl -c Solvara || true; sleep 1; fi

# CPU time in nanoseconds, summed over the threads (the scheduler's own count, finer than the
# 10 ms ticks of /proc/<pid>/stat), and in clock ticks for the whole process (which also holds
# threads that ended meanwhile).
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { print sum }'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }

start_ns=$(cpu_ns)
start_ticks=$(cpu_ticks)
sleep "$seconds"
end_ns=$(cpu_ns)
end_ticks=$(cpu_ticks)
rss=$(rss_kib)

cpu_ms=$(( (end_ns - start_ns) / 1000000 ))
ticks_ms=$(( (end_ticks - start_ticks) * 1000 / $(getconf CLK_TCK) ))
per_minute=$(( cpu_ms * 60 / seconds ))
echo "solvara idle for $seconds s: resident $((rss / 1024)) MB ($rss KiB), CPU $cpu_ms ms ($per_minute ms per minute; $ticks_ms ms in whole clock ticks)"
echo "goals: under 35 MB resident, under 15 ms CPU per minute"
