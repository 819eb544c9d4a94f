#!/usr/bin/env bash
# Runs one Windows program under Wine: wine-run.sh WINE_DIR PROGRAM [ARGS...]
# Wine starts helper processes (services, explorer, device hosts) on demand that outlive the
# program; they must not inherit the test runner's pipes, or the runner waits for them. So
# the program's output goes through a file of our own.
set -u
. "$(dirname "$0")/env.sh" "$1"
shift
log=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
wine "$@" </dev/null >"$log" 2>&1
rc=$?
cat "$log"
rm -f "$log"
exit $rc
