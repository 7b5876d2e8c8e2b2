#!/usr/bin/env bash
# Builds the project with ThreadSanitizer into build-tsan/ and runs the test suite there; a
# report of a data race (or of a lock-order inversion) fails the test that caused it.
#
#   scripts/tsan.sh                the whole suite
#   scripts/tsan.sh -L threads     only the tests that start threads of their own (a few minutes)
#   scripts/tsan.sh -R Batch       any other ctest selection
#
# Not part of scripts/test.sh: the instrumented build and the suite under it take several times
# as long as the default run, so CI runs this as a job of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABULIX_TSAN=ON "${launcher[@]}" >/dev/null
cmake --build build-tsan -j "$(nproc)"
# exitcode: a test that raced fails even when its own checks passed. handle_segv=0: a program
# that crashes on purpose (a test of what a crash leaves behind) dies by its signal, as it would
# without the sanitizer.
export TSAN_OPTIONS="exitcode=66 handle_segv=0 halt_on_error=0 second_deadlock_stack=1 history_size=4 suppressions=$PWD/scripts/tsan.supp ${TSAN_OPTIONS:-}"
ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" --timeout 1500 "$@"
