#!/usr/bin/env bash
# Installs what is missing (scripts/setup.sh), then builds everything and
# runs every test: the native unit tests; the web player's pages driven in
# headless Chromium; the unit and player tests again
# under the address and undefined-behaviour sanitizers (scripts/sanitize.sh);
# the fuzz targets over their corpora and then for a minute each
# (scripts/fuzz.sh); then the end-to-end tests of the real runner under Wine
# on a virtual display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"

echo "== layers: every include runs downwards"
"$top/scripts/check_layers.sh"

echo "== the layer check's own test: each planted include fails it"
python3 "$top/tests/layers/check_layers_test.py"

"$top/scripts/build.sh"

echo "== unit tests (native)"
ctest --test-dir "$top/build/native" --output-on-failure -j "$(nproc)"

echo "== runners appending to one results file at once, 20 runs in a row"
"$top/build/native/tests/unit/unit_tests" --gtest_filter='ResultsFile.*Runner*' --gtest_repeat=20 \
    --gtest_brief=1

echo "== the class report of the sample results in a headless browser"
"$top/scripts/check_report.sh"

echo "== the web player and its SCORM package in headless Chromium"
"$top/scripts/web_tests.sh"

"$top/scripts/sanitize.sh"
"$top/scripts/fuzz.sh"

echo "== end-to-end tests (Windows runner under Wine)"
source "$top/scripts/wine_env.sh"
ctest --test-dir "$top/build/windows" --output-on-failure
