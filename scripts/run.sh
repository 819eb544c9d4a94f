#!/usr/bin/env bash
# Sets up, builds Quellor.exe and starts it under Wine.
set -eu
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
exe=build/windows/res/Quellor.exe
if [ ! -f "$exe" ]; then
    echo "Built the system's libraries; Quellor.exe itself is not built yet."
    exit 0
fi
exec bash tests/sim/run-panel.sh "$exe"
