#!/usr/bin/env bash
# Sets up the machine, builds, packs the bundled demo quiz and runs it under
# Wine (on the current display, or on a virtual one whose screen is saved as
# build/demo.png). The same quiz is also made into its web page,
# build/demo/demo.html, which any browser opens.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"

quiz="$top/build/demo/demo.exe"
mkdir -p "$(dirname "$quiz")"
"$top/build/native/tools/packer/packer" build "$top/samples/demo/demo.json" \
    --runner "$top/build/windows/windows/runner.exe" -o "$quiz"
echo "demo: packed $quiz"
"$top/build/native/tools/packer/packer" web "$top/samples/demo/demo.json" -o "$top/build/demo/demo.html"
echo "demo: the web page is $top/build/demo/demo.html (open it in a browser)"

had_display=${DISPLAY:-}
source "$top/scripts/wine_env.sh"
if [ -n "$had_display" ]; then
  wine "$quiz"
else
  wine "$quiz" &
  sleep 8
  import -window root "$top/build/demo.png"
  echo "demo: no display; the screen is saved in build/demo.png"
  wineserver -k
fi
