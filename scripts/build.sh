#!/usr/bin/env bash
# Builds both trees: the native one (core, unit tests, tools, benchmarks) and
# the Windows one (runner, packer.exe, end-to-end tests), which needs the
# native build's host tools.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}

cmake -S "$top" -B "$top/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$top/build/native" -j "$jobs"

cmake -S "$top" -B "$top/build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
      -DKZ_HOST_TOOLS_DIR="$top/build/native/tools" >/dev/null
ninja -C "$top/build/windows" -j "$jobs"
