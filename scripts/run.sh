#!/usr/bin/env bash
# Builds the orvdocs tool, creates a sample store from the repository's sample
# company (data/sample) and shows with the tool an employee's documents for a
# month, one document in full and a month's calculation.
#
#   scripts/run.sh                 the above, on build/sample.db (made anew)
#   scripts/run.sh COMMAND ARGS... runs `orvdocs COMMAND ARGS...` (build/orvdocs --help)
#
# The old demonstration runs as `scripts/run.sh demo [STORE]`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target orvdocs-cli
if [ $# -gt 0 ]; then
    exec build/orvdocs "$@"
fi
store=build/sample.db
rm -f "$store" "$store-wal" "$store-shm"
step() { echo; echo "\$ orvdocs $*"; build/orvdocs "$@"; }
step init "$store"
step import "$store" data/sample/company.xml data/sample/correction.xml
step list "$store" --employee 1 --month 2025-11
step show "$store" 12
step month "$store" --employee 1 --month 2025-11
step history "$store" 2
