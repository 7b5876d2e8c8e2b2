#!/usr/bin/env bash
# Runs the threaded report program (several threads, each its own query and component, the same
# large table at once) again and again and counts how the runs ended: a data race shows as a
# crash (a signal), a failed run or a workbook that is not a valid .xlsx.
#
#   scripts/threaded_runs.sh [RUNS] [BUILD_DIR] [-- program options, e.g. --threads 4 --rows 200000]
set -uo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"
build="${2:-build}"
shift $(( $# < 2 ? $# : 2 ))
[ "${1:-}" = "--" ] && shift
program="$build/component/threaded_reports"
[ -x "$program" ] || { echo "threaded_runs: $program is not built (cmake --build $build --target threaded_reports)" >&2; exit 2; }
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
declare -A endings
bad=0
for ((i = 1; i <= runs; i++)); do
  rm -f "$folder"/thread*.xlsx
  start=$(date +%s.%N)
  "$program" "$folder" "$@" >"$folder/out" 2>&1
  code=$?
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  if [ $code -gt 128 ]; then ending="signal $((code - 128))"; else ending="exit $code"; fi
  if [ $code -eq 0 ]; then
    for book in "$folder"/thread*.xlsx; do
      python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); sys.exit(z.testzip() is not None)' "$book" \
        || { ending="damaged workbook"; break; }
    done
  fi
  endings[$ending]=$(( ${endings[$ending]:-0} + 1 ))
  [ "$ending" = "exit 0" ] || { bad=$((bad + 1)); sed 's/^/    /' "$folder/out" | tail -5; }
  printf 'run %d: %s (%.1f s)\n' "$i" "$ending" "$seconds"
done
for ending in "${!endings[@]}"; do echo "$ending: ${endings[$ending]} of $runs"; done
exit $(( bad == 0 ? 0 : 1 ))
