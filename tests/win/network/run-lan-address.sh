#!/usr/bin/env bash
# run-lan-address.sh WINE_DIR TEST_EXE: runs the network tests under Wine with what Linux
# reports about this machine: its IPv4 addresses and the source of its route to 8.8.8.8.
# Asking for a route sends nothing.
set -u
wine_dir=$1
exe=$2
here=$(dirname "$0")
addresses=$(ip -4 -o addr show 2>/dev/null | awk '{ sub("/.*", "", $4); print $4 }' | paste -sd, -)
if route=$(ip -4 route get 8.8.8.8 2>/dev/null); then
    source=$(printf '%s\n' "$route" | sed -n 's/.* src \([0-9.]*\).*/\1/p' | head -n1)
else
    source=none
fi
echo "Linux: addresses ${addresses:-?}; route source to 8.8.8.8: ${source:-unknown}"
exec "$here/../../wine/wine-run.sh" "$wine_dir" "$exe" "--addresses=$addresses" \
    "--route-source=$source"
