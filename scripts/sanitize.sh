#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/ (clang,
# the build scripts/fuzz.sh uses) and runs the whole test suite there. Reports that come from
# other libraries (fontconfig's and LibreOffice's caches) are suppressed with the lists in
# scripts/sanitizers/, and the vptr check is off for the code that calls LibreOffice (see
# office/CMakeLists.txt), so that any report left is about our code; a report fails its test.
# Extra arguments go to ctest (for example -R data_tests).
#   scripts/sanitize.sh [CTEST ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-config.sh
configure_sanitizer_build || exit 2
cmake --build "$sanitizer_build" -j "$(nproc)"

lists="$PWD/scripts/sanitizers"
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$lists/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$lists/ubsan.supp:print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$sanitizer_build" --output-on-failure -j "$(nproc)" --timeout 900 "$@"
