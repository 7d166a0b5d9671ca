#!/usr/bin/env bash
# Regenerates the README's pictures in docs/ with the host program itself, on
# an iPhone 15 (at scale 2, to keep the files small), in the light and the
# dark appearance: the whole feed with the library (Velin Mode off and on) and
# without it, the account settings with the library's button, the Tavelin
# preferences with Velin Mode on, and the preferences framework's gallery.
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

names=(feed feed-velin-on feed-without-library account-settings tavelin-on gallery)
pictures=()
for name in "${names[@]}"; do pictures+=("$name" "$name-dark"); done
for name in "${pictures[@]}" tavelin-off; do rm -f "docs/$name.png"; done
log=$root/session.log

# Runs the host on the session commands from standard input in an appearance.
session() {
  local appearance=$1
  shift
  "$host" --root "$root" --device "iPhone 15" --scale 2 --appearance "$appearance" "$@" \
    --script - >>"$log"
}

# The screens with the library, pictures named with the suffix.
with_library() {
  session "$1" --velin off <<COMMANDS
snapshot docs/feed$2.png --full
settings
snapshot docs/account-settings$2.png
tap right
flip "Velin Mode" on
snapshot docs/tavelin-on$2.png
feed
snapshot docs/feed-velin-on$2.png --full
gallery
snapshot docs/gallery$2.png
COMMANDS
}

for appearance in light dark; do
  suffix=$([[ $appearance == dark ]] && echo -dark || true)
  with_library "$appearance" "$suffix"
  echo "snapshot docs/feed-without-library$suffix.png --full" | session "$appearance" --no-inject
done

for name in "${pictures[@]}"; do
  if [[ ! -f docs/$name.png ]]; then
    cat "$log" >&2
    echo "pictures: docs/$name.png was not made; the session above says why" >&2
    exit 1
  fi
  echo "docs/$name.png"
done
