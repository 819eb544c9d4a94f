#!/usr/bin/env bash
# Renders the main window in its running state, with a CJK font (fonts-wqy-microhei), into
# docs/quellor-running.png for the README. Builds the windows preset first.
#
#   readme-screenshot.sh [OUTPUT.png]
#
# QUELLOR_BUILD names a Windows build folder that is already built, in place of the preset's.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$root/docs/quellor-running.png}
cd "$root"
build=${QUELLOR_BUILD:-}
if [ -z "$build" ]; then
    bash scripts/setup.sh
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j "$(nproc)" --target Quellor quellor_driver quellor_sim
    build=$root/build/windows
fi
build=$(realpath "$build")
wine_dir=$build/screenshot-wine

QUELLOR_WINE_DIR=$wine_dir QUELLOR_BOOT_DELAY_MS=1000 \
    bash "$here/run-panel.sh" "$build/res/Quellor.exe" "$out"
