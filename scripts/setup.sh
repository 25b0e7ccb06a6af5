#!/bin/bash
# Installs the Debian 12 packages the build, the tests and the program need.
# Only what is missing is installed, so a second run costs a few milliseconds.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins
  libjpeg62-turbo-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-core fonts-noto-ui-core fonts-dejavu-core
  poppler-utils
  xvfb xauth x11-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
