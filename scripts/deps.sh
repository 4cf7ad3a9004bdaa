#!/usr/bin/env bash
# Installs the Debian 12 packages MOK needs to build, run and test, when any
# is missing. Uses sudo when not run as root.
set -euo pipefail
# clang, its sanitizer and libFuzzer runtimes and the LLVM tools (symbolizer)
# serve scripts/test-sanitizers.sh and scripts/fuzz.sh.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev
          libgtest-dev libgmock-dev libbenchmark-dev libosmesa6-dev python3 python3-pil
          dpkg-dev desktop-file-utils libxml2-utils shared-mime-info
          xvfb xdotool clang libclang-rt-14-dev llvm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
