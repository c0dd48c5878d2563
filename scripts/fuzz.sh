#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each for a while.
#
#   scripts/fuzz.sh [seconds] [target...]
#
# seconds: how long each target runs at most (default 60; a target also stops after ten
# million executions, so `scripts/fuzz.sh 1800` is the long run of every target). Targets: dom, platform,
# values, registry, xmlforms, bodies, store, json (default: all). Each target's working corpus is kept in
# build-fuzz/corpus/<target> (it grows from fuzz/corpus/<target>, the seeds);
# crashes, leaks and timeouts are written to build-fuzz/artifacts/<target>/.
# Exits non-zero when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(dom platform values registry xmlforms bodies store json)

# clang with its libFuzzer and sanitizer runtimes (Debian 12: clang 14).
scripts/ensure-deps.sh clang libclang-rt-14-dev

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DORVDOCS_FUZZ=ON \
  -DORVDOCS_TESTS=OFF -DORVDOCS_BENCH=OFF >/dev/null
cmake --build build-fuzz -j 2 --target "${targets[@]/#/fuzz_}"

status=0
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  artifacts=build-fuzz/artifacts/$t
  mkdir -p "$corpus" "$artifacts"
  echo "== fuzz_$t for ${seconds}s"
  if ! build-fuzz/fuzz/fuzz_$t -max_total_time="$seconds" -runs=10000000 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" "fuzz/corpus/$t" \
      2>"build-fuzz/fuzz_$t.log"; then
    echo "fuzz_$t found a problem; see build-fuzz/fuzz_$t.log and $artifacts/" >&2
    status=1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+[[:space:]]+DONE)' "build-fuzz/fuzz_$t.log" || true
done
exit $status
