#!/usr/bin/env bash
# Installs what is missing, builds the tabulix command (only it: the tests, the benchmarks and the
# Qt programs are built by scripts/test.sh), and transfers the demonstration's sample table with
# the demonstration's settings (demo/DemoTabulix.form) into a workbook. An argument names the
# workbook to write instead of out/DemoTabulix.xlsx.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh --target tabulix
out="${1:-$PWD/out/DemoTabulix.xlsx}"
mkdir -p "$(dirname "$out")"
build/cli/tabulix demo/DemoTabulix.form -o "$out"
echo "Workbook written to $out"
