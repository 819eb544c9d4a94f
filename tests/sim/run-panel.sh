#!/usr/bin/env bash
# Starts Quellor.exe under Wine against the simulated distribution: a stopped distribution whose
# server answers a few seconds after the panel has started it.
#
#   run-panel.sh QUELLOR_EXE [SCREENSHOT.png]
#
# With a usable DISPLAY the window opens there and the script ends when it is closed. Without
# one the panel runs on a virtual display, in a Wine desktop that draws the window's frame;
# once the server is shown as running the window is written to SCREENSHOT.png (default:
# quellor-running.png in the build folder), the window is closed and the script ends.
# The logo is served on the loopback address that the build downloads it from (the icon).
#
# Environment: QUELLOR_SIM_BIN (the folder of the simulated wsl.exe and netsh.exe; default
# <build>/tests/sim/bin), QUELLOR_BOOT_DELAY_MS (default 4000), QUELLOR_WINE_DIR (default
# <build>/run-wine).
set -u
exe=$(realpath "$1")
build=$(dirname "$(dirname "$exe")")
here=$(cd "$(dirname "$0")" && pwd)
sim_bin=${QUELLOR_SIM_BIN:-$build/tests/sim/bin}
wine_dir=${QUELLOR_WINE_DIR:-$build/run-wine}
screenshot=${2:-$build/quellor-running.png}
driver=$build/tests/driver/quellor_driver.exe
state=$build/run-sim-state
caption=Calbrin

[ -f "$sim_bin/wsl.exe" ] && [ -f "$sim_bin/netsh.exe" ] ||
    { echo "The simulated wsl.exe and netsh.exe are not built in $sim_bin"; exit 1; }

user_display=
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then user_display=$DISPLAY; fi

bash "$here/../wine/setup.sh" "$wine_dir" || exit 1
. "$here/../wine/env.sh" "$wine_dir"
[ -n "$user_display" ] && export DISPLAY=$user_display

python3 "$here/sim.py" init "$state" --boot-delay-ms "${QUELLOR_BOOT_DELAY_MS:-4000}"
export QUELLOR_SIM_DIR=$state
unset WSL_UTF8
python3 "$here/sim.py" serve "$state" --max-seconds 3600 --parent $$ </dev/null >/dev/null 2>&1 &
ota_pid=$!
panel_pid=

# The logo: the icon's largest picture, at http://127.0.0.1:18731/applogo.png.
mkdir -p "$state/www"
icon=$here/../../res/Quellor.ico
largest=$(identify -format '%p %w\n' "$icon" 2>/dev/null | sort -k2 -n | tail -1 | cut -d' ' -f1)
convert "$icon[${largest:-0}]" "$state/www/applogo.png" 2>/dev/null
timeout 3600 python3 -m http.server --bind 127.0.0.1 --directory "$state/www" 18731 \
    </dev/null >/dev/null 2>&1 &
logo_pid=$!

finish() {
    [ -n "$panel_pid" ] && kill "$panel_pid" 2>/dev/null
    kill "$ota_pid" "$logo_pid" 2>/dev/null
    # The keep-alive ends with the distribution, if the panel did not shut it down.
    (cd "$sim_bin" && wine wsl.exe -t ROZivuvarud </dev/null >/dev/null 2>&1)
    bash "$here/../wine/cleanup.sh" "$wine_dir"
}
trap finish EXIT

cd "$sim_bin" || exit 1
if [ -n "$user_display" ]; then
    # The user's window manager draws the frame: no Wine desktop.
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    echo "Quellor runs on $DISPLAY against the simulated distribution in $state; close its window to end."
    wine "$exe" </dev/null
    exit 0
fi

# Every program of this prefix, the driver too, runs in one Wine desktop that draws frames.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 560x300 /f >/dev/null 2>&1
# The desktop of the running Wine server keeps its old setting: start afresh.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
wine "$exe" </dev/null >"$state/panel.log" 2>&1 &
panel_pid=$!
drive() { bash "$here/../wine/wine-run.sh" "$wine_dir" "$driver" --timeout 30000 "$@" | tr -d '\r'; }
drive wait "$caption" >/dev/null || { echo "The main window did not open."; exit 1; }
running=
for _ in $(seq 1 60); do
    case "$(drive text "$caption" 1007)" in *运行中*) running=1; break ;; esac
    sleep 0.5
done
[ -n "$running" ] || echo "The server was not shown as running; taking the picture anyway."
sleep 0.5
bmp=$state/window.bmp
drive capture "$caption" "Z:${bmp//\//\\}" >/dev/null || { echo "The window could not be captured."; exit 1; }
mkdir -p "$(dirname "$screenshot")"
convert "$bmp" "$screenshot" || exit 1
echo "Screenshot: $screenshot"
drive close "$caption" >/dev/null
for _ in $(seq 1 40); do kill -0 "$panel_pid" 2>/dev/null || break; sleep 0.5; done
wait "$panel_pid" 2>/dev/null
panel_pid=
exit 0
