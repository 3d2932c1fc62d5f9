#!/usr/bin/env bash
# Installs the Debian packages vorn needs, only those missing, so a second run is quick.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  libsdl2-dev libglew-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libpng-dev libturbojpeg0-dev libmpg123-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri
  glslang-tools lame clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
