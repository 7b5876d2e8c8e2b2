#!/usr/bin/env bash
# Saves pictures of tabulix-designer (object inspector on the demonstration's TTabulix) and of the
# two formula dialogs filled with its records into out/screenshots/ (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-out/screenshots}"
[ -f build/build.ninja ] || scripts/build.sh
cmake --build build --target design_screenshots PackTabulix -j 2 >/dev/null
QT_QPA_PLATFORM=offscreen build/design/design_screenshots demo/DemoTabulix.form "$folder"
