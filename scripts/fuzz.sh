#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) into
# build-fuzz/ and runs each in turn for SECONDS seconds (default 60), one at a time, starting from
# its seed corpus in fuzz/corpus/NAME (NAME: the target without "fuzz_") and with the dictionary
# fuzz/NAME.dict where there is one. Prints each target's executions, rate, coverage (libFuzzer's
# cov and ft on its last status line), corpus size (inputs) and findings. Inputs
# that found new paths go to build-fuzz/corpus/TARGET, the inputs of findings to
# build-fuzz/findings/. Exits with 1 when anything was found.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true

source scripts/sanitizer-config.sh
configure_sanitizer_build || exit 2

if (($#)); then
  targets=("$@")
else
  mapfile -t targets < <(cmake --build build-fuzz --target help | grep -o '^fuzz_[a-z_]*' | sort -u)
fi
cmake --build build-fuzz -j 2 --target "${targets[@]}"

mkdir -p build-fuzz/findings
found=0
printf '%-22s %12s %10s %7s %7s %7s %9s\n' target executions per-second cov ft corpus findings
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  seeds="fuzz/corpus/${target#fuzz_}"
  mkdir -p "$corpus"
  log="build-fuzz/$target.log"
  status=0
  dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  dictionary=()
  [ -f "fuzz/${target#fuzz_}.dict" ] && dictionary=(-dict="fuzz/${target#fuzz_}.dict")
  "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    "${dictionary[@]}" -artifact_prefix="build-fuzz/findings/$target-" "${dirs[@]}" >"$log" 2>&1 || status=$?
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  time="$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  last="$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)"
  cov="$(grep -o 'cov: [0-9]*' <<<"$last" | grep -o '[0-9]*$' || echo -)"
  ft="$(grep -o 'ft: [0-9]*' <<<"$last" | grep -o '[0-9]*$' || echo -)"
  inputs="$(grep -o 'corp: [0-9]*' <<<"$last" | grep -o '[0-9]*$' || echo -)"
  findings="$(find build-fuzz/findings -name "$target-*" | wc -l)"
  if [ "$status" -ne 0 ]; then
    found=1
    [ "$findings" -eq 0 ] && findings="exit $status"
    echo "--- $target: see $log" >&2
    grep -m 5 -E 'ERROR|SUMMARY|runtime error|deadly signal|timeout' "$log" >&2 || true
  fi
  printf '%-22s %12s %10s %7s %7s %7s %9s\n' "$target" "$runs" "$time" "$cov" "$ft" "$inputs" "$findings"
done
exit "$found"
