#!/usr/bin/env bash
# Builds the orvdocs tool, creates a sample store from the repository's sample
# company (data/sample) and shows with the tool an employee's documents for a
# month, one document in full, a month's calculation and a document's history;
# then the demonstration steps (documents, lists, month, vacation, sick leave,
# loan and salary grade from stored reference data) on build/demo.db, which the
# first run creates and later runs read back.
#
#   scripts/run.sh                 the above, on build/sample.db (made anew)
#   scripts/run.sh COMMAND ARGS... runs `orvdocs COMMAND ARGS...` (build/orvdocs --help)
#
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
step demo build/demo.db
