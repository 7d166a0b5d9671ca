#!/usr/bin/env bash
# Builds the host program and the library, then runs the host with Tavelin
# injected: the guided tour by default. Arguments go to the host program
# (try --help); file names in them are taken from the folder this is run in.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/scripts/setup.sh" run
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! (cd "$repo" && cmake --preset default) >"$log" 2>&1; then
  cat "$log" >&2
  echo "run: configuring the build failed; the messages above say why" >&2
  exit 1
fi
echo "run: building the host program and the library (the first build takes a few minutes)" >&2
if ! (cd "$repo" && cmake --build --preset default --target tavelin-host Tavelin KLPGallery) >&2; then
  echo "run: the build failed; the compiler's messages are above" >&2
  exit 1
fi
rm -f "$log"
trap - EXIT
exec "$repo/build/default/host/tavelin-host" "$@"
