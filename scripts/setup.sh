#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the runner.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
  libpugixml-dev  # the packer reads Moodle XML question banks with it
  libzip-dev      # and writes SCORM packages with this one
  # It turns the pictures and sounds of imported banks into bitmaps and waves.
  libpng-dev libturbojpeg0-dev libgif-dev libsndfile1-dev
  mingw-w64 g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils imagemagick
  # The faces the runner draws with under Wine: Wine's own (Marlett for the
  # caption buttons, Symbol, Tahoma, MS Sans Serif), Arial's metric twin, and
  # a general fallback.
  fonts-wine fonts-liberation fonts-dejavu-core
  clang-19 libclang-rt-19-dev llvm-19
  chromium  # the class report's check opens the page in a headless browser
  # The web player: the core compiled to WebAssembly, its pages driven in
  # Chromium as a student would, and the quizzes' MIDI music rendered to
  # audio (a General MIDI synthesizer, its soundfont, an MP3 encoder).
  emscripten chromium-driver python3 python3-selenium
  fluidsynth timgm6mb-soundfont lame
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: everything is installed"
fi

# The learning platform of the SCORM package's tests: scorm-again, a SCORM
# run-time that plays the platform's part in the browser, from the npm
# registry, at a fixed version, into the build tree (not the repository).
scorm_again_version=3.4.3
scorm_again="$(cd "$(dirname "$0")/.." && pwd)/build/scorm-again"
if ! grep -qs "\"version\": \"$scorm_again_version\"" "$scorm_again/node_modules/scorm-again/package.json"; then
  if ! command -v npm >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm
  fi
  echo "setup: installing scorm-again $scorm_again_version into build/scorm-again"
  mkdir -p "$scorm_again"
  npm install --prefix "$scorm_again" --no-audit --no-fund --silent "scorm-again@$scorm_again_version"
fi
