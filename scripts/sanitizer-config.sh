# Sourced by scripts/fuzz.sh and scripts/sanitize.sh: configures build-fuzz/, the build with
# AddressSanitizer and UndefinedBehaviorSanitizer (libraries, programs, tests and the libFuzzer
# targets), compiled with clang so that libFuzzer is there. Run from the source folder.

sanitizer_build=build-fuzz

configure_sanitizer_build() {
  local cc cxx
  cc="$(command -v clang-14 || command -v clang || true)"
  cxx="$(command -v clang++-14 || command -v clang++ || true)"
  if [ -z "$cc" ] || [ -z "$cxx" ]; then
    echo "clang is not installed (Debian: clang-14 libclang-rt-14-dev)" >&2
    return 2
  fi
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$sanitizer_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_CXX_COMPILER="$cxx" -DTABULIX_FUZZ=ON -DTABULIX_SANITIZE=ON "${launcher[@]}" >/dev/null
}
