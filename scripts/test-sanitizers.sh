#!/usr/bin/env bash
# Builds the library, mokcli and the toolkit-free test suite with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (no recovery: the first
# report fails the test) into build-sanitize/ and runs every test under ctest.
# The Qt program and its tests are left out: they are a thin layer over the
# same library, and an instrumented Qt build would double the build time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=build-sanitize
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DMOK_BUILD_SHELL=OFF -DMOK_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure -j "$(nproc)"
