#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the runner.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
  libpugixml-dev  # the packer reads Moodle XML question banks with it
  libzip-dev      # and writes SCORM packages with this one
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
