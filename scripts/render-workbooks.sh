#!/usr/bin/env bash
# Renders workbooks as LibreOffice prints them, one PNG per page, to look at them: by default the
# demonstration workbook and a chart workbook (the demonstration's sales sheet, its chart and one
# chart sheet of every kind, values in the cells' number format). Needs a build (scripts/build.sh),
# LibreOffice's headless Calc and poppler-utils.
#   scripts/render-workbooks.sh [OUT_DIR] [WORKBOOK.xlsx...]     (OUT_DIR defaults to out/render)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-out/render}"
shift || true
soffice="$(command -v soffice || command -v libreoffice || true)"
if [ -z "$soffice" ] || ! command -v pdftoppm >/dev/null; then
  echo "render-workbooks.sh: needs LibreOffice (soffice) and pdftoppm (poppler-utils)" >&2
  exit 2
fi
mkdir -p "$out"
books=("$@")
if ((${#books[@]} == 0)); then
  build/cli/tabulix demo/DemoTabulix.form -o "$out/DemoTabulix.xlsx" >/dev/null
  build/spreadsheet/chart_sample_workbook "$out/Graficos.xlsx"
  books=("$out/DemoTabulix.xlsx" "$out/Graficos.xlsx")
fi
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
for book in "${books[@]}"; do
  name="$(basename "${book%.*}")"
  "$soffice" -env:UserInstallation="file://$profile" --headless --norestore --convert-to pdf --outdir "$out" "$book" \
    >/dev/null 2>&1
  pdftoppm -r 60 -png "$out/$name.pdf" "$out/$name"
  echo "$book: $(ls "$out/$name"-*.png | wc -l) page(s) in $out/$name-*.png"
done
