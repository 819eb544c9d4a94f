#!/usr/bin/env bash
# Ends what the setup started: the Wine server of our prefix and our Xvfb, by its PID.
set -u
wine_dir=$1
. "$(dirname "$0")/env.sh" "$wine_dir"
wineserver -k 2>/dev/null || true
if [ -f "$wine_dir/xvfb.pid" ]; then
    kill "$(cat "$wine_dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$wine_dir/xvfb.pid" "$wine_dir/display"
fi
exit 0
