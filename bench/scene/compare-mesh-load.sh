#!/usr/bin/env bash
# Whole-process load times of vorn-mesh and of obj-load-reference (another OBJ
# library, built only where it is installed) on the same files, best and
# median of N runs each, and their ratio.
#   bench/scene/compare-mesh-load.sh [-n RUNS] FILE.obj...
# Run from the repository root after building; models are read where they lie.
set -euo pipefail
runs=15
if [[ "${1:-}" == "-n" ]]; then runs=$2; shift 2; fi
mesh=build/bin/vorn-mesh
reference=build/bin/obj-load-reference
[[ -x "$mesh" && -x "$reference" ]] || { echo "build vorn-mesh and obj-load-reference first" >&2; exit 1; }

# Prints "best median" in milliseconds of runs of the command.
timeRuns() {
  local times=()
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f %.1f\n", a[1]/1000, a[int((NR+1)/2)]/1000}'
}

printf '%-28s %9s %22s %22s %7s\n' file MB "vorn-mesh best/median" "reference best/median" ratio
for file in "$@"; do
  size=$(stat -c %s "$file")
  read -r meshBest meshMedian < <(timeRuns "$mesh" "$file")
  read -r refBest refMedian < <(timeRuns "$reference" "$file")
  printf '%-28s %9.2f %11s/%-10s %11s/%-10s %7.3f\n' "$(basename "$file")" "$(echo "$size / 1048576" | bc -l)" \
    "$meshBest" "$meshMedian" "$refBest" "$refMedian" "$(echo "$meshMedian / $refMedian" | bc -l)"
done
