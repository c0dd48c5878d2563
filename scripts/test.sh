#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
# ORVDOCS_SANITIZE=1 builds and runs it under AddressSanitizer and UBSan (in build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
build=build
flags=()
if [ "${ORVDOCS_SANITIZE:-0}" = "1" ]; then
  build=build-asan
  flags+=(-DORVDOCS_SANITIZE=ON -DORVDOCS_BENCH=OFF)
fi
# ORVDOCS_WERROR=1 (set by .ci/run) turns compiler warnings into errors.
if [ "${ORVDOCS_WERROR:-0}" = "1" ]; then
  flags+=(-DORVDOCS_WERROR=ON)
else
  flags+=(-DORVDOCS_WERROR=OFF)
fi
cmake -S . -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build" -j 2
ctest --test-dir "$build" --output-on-failure -j 2 --timeout 600
