#!/usr/bin/env bash
# Makes samples/results/kz.dat, the sample results file of the class report:
# a class of eight students playing the demo quiz (samples/demo) in the
# terminal player, in every exam type, from the answers written below. The
# draws are fixed (--seed) and the clock is the player's fake one, moved by
# ":attendre N" before each answer, so the same file comes out every time.
#
# Usage: samples/results/make_sample.sh [native build folder]   (default: build/native)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "${1:-$top/build/native}" && pwd)
out="$top/samples/results/kz.dat"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/Quiz"
# The player reads only the quiz appended to the runner: any bytes serve as
# the runner as long as the marker's place (bytes 192 to 198) is free.
{ printf 'MZ'; head -c 1022 /dev/zero; } >"$work/runner.bin"
"$native/tools/packer/packer" build "$top/samples/demo/demo.json" --runner "$work/runner.bin" \
    -o "$work/Quiz/decouverte.exe" >/dev/null
rm -f "$out"

# play NAME START TYPE THEMES COUNT ORDER INVERTED LIMIT ANSWER...
#   TYPE: number in the home page's list (1 open answer, 2 multiple choice,
#   3 true/false, 4 pot-pourri, 5 hangman, 6 scrambled letters); ORDER: 1
#   random, 2 in order; INVERTED: o/n; LIMIT: seconds per question, or n.
#   Each ANSWER is "SECONDS:LINES": the seconds the student takes, then the
#   lines typed (several, for the hangman's letters, parted by "|"); an
#   empty line ("12:") is no answer, and "40:~" types nothing and lets the
#   time run out.
play() {
    local name=$1 start=$2 type=$3 themes=$4 count=$5 order=$6 inverted=$7 limit=$8
    shift 8
    {
        printf '\n%s\no\n%s\n%s\n' "$name" "$themes" "$type"
        if [ "$limit" = n ]; then printf 'n\n'; else printf 'o\n%s\n' "$limit"; fi
        printf '%s\n%s\n%s\nn\n' "$count" "$order" "$inverted"
        for answer in "$@"; do
            printf ':attendre %s\n' "${answer%%:*}"
            local lines=${answer#*:}
            [ "$lines" = "~" ] || printf '%s\n' "${lines//|/$'\n'}"
        done
        printf '4\n'
    } >"$work/answers.txt"
    "$native/terminal/player" "$work/Quiz/decouverte.exe" --results "$out" --no-sound --seed=7 \
        --clock="fake:$start" <"$work/answers.txt" >"$work/session.txt" 2>&1 ||
        { cat "$work/session.txt"; exit 1; }
    grep -q "Résultats enregistrés" "$work/session.txt" || { cat "$work/session.txt"; exit 1; }
}

# Open answers, Géographie, ten questions in order (two of them pictures).
geo=(1 1 10 2 n n)
play Camille  2026-03-02T09:05:00 "${geo[@]}" 9:Paris 12:Berlin 8:Madrid 15:Rome 11:Paris 14:Ottawa 20:Canberra 7:Tokyo 18:Brasilia 10:Rabat
play Lucas    2026-03-02T09:06:00 "${geo[@]}" 10:Paris 9:Berlin 14:Madrid 25:Milan 12:Paris 16:Toronto 22:Sydney 8:Tokyo 30:"Rio de Janeiro" 13:Rabat
play Emma     2026-03-02T09:06:00 "${geo[@]}" 8:Paris 11:Berlin 9:Madrid 17:Rome 10:Paris 19:Ottawa 21:Sydney 9:Tokyo 16:Brasilia 24:Casablanca
play Noah     2026-03-02T09:07:00 "${geo[@]}" 15:Paris 21:Munich 18:Barcelone 26:rome 20:Lyon 30:Montréal 25:Sydney 19:Kyoto 33:Rio 40:
play Léa      2026-03-02T09:07:00 "${geo[@]}" 7:Paris 8:Berlin 7:madrid 12:Rome 9:Paris 18:Toronto 14:Canberra 6:Tokyo 15:Brasília 11:Rabat
play Hugo     2026-03-02T09:08:00 "${geo[@]}" 12:Paris 14:Berlin 13:Madrid 22:Venise 15:Paris 20:toronto 24:Sydney 11:Tokyo 28:"Sao Paulo" 19:Casablanca
play Chloé    2026-03-02T09:08:00 "${geo[@]}" 9:Paris 10:Berlin 9:Madrid 14:Rome 12:Paris 17:Ottawa 16:Canberra 8:Tokyo 27:"Rio de Janeiro" 12:Rabat
play Louis    2026-03-02T09:09:00 "${geo[@]}" 11:Paris 16:Bonn 12:Madrid 18:Rome 21:Marseille 19:Toronto 23:Sydney 10:Tokyo 17:Brasilia 14:Rabat

# Multiple choice, Histoire, six questions in order, 20 seconds each. With
# these draws the right boxes are 2, 1, 2, 3, 1, 3.
mc=(2 2 6 2 n 20)
play Camille  2026-03-09T10:15:00 "${mc[@]}" 6:2 8:1 7:2 9:3 6:1 5:3
play Lucas    2026-03-09T10:15:00 "${mc[@]}" 9:2 11:1 14:3 12:3 15:3 13:2
play Emma     2026-03-09T10:16:00 "${mc[@]}" 7:2 9:1 8:2 16:2 7:1 6:3
play Noah     2026-03-09T10:16:00 "${mc[@]}" 12:3 15:2 10:2 25:~ 9:1 14:2
play Léa      2026-03-09T10:17:00 "${mc[@]}" 5:2 7:1 6:2 8:3 6:1 12:1
play Hugo     2026-03-09T10:17:00 "${mc[@]}" 10:"2 3" 12:3 9:1 11:3 8:1 10:3

# True/false, Sciences, six questions in order: false, true, false, true,
# false, true.
tf=(3 3 6 2 n n)
play Camille  2026-03-10T14:00:00 "${tf[@]}" 5:2 6:1 8:2 4:1 6:2 7:1
play Emma     2026-03-10T14:01:00 "${tf[@]}" 6:2 5:1 9:1 5:1 7:2 8:1
play Noah     2026-03-10T14:01:00 "${tf[@]}" 4:1 4:1 5:1 3:1 4:1 5:1
play Léa      2026-03-10T14:02:00 "${tf[@]}" 5:2 6:1 7:2 4:1 9:1 6:1
play Louis    2026-03-10T14:02:00 "${tf[@]}" 8:2 9:2 7:2 6:1 8:2 12:

# Pot-pourri, Musique et sons, five questions in order (a tune and a note
# among them): 2, 3, 1, 6, 4.
pp=(4 5 5 2 n n)
play Camille  2026-03-12T11:30:00 "${pp[@]}" 14:2 12:3 6:1 8:6 5:4
play Lucas    2026-03-12T11:30:00 "${pp[@]}" 16:2 15:5 7:1 9:6 6:4
play Hugo     2026-03-12T11:31:00 "${pp[@]}" 18:2 14:3 8:1 12:5 7:4
play Chloé    2026-03-12T11:31:00 "${pp[@]}" 13:2 11:3 6:1 9:6 10:7
play Noah     2026-03-12T11:32:00 "${pp[@]}" 20:7 17:3 15: 11:5 8:4

# Hangman, Langue française, three questions in order: des chevaux, des
# yeux, des bijoux.
play Léa      2026-03-13T09:00:00 5 4 3 2 n n 30:"d|e|s|c|h|v|a|u|x" 20:"d|e|s|y|u|x" 25:"d|e|s|b|i|j|o|u|x"
play Hugo     2026-03-13T09:01:00 5 4 3 2 n n 40:"l|o|i|r|t" 22:"d|e|s|y|u|x" 30:"d|e|s|b|i|:suivant"
play Emma     2026-03-13T09:01:00 5 4 3 2 n n 28:"d|e|s|c|h|v|a|u|x" 35:"d|e|s|o|i|l|y|u|x" 26:"d|e|s|b|i|j|o|u|x"

# Scrambled letters, Géographie, four questions in order.
sl=(6 1 4 2 n n)
play Lucas    2026-03-13T10:00:00 "${sl[@]}" 12:Paris 15:Berlin 18:Madird 9:Rome
play Chloé    2026-03-13T10:00:00 "${sl[@]}" 8:Paris 10:Berlin 11:Madrid 7:Rome
play Louis    2026-03-13T10:01:00 "${sl[@]}" 14:Pairs 16:Berlin 13:Madrid 12:More

# Open answers again a fortnight later: the same ten questions.
play Lucas    2026-03-16T09:05:00 "${geo[@]}" 8:Paris 8:Berlin 10:Madrid 14:Rome 9:Paris 13:Ottawa 19:Sydney 7:Tokyo 15:Brasilia 10:Rabat
play Noah     2026-03-16T09:05:00 "${geo[@]}" 10:Paris 12:Berlin 11:Madrid 16:Rome 12:Paris 22:Toronto 21:Sydney 9:Tokyo 25:"Rio de Janeiro" 14:Rabat
play Hugo     2026-03-16T09:06:00 "${geo[@]}" 9:Paris 10:Berlin 9:Madrid 13:Rome 10:Paris 15:Ottawa 18:Canberra 8:Tokyo 16:Brasilia 20:Casablanca
play Louis    2026-03-16T09:06:00 "${geo[@]}" 9:Paris 11:Berlin 10:Madrid 12:Rome 11:Paris 17:Toronto 16:Canberra 8:Tokyo 14:Brasilia 10:Rabat

# Pot-pourri inverted, Géographie, 30 seconds each: from the capital to the
# country. Rome and the second Paris expect a picture (the flag, the map),
# which the list cannot offer.
inv=(4 1 5 2 o 30)
play Camille  2026-03-17T15:00:00 "${inv[@]}" 8:6 6:1 7:5 20:6 15:6
play Emma     2026-03-17T15:00:00 "${inv[@]}" 9:6 7:1 8:5 25:9 18:6
play Léa      2026-03-17T15:01:00 "${inv[@]}" 7:6 8:1 9:5 35:~ 12:6

# The runner's path as a school's Windows machine would record it, instead
# of this temporary folder.
LC_ALL=C sed -i "s|^$work/Quiz/decouverte.exe\r\$|C:\\\\Classe\\\\Quiz\\\\decouverte.exe\r|" "$out"
echo "wrote $out ($(wc -c <"$out") bytes, $(grep -c '^05\|^[0-3][0-9]/03/2026 ' "$out") exams)"
