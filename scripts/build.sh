#!/usr/bin/env bash
# Configures and builds into build/. `--target NAME` (repeatable) builds only those targets and
# what they need; other arguments go to CMake's configure step. Uses ccache when the machine has
# it, so that several checkouts of the project share their compiled files. TABULIX_BUILD_TYPE
# chooses the CMake build type (RelWithDebInfo unless set).
#   scripts/build.sh [--target NAME]... [-DOPTION=VALUE]...
set -euo pipefail
cd "$(dirname "$0")/.."
targets=()
configure=()
while (($#)); do
  case "$1" in
    --target) targets+=(--target "${2:?--target needs a name}"); shift 2 ;;
    *) configure+=("$1"); shift ;;
  esac
done
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${TABULIX_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "${configure[@]}" >/dev/null
cmake --build build -j "$(nproc)" "${targets[@]}"
