#!/usr/bin/env bash
# Sets up, builds and runs every test: unit and GL tests under a virtual
# 1920x1080 screen with Mesa's software renderer, built by gcc and again by clang
# under ASan/UBSan, then each fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"

export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --test-dir build --output-on-failure -j "$jobs"

# The same tests built by clang under ASan/UBSan (leaks in system libraries are
# suppressed by tests/support/lsan-suppressions.txt). The tree holds the fuzz
# targets too, so the code is compiled twice in all, not three times.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORN_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

# Fuzz targets: a few seconds each on an empty corpus
# seeded from tests/fuzz/corpus/<target> where present. No input may make a
# single allocation of more than 128 MB: readers must not trust declared sizes.
for fuzzer in build-fuzz/bin/fuzz_*; do
  [[ -x "$fuzzer" ]] || continue
  name=$(basename "$fuzzer")
  work=$(mktemp -d)
  seeds=tests/fuzz/corpus/${name#fuzz_}
  [[ -d "$seeds" ]] && cp -r "$seeds"/. "$work"/
  echo "fuzzing $name"
  "$fuzzer" -max_total_time="${VORN_FUZZ_SECONDS:-10}" -rss_limit_mb=2048 -malloc_limit_mb=128 -print_final_stats=0 "$work" 2>"$work.log" \
    || { tail -n 60 "$work.log"; exit 1; }
  rm -rf "$work" "$work.log"
done
echo "all tests passed"
