#!/usr/bin/env bash
# Builds and runs the whole test suite: once checked, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Test discovery runs the test programs during the build, sanitized ones too.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
for preset in default sanitize; do
  echo "== $preset: configure and build" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test" >&2
  ctest --preset "$preset"
done
