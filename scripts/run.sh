#!/usr/bin/env bash
# Builds the library and runs the command-line host's demonstration on a
# document store file: build/orvdocs-demo.db, or the file named by ORVDOCS_DB
# (or --db FILE). The first run creates the store and fills it from data/store;
# a later run reads back what the earlier ones stored. Remove the file to start
# again. Further options: build/orvdocs-host --help.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target orvdocs-host
exec build/orvdocs-host "$@"
