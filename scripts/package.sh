#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package into build-package/ and prints its path last.
# Arguments go to the CMake configure step (e.g. -DNAME=value cache settings).
# The program is compiled with Debian's own flags (dpkg-buildflags: -O2,
# stack protector, _FORTIFY_SOURCE, relro and bind-now), as a Debian
# package of it would be; CPack strips it and asks dpkg-shlibdeps for the
# library dependencies.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-package"
"$root/scripts/setup.sh"
cd "$root"  # dpkg-buildflags maps this folder out of the debug paths

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags="$(dpkg-buildflags --get CPPFLAGS)"
cmake -S "$root" -B "$build" \
  -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DDECREE_BUILD_GUI=ON -DDECREE_BUILD_TESTS=OFF -DDECREE_BUILD_BENCH=OFF -DDECREE_SANITIZE=OFF \
  "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

# A package left from an older version would be taken for this one.
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package.sh: expected one .deb in $build, found: ${debs[*]}" >&2
  exit 1
fi
echo "${debs[0]}"
