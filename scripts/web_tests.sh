#!/usr/bin/env bash
# The web player's tests: the quizzes of tests/web/quizzes packed into web
# pages (with the web build's page template) and into quiz files for the
# terminal player (with the native packer), then the page driven in headless
# Chromium by Python's unittest and Selenium (tests/web).
#
#   scripts/web_tests.sh [native build dir] [web build dir]
#
# Defaults: build/native and build/web, which must be built already (the
# native packer and player, the web build's page template). The packed
# quizzes go to build/web-tests/quizzes; the screenshots of every page and
# dialog, at 1280 and 390 pixels wide, and of any wait that timed out, are
# kept in build/web-tests/artefacts. Exits non-zero when a test fails.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
native=$(cd "${1:-$top/build/native}" && pwd)
web=$(cd "${2:-$top/build/web}" && pwd)
packer="$native/tools/packer/packer"
player="$native/terminal/player"
template="$web/web/quiz-player.html"
out="$top/build/web-tests"

for needed in "$packer" "$player" "$template"; do
  if [ ! -f "$needed" ]; then
    echo "web_tests: $needed is missing: build it first" >&2
    exit 1
  fi
done

rm -rf "$out/quizzes" "$out/artefacts"
mkdir -p "$out/quizzes" "$out/artefacts"

# The teacher's results address of the page that sends its records: a free
# port of this machine, where the tests start their results server.
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# The terminal player reads the quiz appended to any file whose marker bytes
# (192 to 198) are free: a runner of zeros stands in for runner.exe.
runner="$out/quizzes/runner.bin"
/usr/bin/python3 -c 'import sys; open(sys.argv[1], "wb").write(b"MZ" + bytes(1022))' "$runner"

for source in "$top"/tests/web/quizzes/*.json; do
  name=$(basename "$source" .json)
  "$packer" web "$source" --player "$template" -o "$out/quizzes/$name.html" >/dev/null
  "$packer" build "$source" --runner "$runner" -o "$out/quizzes/$name.exe" >/dev/null
done
"$packer" web "$top/tests/web/quizzes/capitales.json" --player "$template" \
  --results-url "http://127.0.0.1:$port/resultats" -o "$out/quizzes/capitales-envoi.html" >/dev/null
"$packer" scorm "$top/tests/web/quizzes/capitales.json" --player "$template" \
  -o "$out/quizzes/capitales-scorm.zip" >/dev/null

# The learning platform of the SCORM tests (scripts/setup.sh installs it).
scorm_again="$top/build/scorm-again/node_modules/scorm-again/dist/scorm12.js"
if [ ! -f "$scorm_again" ]; then
  echo "web_tests: $scorm_again is missing: run scripts/setup.sh" >&2
  exit 1
fi

export KZ_WEB_QUIZZES="$out/quizzes" KZ_WEB_ARTEFACTS="$out/artefacts" KZ_WEB_TERMINAL_PLAYER="$player" \
       KZ_WEB_RESULTS_PORT="$port" KZ_WEB_SCORM_AGAIN="$scorm_again" PYTHONDONTWRITEBYTECODE=1
cd "$top/tests/web"
# Debian's Python, which has Selenium (not a pyenv python first on PATH).
# KZ_WEB_TESTS names some of the tests (test_time_up, test_dialogs.PaletteTest).
exec /usr/bin/python3 -m unittest ${KZ_WEB_TESTS:-discover -s . -p 'test_*.py'}
