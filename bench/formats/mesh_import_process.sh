#!/usr/bin/env bash
# The whole `cubrik --export` process bringing in the penguin's flat OBJ
# export (about 40,000 triangles): the mean wall time of RUNS runs (default
# 20) and the peak memory of one, from GNU time.
# Usage: bench/formats/mesh_import_process.sh build/cubrik [RUNS]
set -euo pipefail
cubrik="$1"
runs="${2:-20}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$cubrik" --export "$(dirname "$0")/../../examples/penguin.cbk" "$work/penguin.obj" --flat
echo "triangles: $(( $(grep -c '^f ' "$work/penguin.obj") * 2 ))"
"$cubrik" --export "$work/penguin.obj" "$work/warm.cbk"
start=$(date +%s%N)
for _ in $(seq "$runs"); do "$cubrik" --export "$work/penguin.obj" "$work/out.cbk"; done
end=$(date +%s%N)
echo "mean wall time: $(( (end - start) / runs / 1000000 )) ms over $runs runs"
/usr/bin/time -v "$cubrik" --export "$work/penguin.obj" "$work/out.cbk" 2>&1 | grep -E "User time|System time|Maximum resident|Elapsed"
