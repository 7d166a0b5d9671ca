#!/usr/bin/env bash
# Builds everything and runs the host program with Tavelin injected, on the
# built-in defaults. Arguments go to the host program (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tavelin-host Tavelin >/dev/null
exec build/default/host/tavelin-host "$@"
