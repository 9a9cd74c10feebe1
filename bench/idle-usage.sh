#!/bin/sh
# Resident memory, CPU time and wake-ups of the running solvara program over a minute with no
# window open, its tray icon docked in trayer when that is installed. Not run by CI (it takes
# over a minute); run it by hand after a build:
#
#   bench/idle-usage.sh [--active] [--outputs 2|3] [path/to/solvara] [seconds]
#
# Without a DISPLAY it starts its own X server through tests/x11/with-xorg.sh (root, Xorg with
# the dummy driver) with three enabled outputs unless --outputs says 2. The program gets a home
# of its own with a stored city (Berlin) so it follows the sun from the first tick; start-up is
# left 12 s to settle (past the checks made 10 s after launch). --active moves the pointer every 2 s (XTEST),
# as a user at work would.
#
# Wake-ups are the voluntary context switches of all the program's threads (from
# /proc/<pid>/task/*/status): each is a time a thread went to sleep and had to be woken again.
# Involuntary switches are left out: they count how often other load preempted the program.
#
# Goals per minute: under 35 MB resident; idle under 10 ms CPU and 120 wake-ups; active under
# 15 ms CPU.

set -eu

here=$(cd "$(dirname "$0")" && pwd)
active=0
outputs=3
while [ $# -gt 0 ]; do
    case "$1" in
        --active) active=1; shift ;;
        --outputs) outputs=$2; shift 2 ;;
        *) break ;;
    esac
done
program=${1:-"$here/../build/solvara"}
seconds=${2:-60}
[ -x "$program" ] || { echo "idle-usage: no program at $program (build it first)" >&2; exit 2; }

if [ -z "${DISPLAY:-}" ] && [ -z "${SOLVARA_IDLE_INNER:-}" ]; then
    flags="--outputs $outputs"
    [ $active -eq 1 ] && flags="$flags --active"
    # shellcheck disable=SC2086
    SOLVARA_IDLE_INNER=1 exec "$here/../tests/x11/with-xorg.sh" --wm --outputs "$outputs" -- \
        "$0" $flags "$program" "$seconds"
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/solvara-idle.XXXXXX")
mover=""
tray_pid=""
trap 'kill $mover $tray_pid "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$home"' EXIT
# With a tray host (Debian trayer) the program's tray icon is docked and shown, as on a desktop.
if command -v trayer >/dev/null 2>&1; then
    trayer --edge top --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
    tray_pid=$!
    sleep 1
fi
mkdir -p "$home/config/solvara" "$home/runtime"
chmod 700 "$home/runtime"
cat > "$home/config/solvara/user-defaults.json" <<'JSON'
{"sv_isEnabled": true, "sv_locationSource": "Manual", "sv_selectedCity": "Berlin"}
JSON

HOME=$home XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state XDG_DATA_HOME=$home/data \
    XDG_RUNTIME_DIR=$home/runtime "$program" >"$home/solvara.log" 2>&1 &
pid=$!
sleep 12
kill -0 "$pid" 2>/dev/null || { echo "idle-usage: the program ended at start-up:" >&2; cat "$home/solvara.log" >&2; exit 1; }
# The main window opens at launch; idle means closed (hidden), as the user leaves it.
if command -v wmctrl >/dev/null 2>&1; then wmctrl -c Solvara || true; sleep 1; fi

if [ $active -eq 1 ]; then
    command -v xdotool >/dev/null 2>&1 || { echo "idle-usage: --active needs xdotool" >&2; exit 2; }
    ( step=1; while :; do xdotool mousemove_relative -- "$step" 0; step=$((-step)); sleep 2; done ) &
    mover=$!
fi

# CPU time in nanoseconds, summed over the threads (the scheduler's own count, finer than the
# 10 ms ticks of /proc/<pid>/stat), and in clock ticks for the whole process (which also holds
# threads that ended meanwhile).
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { print sum }'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }
switches() { cat /proc/"$pid"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ { sum += $2 } END { print sum }'; }

start_ns=$(cpu_ns)
start_ticks=$(cpu_ticks)
start_switches=$(switches)
sleep "$seconds"
end_ns=$(cpu_ns)
end_ticks=$(cpu_ticks)
end_switches=$(switches)
rss=$(rss_kib)
threads=$(ls /proc/"$pid"/task | wc -l)

cpu_ms=$(( (end_ns - start_ns) / 1000000 ))
ticks_ms=$(( (end_ticks - start_ticks) * 1000 / $(getconf CLK_TCK) ))
per_minute=$(( cpu_ms * 60 / seconds ))
wakeups=$(( end_switches - start_switches ))
wakeups_per_minute=$(( wakeups * 60 / seconds ))
mode=idle
[ $active -eq 1 ] && mode=active
echo "solvara $mode for $seconds s with $outputs outputs: resident $((rss / 1024)) MB ($rss KiB)," \
    "CPU $cpu_ms ms ($per_minute ms per minute; $ticks_ms ms in whole clock ticks)," \
    "$wakeups wake-ups ($wakeups_per_minute per minute), $threads threads"
echo "goals per minute: under 35 MB resident; idle under 10 ms CPU and 120 wake-ups; active under 15 ms CPU"
