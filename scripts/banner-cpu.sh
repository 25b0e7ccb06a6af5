#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU use of the whole program while the banner animates by itself: starts it
# under Xvfb (xcb platform) in a fresh folder, waits 5 s, then reads its user +
# system time from /proc over SECONDS seconds.
# Usage: scripts/banner-cpu.sh [PROGRAM] [SCALE] [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/app/salary-decree}")"
scale="${2:-1}"
seconds="${3:-30}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1800x1500x24 -dpi 96" "$0" "$program" "$scale" "$seconds"
fi
work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" "$program" >/dev/null 2>&1 &
pid=$!
sleep 5
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before="$(ticks)"
sleep "$seconds"
after="$(ticks)"
hz="$(getconf CLK_TCK)"
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v scale="$scale" \
  'BEGIN { printf "scale %s: %.2f %% of one core over %d s\n", scale, 100 * t / hz / s, s }'
