#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
# ORVDOCS_SANITIZE=1 builds and runs it under AddressSanitizer and UBSan (in build-asan/).
# ORVDOCS_SANITIZE=thread builds and runs it under ThreadSanitizer (in build-tsan/), with the
# suppressions of tests/tsan.supp for races inside system libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
build=build
flags=()
case "${ORVDOCS_SANITIZE:-0}" in
  0|"") ;;
  1|ON|on|address)
    build=build-asan
    flags+=(-DORVDOCS_SANITIZE=ON -DORVDOCS_BENCH=OFF)
    ;;
  thread)
    build=build-tsan
    flags+=(-DORVDOCS_SANITIZE=thread -DORVDOCS_BENCH=OFF)
    # Any report fails the test that caused it (exit code 66 at the end of the process).
    export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
    ;;
  *)
    echo "ORVDOCS_SANITIZE=${ORVDOCS_SANITIZE}: use 1 (ASan and UBSan), thread (TSan) or leave it unset" >&2
    exit 2
    ;;
esac
# ORVDOCS_WERROR=1 (set by .ci/run) turns compiler warnings into errors.
if [ "${ORVDOCS_WERROR:-0}" = "1" ]; then
  flags+=(-DORVDOCS_WERROR=ON)
else
  flags+=(-DORVDOCS_WERROR=OFF)
fi
cmake -S . -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build" -j 2
ctest --test-dir "$build" --output-on-failure -j 2 --timeout 600
