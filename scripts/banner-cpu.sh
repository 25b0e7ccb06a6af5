#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU use of the whole program while the banner animates: starts it under Xvfb
# (xcb platform) in a fresh folder, waits 5 s, then reads its user + system
# time from /proc over SECONDS seconds.
#   alone    the banner animates by itself, the mouse elsewhere;
#   stirred  the left button held on the banner and the pointer dragged to and
#            fro across all of it, a move every 10 ms (xdotool), for the whole
#            run; released off the banner at the end, so no click opens the
#            browser.
# Usage: scripts/banner-cpu.sh [PROGRAM] [SCALE] [SECONDS] [alone|stirred]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/app/salary-decree}")"
scale="${2:-1}"
seconds="${3:-30}"
mode="${4:-alone}"
case "$mode" in
  alone | stirred) ;;
  *) echo "banner-cpu.sh: unknown mode '$mode' (alone or stirred)" >&2; exit 2 ;;
esac
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1800x1500x24 -dpi 96" "$0" "$program" "$scale" "$seconds" "$mode"
fi
work="$(mktemp -d)"
pid=
dragger=
cleanup() {
  # The dragger stops after its current sweep of moves (about a second).
  touch "$work/stop"
  [ -n "$dragger" ] && wait "$dragger" 2>/dev/null
  [ "$mode" = stirred ] && xdotool mousemove 0 0 mouseup 1 2>/dev/null
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" "$program" >/dev/null 2>&1 &
pid=$!

if [ "$mode" = stirred ]; then
  command -v xdotool >/dev/null || { echo "banner-cpu.sh: stirred needs xdotool" >&2; exit 2; }
  window="$(xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)"
  eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
  # The banner: 375 x 237 at (16, 436) of the 785 x 691 client area, in
  # device pixels at this scale.
  read -r left top width height < <(awk -v s="$scale" -v x="$X" -v y="$Y" \
    'BEGIN { printf "%d %d %d %d\n", x + 16 * s, y + 436 * s, 375 * s, 237 * s }')
  # To and fro: 23 px across and 5 px down per move, reflected at the edges,
  # so the path crosses the whole banner again and again.
  reflect() { local v=$(($1 % (2 * $2))); echo $((v < $2 ? v : 2 * $2 - 1 - v)); }
  xdotool mousemove "$left" "$top" mousedown 1
  (
    i=0
    while [ ! -e "$work/stop" ]; do
      chain=()
      for _ in $(seq 100); do
        i=$((i + 1))
        chain+=(mousemove $((left + $(reflect $((i * 23)) "$width"))) $((top + $(reflect $((i * 5)) "$height")))
                sleep 0.01)
      done
      xdotool "${chain[@]}"
      echo "$i" >"$work/moves"
    done
  ) &
  dragger=$!
fi

sleep 5
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
moves() { cat "$work/moves" 2>/dev/null || echo 0; }
before="$(ticks)"
moves_before="$(moves)"
sleep "$seconds"
after="$(ticks)"
moves_after="$(moves)"
hz="$(getconf CLK_TCK)"
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v scale="$scale" -v mode="$mode" \
  -v m=$((moves_after - moves_before)) \
  'BEGIN { printf "scale %s, %s: %.2f %% of one core over %d s", scale, mode, 100 * t / hz / s, s
           if (mode == "stirred") printf " (%.0f pointer moves a second)", m / s
           printf "\n" }'
