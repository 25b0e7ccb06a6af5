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
for tool in xvfb-run dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "check-atspi: $tool is missing" >&2; exit 77; }
done
[ -x "$launcher" ] || { echo "check-atspi: $launcher is missing (at-spi2-core)" >&2; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "check-atspi: python3-pyatspi is missing" >&2; exit 77; }

if [ "${1:-}" != --inside ]; then
  program="$(realpath "$1")"
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  # The program keeps info.ini in its working folder: a fresh one.
  cd "$work"
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    dbus-run-session -- "$self" --inside "$program"
fi

program="$2"
"$launcher" --launch-immediately >/dev/null 2>&1 &
launcherPid=$!
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
appPid=$!
/usr/bin/python3 "$here/input_panel.py"
status=$?
kill "$appPid" "$launcherPid" 2>/dev/null
wait "$appPid" 2>/dev/null
exit $status
