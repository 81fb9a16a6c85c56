#!/usr/bin/env bash
# Checks that every #include of the product's code runs downwards through its
# layers, and that no front end includes another (scripts/check_layers.py
# holds the layers and the rules).
#
# Usage: scripts/check_layers.sh [tree]   (default: this repository)
set -euo pipefail
exec python3 "$(dirname "$0")/check_layers.py" "$@"
