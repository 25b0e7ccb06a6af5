#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing and builds the web edition: build-web/site/index.html,
# one self-contained page. Arguments go to the CMake configure step
# (e.g. -DDECREE_AUTHOR_NAME=...).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-web"

packages=(emscripten cmake python3 libboost-dev chromium chromium-driver python3-selenium poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# emscripten's optimizer needs acorn, which node finds only in Debian's own
# module folder.
export NODE_PATH=/usr/share/nodejs
# Debian ships the system libraries prebuilt in emscripten's cache. Where that
# folder cannot be written (not root), a copy in the build folder serves.
if [ ! -w /usr/share/emscripten/cache ]; then
  export EM_CACHE="$build/em-cache"
  if [ ! -d "$EM_CACHE/sysroot" ]; then
    mkdir -p "$EM_CACHE"
    cp -r /usr/share/emscripten/cache/. "$EM_CACHE/"
  fi
fi

emcmake cmake -S "$root/web" -B "$build" "$@" >/dev/null
cmake --build "$build" --parallel "${DECREE_WEB_JOBS:-$(nproc)}"
echo "$build/site/index.html ($(stat -c %s "$build/site/index.html") bytes)"
