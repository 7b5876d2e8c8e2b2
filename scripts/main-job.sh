#!/usr/bin/env bash
# Installs what is missing, builds, and transfers the demonstration's sample table with the
# demonstration's settings (demo/DemoTabulix.form) into a workbook. An argument names the
# workbook to write instead of out/DemoTabulix.xlsx.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
out="${1:-$PWD/out/DemoTabulix.xlsx}"
mkdir -p "$(dirname "$out")"
build/cli/tabulix demo/DemoTabulix.form -o "$out"
echo "Workbook written to $out"
