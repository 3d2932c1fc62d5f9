#!/usr/bin/env bash
# Whole-process load times of vorn-mesh and of obj-load-reference (the same
# load through another OBJ library, built only where it is installed) on the
# same files: the mean wall and CPU time of N runs each (perf stat), and the
# ratio of the wall times.
#   bench/scene/compare-mesh-load.sh [-n RUNS] FILE.obj...
# Run from the repository root after building. On a busy machine, run it
# under "chrt -f 50" so that neither program waits behind other work.
set -euo pipefail
runs=20
if [[ "${1:-}" == "-n" ]]; then runs=$2; shift 2; fi
mesh=build/bin/vorn-mesh
reference=build/bin/obj-load-reference
[[ -x "$mesh" && -x "$reference" ]] || { echo "build vorn-mesh and obj-load-reference first" >&2; exit 1; }
command -v perf >/dev/null || { echo "needs perf (linux-perf)" >&2; exit 1; }

# Prints "wall_ms cpu_ms": means over the runs.
measure() {
  perf stat -r "$runs" -x, -e task-clock "$@" 2>&1 >/dev/null | awk -F, '/task-clock/ {cpu = $1} END {printf "%.2f\n", cpu}'
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo "$(( (end - start) / runs / 1000 ))" | awk '{printf "%.2f\n", $1 / 1000}'
}

printf '%-24s %8s %20s %20s %7s %10s\n' file MB "vorn-mesh wall/cpu" "reference wall/cpu" ratio "MB/s"
for file in "$@"; do
  size=$(stat -c %s "$file")
  mapfile -t mine < <(measure "$mesh" "$file")
  mapfile -t theirs < <(measure "$reference" "$file")
  awk -v f="$(basename "$file")" -v s="$size" -v mc="${mine[0]}" -v mw="${mine[1]}" -v tc="${theirs[0]}" -v tw="${theirs[1]}" \
    'BEGIN {printf "%-24s %8.2f %9.2f/%-10.2f %9.2f/%-10.2f %7.3f %10.0f\n", f, s / 1048576, mw, mc, tw, tc, mw / tw, s / 1048576 / (mw / 1000)}'
done
