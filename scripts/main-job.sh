#!/usr/bin/env bash
# Installs what is missing, builds, and writes the sample report workbook.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
out="${1:-$PWD/out/sample.xlsx}"
mkdir -p "$(dirname "$out")"
build/spreadsheet/sample_workbook "$out"
echo "Sample workbook written to $out"
