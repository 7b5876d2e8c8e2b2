#!/usr/bin/env bash
# Configures and builds into build/ (extra arguments go to CMake's configure step). Uses ccache
# when the machine has it, so that several checkouts of the project share their compiled files.
# TABULIX_BUILD_TYPE chooses the CMake build type (RelWithDebInfo unless set).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${TABULIX_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@" >/dev/null
cmake --build build -j "$(nproc)"
