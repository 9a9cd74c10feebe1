#!/bin/sh
# Runs a command inside a desktop session made for the shell's X server tests, to be started
# by ../with-xorg.sh --wm (so DISPLAY and a window manager are there already):
#   - a session D-Bus with dunst as the notification service,
#   - a second private bus standing in for the system bus (DBUS_SYSTEM_BUS_ADDRESS), on which
#     the tests play logind and iio-sensor-proxy themselves,
#   - PulseAudio (as root is fine) with one null sink, "solvara_test", whose monitor the tests
#     record.
#
#   with-session.sh [--] command [args...]
#
# Exit status: the command's own, or 77 when a piece could not be started (1 under
# SOLVARA_REQUIRE_X11=1, as in CI).

set -u
[ "${1:-}" = "--" ] && shift

cannot_start() {
    echo "with-session: SKIPPED: $1" >&2
    if [ "${SOLVARA_REQUIRE_X11:-0}" = "1" ]; then
        echo "with-session: SOLVARA_REQUIRE_X11=1, so this is a failure" >&2
        exit 1
    fi
    exit 77
}

for tool in dbus-daemon dunst dunstctl pulseaudio pactl parecord; do
    command -v "$tool" >/dev/null 2>&1 || cannot_start "$tool is missing (Debian dbus, dunst, pulseaudio, pulseaudio-utils)"
done
[ -n "${DISPLAY:-}" ] || cannot_start "no DISPLAY: run through with-xorg.sh --wm"

work=$(mktemp -d "${TMPDIR:-/tmp}/solvara-session.XXXXXX") || cannot_start "no temporary directory"
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    for pid in $pids; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits until the command succeeds, for as long as the piece's process lives: a busy machine (or
# a sanitizer build beside us) can take many seconds to start one. The bound is generous, only
# against a piece that hangs.
wait_for() {  # wait_for "what" pid command...
    what=$1
    pid=$2
    shift 2
    tries=0
    until "$@" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || cannot_start "$what exited at start-up"
        tries=$((tries + 1))
        [ $tries -le 1200 ] || cannot_start "$what did not start within two minutes"
        sleep 0.1
    done
}

dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/session-bus" >"$work/session-bus.log" 2>&1 &
pids="$pids $!"
DBUS_SESSION_BUS_ADDRESS="unix:path=$work/session-bus"
export DBUS_SESSION_BUS_ADDRESS
wait_for "the session bus" $! test -S "$work/session-bus"

# The session bus's policy lets the tests own logind's and the sensor proxy's names on it.
dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/system-bus" >"$work/system-bus.log" 2>&1 &
pids="$pids $!"
DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system-bus"
export DBUS_SYSTEM_BUS_ADDRESS
wait_for "the stand-in system bus" $! test -S "$work/system-bus"

cat >"$work/dunstrc" <<'CONF'
[global]
    timeout = 0
    show_age_threshold = -1
CONF
dunst -config "$work/dunstrc" >"$work/dunst.log" 2>&1 &
pids="$pids $!"
wait_for "dunst" $! dunstctl count displayed

mkdir -p "$work/pulse"
PULSE_RUNTIME_PATH="$work/pulse"
PULSE_STATE_PATH="$work/pulse"
PULSE_SERVER="unix:$work/pulse/native"
export PULSE_RUNTIME_PATH PULSE_STATE_PATH PULSE_SERVER
pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit -n \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
    --load="module-null-sink sink_name=solvara_test rate=44100" \
    >"$work/pulse.log" 2>&1 &
pids="$pids $!"
wait_for "PulseAudio" $! pactl info
pactl set-default-sink solvara_test || cannot_start "could not select the null sink"
SOLVARA_TEST_SINK=solvara_test
export SOLVARA_TEST_SINK

"$@"
