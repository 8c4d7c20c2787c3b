#!/usr/bin/env bash
# Several Windows tests that start at once on a prefix that does not exist yet must all find it
# complete: only one creates it, the others wait for it.
set -euo pipefail
exe=$1 work=$2
runner=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/tools/wine-run
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix
pids=()
for i in 1 2 3; do
  "$runner" "$exe" --help >"$work/out$i" 2>"$work/err$i" &
  pids+=($!)
done
status=0
for i in 1 2 3; do
  if ! wait "${pids[$((i - 1))]}"; then
    echo "run $i failed: $(cat "$work/err$i")"
    status=1
  elif ! grep -q '^usage: windriver' "$work/out$i"; then
    echo "run $i printed no usage: $(cat "$work/out$i")"
    status=1
  fi
done
[ -f "$WINEPREFIX/.pagina-ready" ] || { echo "the prefix was not marked complete"; status=1; }
wineserver -k 2>/dev/null || true
[ $status -eq 0 ] && rm -rf "$work"
exit $status
