#!/bin/sh
# Start-up time of the solvara program: from its exec to the moment every output's gamma tables
# have changed, read back through RandR by another X client, over a number of launches; each
# launch is then quit with SIGTERM and checked to have put the tables back. Not run by CI; run
# it by hand after a build:
#
#   bench/startup.sh [path/to/solvara] [launches]
#
# The program defaults to the Release build (build/solvara), the launches to 10; the probe that
# launches and times it is bench_startup_probe of the same build. Without a DISPLAY it starts its
# own X server through tests/x11/with-xorg.sh (root, Xorg with the dummy driver, two enabled
# outputs, openbox). The program gets a home of its own with a stored city (Berlin), as a user
# who finished the onboarding, in the Reading mode, so that its tables differ from the server's
# at any hour of the day.
#
# Goal: a median under 150 ms on an idle machine.

set -eu

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-"$here/../build/solvara"}
launches=${2:-10}
[ -x "$program" ] || { echo "startup: no program at $program (build it first)" >&2; exit 2; }
probe="$(dirname "$program")/bench/bench_startup_probe"
[ -x "$probe" ] || { echo "startup: no probe at $probe (build the benchmarks of that build first)" >&2; exit 2; }
case "$launches" in
    '' | *[!0-9]* | 0) echo "startup: the launches are a whole number above 0, not '$launches'" >&2; exit 2 ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${SOLVARA_STARTUP_INNER:-}" ]; then
    SOLVARA_STARTUP_INNER=1 exec "$here/../tests/x11/with-xorg.sh" --wm -- "$0" "$program" "$launches"
fi

home=$(mktemp -d "${TMPDIR:-/tmp}/solvara-startup.XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config/solvara" "$home/runtime"
chmod 700 "$home/runtime"
cat > "$home/config/solvara/user-defaults.json" <<'JSON'
{"sv_isEnabled": true, "sv_locationSource": "Manual", "sv_selectedCity": "Berlin", "sv_hasCompletedOnboarding": true, "sv_currentMode": "Reading"}
JSON

times="$home/times"
: > "$times"
launch=1
while [ "$launch" -le "$launches" ]; do
    if ! ms=$(HOME=$home XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state XDG_DATA_HOME=$home/data \
        XDG_RUNTIME_DIR=$home/runtime "$probe" "$program" 2>>"$home/probe.log"); then
        echo "startup: launch $launch failed:" >&2
        cat "$home/probe.log" >&2
        exit 1
    fi
    echo "launch $launch: every output set after $ms ms, the tables put back on quit"
    echo "$ms" >> "$times"
    launch=$((launch + 1))
done

sort -n "$times" | awk -v count="$launches" '
    { value[NR] = $1 }
    END {
        middle = int((count + 1) / 2)
        median = (count % 2 == 1) ? value[middle] : int((value[middle] + value[middle + 1] + 1) / 2)
        printf "every output set: median %d ms, worst %d ms over %d launches\n", median, value[count], count
    }'
