#!/usr/bin/env bash
# Sets up, builds Quellor.exe and starts it under Wine.
set -eu
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
exec bash tests/sim/run-panel.sh build/windows/res/Quellor.exe
