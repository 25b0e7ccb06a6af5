#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDECREE_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build" --parallel "$(nproc)"
exec "$root/build/app/salary-decree"
