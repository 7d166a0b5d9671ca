#!/usr/bin/env bash
# Installs the Debian packages that are missing, on Debian 12: with "run",
# only what building and running the host program needs; otherwise also what
# testing, measuring and fuzzing need.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libobjc-12-dev libxml2-dev liburcu-dev nlohmann-json3-dev libedit-dev
  libcairo2-dev libpango1.0-dev libpng-dev fontconfig fonts-inter fonts-dancingscript
  fonts-liberation fonts-noto-color-emoji fonts-dejavu-core
)
if [[ ${1:-} != run ]]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev strace python3
             libplist-dev gobjc gobjc++ libgnustep-base-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
