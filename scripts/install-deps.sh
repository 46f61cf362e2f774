#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vorlix needs (run as root).
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config git clang-format
          libicu-dev libpugixml-dev libgif-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
          dpkg-dev file lintian qt6-base-dev
          fonts-liberation2 poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
