#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the build, the tests and the program need.
# Only what is missing is installed, so a second run costs a few milliseconds.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins
  qt6-translations-l10n qt6-l10n-tools
  libjpeg62-turbo-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-core fonts-noto-ui-core fonts-dejavu-core
  libcli11-dev libcsv-dev nlohmann-json3-dev libxlsxwriter-dev libzip-dev libexpat1-dev
  libboost-dev
  g++-aarch64-linux-gnu qemu-user-static
  python3 python3-openpyxl poppler-utils
  xvfb xauth x11-utils xdotool
  at-spi2-core python3-pyatspi dbus-daemon
  emscripten libboost-dev chromium chromium-driver python3-selenium
)

# The libraries the arm64 cross build links (cmake/aarch64-linux-gnu.cmake), as
# multiarch :arm64 packages. Headers the same on every processor (Boost,
# nlohmann-json, CLI11) come from the packages above.
arm64_packages=(libgtest-dev libjpeg62-turbo-dev libcsv-dev libxlsxwriter-dev zlib1g-dev libzip-dev libexpat1-dev)

# Only the fuzz run of scripts/test.sh uses these (libFuzzer); everything else,
# the corpus replay included, builds with gcc. Failing to get them is not fatal.
optional=(clang-14 libclang-rt-14-dev)

# One dpkg-query for every installed package, as " name:architecture ".
native="$(dpkg --print-architecture)"
installed=" $(dpkg-query -W -f='${db:Status-Abbrev}${Package}:${Architecture}\n' 2>/dev/null | sed -n 's/^ii *//p' | tr '\n' ' ') "
has() { [[ "$installed" == *" $1 "* ]]; }
missing=()
for p in "${packages[@]}"; do has "$p:$native" || has "$p:all" || missing+=("$p"); done
for p in "${arm64_packages[@]}"; do has "$p:arm64" || missing+=("$p:arm64"); done
missing_optional=()
for p in "${optional[@]}"; do has "$p:$native" || has "$p:all" || missing_optional+=("$p"); done

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
if [ ${#arm64_packages[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $SUDO dpkg --add-architecture arm64
fi
if [ ${#missing[@]} -gt 0 ] || [ ${#missing_optional[@]} -gt 0 ]; then
  # Offline with only the optional packages missing: carry on without them.
  $SUDO apt-get update -qq || [ ${#missing[@]} -eq 0 ]
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ ${#missing_optional[@]} -gt 0 ]; then
  echo "Installing (optional, for fuzzing): ${missing_optional[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing_optional[@]}" ||
    echo "Could not install ${missing_optional[*]}: the fuzz run will be skipped"
fi
