#!/usr/bin/env bash
# Installs what the build needs on Debian 12, then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ ccache clang-format pkg-config python3
          qt6-base-dev qt6-charts-dev qt6-svg-dev libgl-dev
          libpugixml-dev libcli11-dev nlohmann-json3-dev libxlsxwriter-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation xvfb xauth)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j2
