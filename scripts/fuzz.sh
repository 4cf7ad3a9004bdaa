#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, ASan and UBSan into
# build-fuzz/ and runs each for SECONDS (default 60), one after the other on
# one core, seeded from fuzz/make_seeds.py. Prints executions and executions
# per second per target; fails when any target reports a finding (the input
# is kept in build-fuzz/findings/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
seconds="${1:-60}"
build=build-fuzz
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DMOK_BUILD_SHELL=OFF -DMOK_BUILD_TESTS=OFF -DMOK_BUILD_BENCH=OFF -DMOK_BUILD_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -fsanitize-coverage-ignorelist=$PWD/fuzz/coverage_ignorelist.txt $sanitizers -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
targets=(mesh_pair info_file mapping_file md2 pcx bmp tga package_script klink_block)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

rm -rf "$build/seeds"
python3 fuzz/make_seeds.py "$build/seeds"
mkdir -p "$build/findings"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
failed=0
printf '%-14s %12s %10s\n' target executions "exec/s"
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log="$build/fuzz_$t.log"
  maxlen=65536
  case "$t" in pcx|bmp|tga) maxlen=16384 ;; klink_block) maxlen=4096 ;; esac
  if ! "$build/bin/fuzz_$t" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 -detect_leaks=0 \
      -print_final_stats=1 -artifact_prefix="$build/findings/${t}-" \
      "$build/corpus/$t" "$build/seeds/$t" >"$log" 2>&1; then
    failed=1
    echo "fuzz_$t: FINDING, see $log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  printf '%-14s %12s %10s\n' "$t" "${runs:-?}" "${speed:-?}"
done
exit "$failed"
