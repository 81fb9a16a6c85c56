#!/usr/bin/env bash
# Builds the three trees: the native one (core, unit tests, tools,
# benchmarks), the Windows one (runner, packer.exe, end-to-end tests), which
# needs the native build's host tools, and the web one (the web player's
# page template, the core compiled to WebAssembly).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}

cmake -S "$top" -B "$top/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$top/build/native" -j "$jobs"

cmake -S "$top" -B "$top/build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
      -DKZ_HOST_TOOLS_DIR="$top/build/native/tools" >/dev/null
ninja -C "$top/build/windows" -j "$jobs"

cmake -S "$top" -B "$top/build/web" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/emscripten.cmake" >/dev/null
ninja -C "$top/build/web" -j "$jobs"
