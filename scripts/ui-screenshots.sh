#!/usr/bin/env bash
# Saves pictures of the embedded spreadsheet's window (drawn offscreen): the demonstration
# workbook's data sheet and a chart sheet of each of the thirteen kinds, into FOLDER
# (out/screenshots/window by default). With LibreOffice installed it also renders the same
# transfer's saved workbook (out/.../libreoffice-data-sheet.png) to compare the data sheet with.
#   scripts/ui-screenshots.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-out/screenshots/window}"
mkdir -p "$out"
cmake --build build --target window-screenshots tabulix >/dev/null
QT_QPA_PLATFORM=offscreen build/ui/window-screenshots demo/DemoTabulix.form "$out"
if command -v soffice >/dev/null && command -v pdftoppm >/dev/null; then
  build/cli/tabulix demo/DemoTabulix.form -o "$out/DemoTabulix.xlsx" >/dev/null
  soffice --headless --convert-to pdf --outdir "$out" "$out/DemoTabulix.xlsx" >/dev/null 2>&1
  pdftoppm -png -r 96 -f 1 -l 1 "$out/DemoTabulix.pdf" "$out/libreoffice-data-sheet"
  echo "$out/libreoffice-data-sheet-1.png"
fi
