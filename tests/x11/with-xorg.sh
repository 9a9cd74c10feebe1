#!/bin/sh
# Runs a command against a private Xorg server (dummy video driver, two enabled outputs).
#
#   with-xorg.sh [--wm | --wm=openbox|xfwm4|metacity] [--compositor] [--outputs 2|3] [--] command [args...]
#
# --wm starts openbox; --wm=NAME the window manager named (each as the desktops that ship it run
# it, without its compositor: --compositor adds picom where a test wants one).
#
# Xorg's dummy driver gives 16 RandR outputs whose CRTCs keep real 256-entry gamma ramps
# (Xvfb has one CRTC that starts at all zeros, so it cannot stand in). The server runs with
# -noreset: without it the server resets when its last client leaves and forgets ramps and
# root-window properties between the processes of one test.
#
# Exit status: the command's own, or 77 when no X server could be started (CTest reports
# that as skipped). With SOLVARA_REQUIRE_X11=1 (CI) that case fails with status 1 instead.

set -u

wm=""
want_compositor=0
outputs=2
while [ $# -gt 0 ]; do
    case "$1" in
        --wm) wm=openbox; shift ;;
        --wm=openbox|--wm=xfwm4|--wm=metacity) wm=${1#--wm=}; shift ;;
        --wm=*) echo "$0: --wm= takes openbox, xfwm4 or metacity" >&2; exit 2 ;;
        --outputs)
            case "${2:-}" in 2|3) outputs=$2 ;; *) echo "$0: --outputs takes 2 or 3" >&2; exit 2 ;; esac
            shift 2 ;;
        --compositor) want_compositor=1; shift ;;
        --) shift; break ;;
        *) break ;;
    esac
done
if [ $# -eq 0 ]; then
    echo "usage: $0 [--wm | --wm=openbox|xfwm4|metacity] [--compositor] [--outputs 2|3] [--] command [args...]" >&2
    exit 2
fi

# Each part of the session is waited for until it is there or has failed (its process gone); the
# time limit only stops a start-up that hangs, and lies far past what a machine under load takes.
startup_limit=60
past_limit() {
    [ "$(date +%s)" -ge "$1" ]
}

cannot_start() {
    echo "with-xorg: SKIPPED: the X test session could not be started: $1" >&2
    if [ "${SOLVARA_REQUIRE_X11:-0}" = "1" ]; then
        echo "with-xorg: SOLVARA_REQUIRE_X11=1, so this is a failure" >&2
        exit 1
    fi
    exit 77
}

xorg=$(command -v Xorg || true)
[ -n "$xorg" ] || cannot_start "Xorg is not installed (Debian xserver-xorg-core)"
[ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    cannot_start "the dummy video driver is missing (Debian xserver-xorg-video-dummy)"
command -v xrandr >/dev/null 2>&1 || cannot_start "xrandr is missing (Debian x11-xserver-utils)"
[ "$(id -u)" = "0" ] || cannot_start "Xorg without a VT needs root"

work=$(mktemp -d "${TMPDIR:-/tmp}/solvara-xorg.XXXXXX") || cannot_start "no temporary directory"
xorg_pid=""
wm_pid=""
compositor_pid=""

cleanup() {
    for pid in $compositor_pid $wm_pid $xorg_pid; do
        kill "$pid" 2>/dev/null
    done
    for pid in $compositor_pid $wm_pid $xorg_pid; do
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$work/xorg.conf.d" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
# Room for the enabled outputs side by side, 1280 wide each past the first.
virtual_width=$((1280 * outputs))
cat > "$work/xorg.conf" <<CONF
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual $virtual_width 800
    EndSubSection
EndSection
CONF

# -displayfd picks a free display number and writes it once the server accepts clients.
"$xorg" -noreset -nolisten tcp -displayfd 3 -config "$work/xorg.conf" \
    -configdir "$work/xorg.conf.d" -logfile "$work/Xorg.log" \
    3>"$work/display" >"$work/xorg.out" 2>&1 &
xorg_pid=$!

deadline=$(($(date +%s) + startup_limit))
while [ ! -s "$work/display" ]; do
    if ! kill -0 "$xorg_pid" 2>/dev/null; then
        tail -n 20 "$work/xorg.out" >&2
        xorg_pid=""
        cannot_start "Xorg exited at start-up"
    fi
    past_limit "$deadline" && cannot_start "Xorg did not accept clients within $startup_limit s"
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

# The dummy driver starts with one enabled output; the tests need a second monitor. It reports
# an output connected only from the next probe on, hence the final plain xrandr.
xrandr --addmode DUMMY1 1280x800 &&
    xrandr --output DUMMY1 --mode 1280x800 --right-of DUMMY0 &&
    xrandr >/dev/null ||
    cannot_start "could not enable a second output with xrandr"
if [ "$outputs" -eq 3 ]; then
    xrandr --addmode DUMMY2 1280x800 &&
        xrandr --output DUMMY2 --mode 1280x800 --right-of DUMMY1 &&
        xrandr >/dev/null ||
        cannot_start "could not enable a third output with xrandr"
fi

# Keep the command's configuration and runtime files away from the user's.
XDG_CONFIG_HOME="$work/config"
XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME XDG_RUNTIME_DIR
unset WAYLAND_DISPLAY
QT_QPA_PLATFORM=xcb
export QT_QPA_PLATFORM

if [ -n "$wm" ]; then
    command -v "$wm" >/dev/null 2>&1 || cannot_start "$wm is missing (Debian $wm)"
    case "$wm" in
        openbox) set -- openbox --sm-disable -- "$@" ;;
        # Its settings come over D-Bus (xfconfd): without a session bus it runs on its defaults.
        xfwm4) set -- xfwm4 --compositor=off --sm-client-disable -- "$@" ;;
        metacity) set -- metacity --sm-disable --no-composite -- "$@" ;;
    esac
    wm_command=""
    while [ "$1" != "--" ]; do wm_command="$wm_command $1"; shift; done
    shift
    # shellcheck disable=SC2086 # the words of the command, split on purpose
    $wm_command >"$work/wm.log" 2>&1 &
    wm_pid=$!
    deadline=$(($(date +%s) + startup_limit))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        if past_limit "$deadline" || ! kill -0 "$wm_pid" 2>/dev/null; then
            tail -n 20 "$work/wm.log" >&2
            cannot_start "$wm did not start"
        fi
        sleep 0.1
    done
fi

if [ $want_compositor -eq 1 ]; then
    command -v picom >/dev/null 2>&1 || cannot_start "picom is missing"
    picom --config /dev/null --backend xrender >"$work/picom.log" 2>&1 &
    compositor_pid=$!
    # picom names its own window once it has taken the compositing selection.
    deadline=$(($(date +%s) + startup_limit))
    until xwininfo -root -children 2>/dev/null | grep -q '"picom"'; do
        if past_limit "$deadline" || ! kill -0 "$compositor_pid" 2>/dev/null; then
            tail -n 20 "$work/picom.log" >&2
            cannot_start "picom did not start"
        fi
        sleep 0.1
    done
fi

"$@"
status=$?
exit $status
