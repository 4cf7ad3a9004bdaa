#!/usr/bin/env bash
# Runs the soak (random commands, edits, strokes, saves and frames with the
# document's invariants checked after every step) for SECONDS (default 600)
# under ASan and UBSan, in the build scripts/test-sanitizers.sh makes.
# MOK_SOAK_SEED=N repeats a run; the seed in use is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
build=build-sanitize
[ -x "$build/bin/mok_tests" ] || { echo "run scripts/test-sanitizers.sh first" >&2; exit 1; }
export MOK_SOAK_SEED="${MOK_SOAK_SEED:-$(date +%s)}" MOK_SOAK_SECONDS="$seconds"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "soak: $seconds s, seed $MOK_SOAK_SEED"
exec "$build/bin/mok_tests" --gtest_filter='Soak.*' --gtest_output=xml:"$build/soak.xml"
