#!/usr/bin/env bash
# Saves screenshots of the demonstration window (each page, and after a transfer and a chart)
# into the folder given (default out/screenshots), drawn offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-$PWD/out/screenshots}"
cmake --build build --target demo_screenshots
QT_QPA_PLATFORM=offscreen build/demo/demo_screenshots "$out"
