#!/usr/bin/env bash
# Builds the library and runs the command-line host's demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target orvdocs-host
exec build/orvdocs-host "$@"
