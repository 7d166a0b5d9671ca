#!/usr/bin/env bash
# Regenerates the README's pictures in docs/ with the host program itself:
# the whole feed with the library (Velin Mode off and on) and without it, the
# account settings with the library's button, the Tavelin preferences with
# Velin Mode off and on, and the preferences framework's gallery.
# TAVELIN_BUILD_DIR names an already configured build folder to use instead
# of the default preset's.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TAVELIN_BUILD_DIR:-build/default}
if [[ -z ${TAVELIN_BUILD_DIR:-} ]]; then
  scripts/setup.sh
  cmake --preset default >/dev/null
fi
cmake --build "$build" --target tavelin-host Tavelin KLPGallery >/dev/null
host=$build/host/tavelin-host

# A device root of its own, so that the pictures leave the staged settings alone.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cp -r "$build/root/." "$root"
mkdir -p docs

pictures=(feed feed-velin-on feed-without-library account-settings tavelin-off tavelin-on gallery)
for name in "${pictures[@]}"; do rm -f "docs/$name.png"; done
log=$root/session.log

# Runs the host on the session commands from standard input.
session() {
  "$host" --root "$root" "$@" --script - >>"$log"
}

session --velin off <<'COMMANDS'
snapshot docs/feed.png --full
settings
snapshot docs/account-settings.png
tap right
snapshot docs/tavelin-off.png
flip "Velin Mode" on
snapshot docs/tavelin-on.png
feed
snapshot docs/feed-velin-on.png --full
gallery
snapshot docs/gallery.png
COMMANDS

session --no-inject <<'COMMANDS'
snapshot docs/feed-without-library.png --full
COMMANDS

for name in "${pictures[@]}"; do
  if [[ ! -f docs/$name.png ]]; then
    cat "$log" >&2
    echo "pictures: docs/$name.png was not made; the session above says why" >&2
    exit 1
  fi
  echo "docs/$name.png"
done
