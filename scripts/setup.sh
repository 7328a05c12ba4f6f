#!/usr/bin/env bash
# Installs what the build and the tests need (Debian packages), when it is missing.
set -euo pipefail
packages=(cmake ninja-build ccache g++ clang dpkg-dev libclang-rt-14-dev libicu-dev libsqlite3-dev libgtest-dev
          libbenchmark-dev zlib1g-dev tzdata xdelta3 lhasa)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
