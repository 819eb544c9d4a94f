#!/usr/bin/env bash
# Prepares the Wine folder of a test run once: a zh_CN locale, a display and a booted prefix.
set -eu
wine_dir=$1
mkdir -p "$wine_dir"
rm -f "$wine_dir/display"

if [ ! -d "$wine_dir/locale/zh_CN.UTF-8" ]; then
    mkdir -p "$wine_dir/locale"
    localedef -i zh_CN -f UTF-8 "$wine_dir/locale/zh_CN.UTF-8" || true
fi

# Our own display, on a free number that Xvfb picks and tells us.
if [ -f "$wine_dir/xvfb.pid" ] && kill -0 "$(cat "$wine_dir/xvfb.pid")" 2>/dev/null; then
    kill "$(cat "$wine_dir/xvfb.pid")" || true
fi
exec 3>"$wine_dir/display.fd"
setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp \
    </dev/null >"$wine_dir/xvfb.log" 2>&1 &
echo $! >"$wine_dir/xvfb.pid"
exec 3>&-
for _ in $(seq 1 100); do
    [ -s "$wine_dir/display.fd" ] && break
    sleep 0.1
done
number=$(tr -d '\n' <"$wine_dir/display.fd")
[ -n "$number" ] || { echo "Xvfb did not start"; cat "$wine_dir/xvfb.log"; exit 1; }
echo ":$number" >"$wine_dir/display"

. "$(dirname "$0")/env.sh" "$wine_dir"
# A server kept alive by an earlier setup of this folder would make the wait below endless.
wineserver -k </dev/null >/dev/null 2>&1 || true
wineboot --init </dev/null >"$wine_dir/wineboot.log" 2>&1
wineserver -w
# Wine draws the caption buttons with its Marlett font, which it does not find where Debian's
# fonts-wine puts it: without it in the prefix they read "0 ! r".
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ]; then
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
else
    echo "No $marlett (fonts-wine): the caption buttons show letters."
fi
# Keep the server up between the tests' programs, so each start is quick.
wineserver -p </dev/null >/dev/null 2>&1 || true
# Start Wine's own services now, with their output away from the test runner's pipes.
wine cmd.exe /c exit 0 </dev/null >>"$wine_dir/wineboot.log" 2>&1 || true
echo "wine ready: prefix $WINEPREFIX, display $DISPLAY, LANG ${LANG:-unset}"
