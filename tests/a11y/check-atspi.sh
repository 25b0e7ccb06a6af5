#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the window under Xvfb on a private session bus with the accessibility
# bus running, as a desktop with a screen reader has it, and lets
# input_panel.py walk it over AT-SPI the way Orca does.
# Usage: check-atspi.sh PROGRAM. Exit 77 (skipped) when the tools are missing.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
self="$here/$(basename "$0")"
launcher=/usr/libexec/at-spi-bus-launcher

if [ "${1:-}" = --inside ]; then
  # On the session bus, with DISPLAY set.
  program="$2"
  log="$3"
  "$launcher" --launch-immediately >/dev/null 2>&1 &
  launcherPid=$!
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" >"$log" 2>&1 &
  appPid=$!
  /usr/bin/python3 "$here/input_panel.py"
  status=$?
  kill "$appPid" "$launcherPid" 2>/dev/null
  wait "$appPid" 2>/dev/null
  exit $status
fi

for tool in Xvfb dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "check-atspi: $tool is missing" >&2; exit 77; }
done
[ -x "$launcher" ] || { echo "check-atspi: $launcher is missing (at-spi2-core)" >&2; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "check-atspi: python3-pyatspi is missing" >&2; exit 77; }

program="$(realpath "$1")"
work="$(mktemp -d)"
xvfbPid=
cleanup() {
  [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Xvfb picks a free display itself and says which: no race with other X servers.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfbPid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "check-atspi: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
# The program keeps info.ini in its working folder: a fresh one.
cd "$work"
DISPLAY=":$(cat "$work/display")" dbus-run-session -- "$self" --inside "$program" "$work/program.log"
status=$?
[ $status -eq 0 ] || { echo "program output:"; cat "$work/program.log"; }
exit $status
