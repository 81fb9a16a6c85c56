#!/usr/bin/env bash
# Opens the class report of the sample results file (samples/results/kz.dat)
# in a real headless browser (Debian's chromium) and checks what a teacher
# would read there: the page's DOM once its script has run holds the numbers
# worked out by hand from the sample, the sorting script has fitted its
# buttons, and the page prints on A4; then tests/report/check_report_page.py
# checks the page's layout at 1280 pixels and on a phone's 390-pixel screen.
# Screenshots stay in build/report-check/ as artefacts to look at.
#
# Usage: scripts/check_report.sh [native build folder]   (default: build/native)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
native=${1:-$top/build/native}
out="$top/build/report-check"
rm -rf "$out"
mkdir -p "$out"

"$native/tools/results_report/results-report" "$top/samples/results/kz.dat" -o "$out/rapport.html" \
    --csv "$out/csv" >"$out/summary.txt"

browser=$(command -v chromium || true)
if [ -z "$browser" ]; then
  echo "check_report: chromium is missing (scripts/setup.sh installs it)" >&2
  exit 1
fi
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
page="file://$out/rapport.html"
# A fresh profile, no network of its own, nothing kept; as root it needs
# --no-sandbox.
chromium_run() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
      --user-data-dir="$profile" "$@" 2>>"$out/chromium.log"
}
chromium_run --dump-dom "$page" >"$out/dom.html"
chromium_run --screenshot="$out/report.png" --window-size=1200,2200 "$page" >/dev/null
chromium_run --print-to-pdf="$out/rapport.pdf" --no-pdf-header-footer "$page" >/dev/null

failures=0
expect() {  # expect WHAT TEXT: the DOM holds TEXT
  if ! grep -qF -- "$2" "$out/dom.html"; then
    echo "check_report: the page lacks $1: $2" >&2
    failures=$((failures + 1))
  fi
}
# Figures of the sample, worked out by hand from samples/results/kz.dat:
# 37 exams whose scores average 72.68 % (14.5/20), median 80 % (16.0/20),
# standard deviation 21.93 % (4.4/20), lowest 20 %, highest 100 %.
expect "the count of exams" 'data-stat="exams">37<'
expect "the mean" 'data-stat="mean">14,5/20 <small>72,7 %</small>'
expect "the median" 'data-stat="median">16,0/20 <small>80,0 %</small>'
expect "the standard deviation" 'data-stat="sd">4,4 <small>sur 20 ; 21,9 %</small>'
expect "the lowest mark" 'data-stat="lowest">4/20 <small>20 %</small>'
expect "the histogram's bar of 16/20" '<title>16/20 : 8 examens</title>'
# Canada (open answers, asked 12 times, 5 right): Toronto given 6 times
# (once as "toronto"); r = 0.43 against the rest of each exam's score,
# shaded as uncertain: twelve exams are fewer than thirty.
expect "Canada's facility" '<td>Canada</td><td class="num" data-value="12">12</td><td class="facility" data-value="0.4167">'
expect "Canada's discrimination" '<td class="num discrimination uncertain" data-value="0.4317" title="incertaine : sur 12 examens'
expect "Canada's most frequent wrong answer" '<li>« Toronto » <span class="n">× 6</span></li>'
# Three hangman exams: too few for a discrimination.
expect "a question with too few exams" '<td>un cheval</td><td class="num" data-value="3">3</td>'
expect "the media questions by their label" '<td>&lt;Musique : Comptine&gt;</td>'
expect "the students" '<a href="#eleve-7">Noah</a></td><td class="num" data-value="5">5</td><td class="num" data-value="42.60">8,5/20</td>'
expect "the sorting buttons the script fits" '<th class="sorts">Élève<button type="button" class="sort" aria-label="Trier par Élève"></button></th>'
if grep -q '://' "$out/rapport.html"; then
  echo "check_report: the page names an address to fetch" >&2
  failures=$((failures + 1))
fi
if ! grep -aq 'MediaBox \[0 0 594.9' "$out/rapport.pdf"; then
  echo "check_report: the printed page is not A4" >&2
  failures=$((failures + 1))
fi
for shot in report.png; do
  if [ "$(stat -c %s "$out/$shot" 2>/dev/null || echo 0)" -lt 20000 ]; then
    echo "check_report: no screenshot $shot" >&2
    failures=$((failures + 1))
  fi
done

# The page's layout at 1280 pixels and on a phone's true 390-pixel screen,
# its script policy and its print, on the sample's report and on a results
# file made for the layout (tests/report/check_report_page.py).
if ! /usr/bin/python3 "$top/tests/report/check_report_page.py" "$native/tools/results_report/results-report" \
    "$out/page"; then
  failures=$((failures + 1))
fi

if ((failures)); then
  echo "check_report: $failures failures; the page is $out/rapport.html, the DOM $out/dom.html" >&2
  exit 1
fi
echo "check_report: the page holds the expected figures ($(cat "$out/summary.txt" | head -1 | sed 's|.*: ||'));" \
     "screenshots in build/report-check/"
