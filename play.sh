#!/usr/bin/env bash
# Sets up, builds and plays the bundled demo. Extra arguments go to the player
# (for example --windowed).
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
cd build/demo && exec ../bin/vorn "$@"
