#!/usr/bin/env bash
# Sets up, builds both builds and runs every test: the native unit tests (under AddressSanitizer
# and UBSan), then Quellor.exe's Windows-side and end-to-end tests under Wine.
set -u
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1
jobs=$(nproc)

status=0
run() {
    local name=$1
    shift
    echo "== $name"
    "$@" || { echo "== $name FAILED"; status=1; return 1; }
}

if run "native: configure" cmake --preset native >/dev/null &&
   run "native: build" cmake --build --preset native -j "$jobs"; then
    run "native: tests" ctest --preset native -j "$jobs"
fi
if run "windows: configure" cmake --preset windows >/dev/null &&
   run "windows: build" cmake --build --preset windows -j "$jobs"; then
    run "windows: tests" ctest --preset windows -j "$jobs"
fi

if [ $status -eq 0 ]; then echo "== all tests passed"; else echo "== some tests FAILED"; fi
exit $status
