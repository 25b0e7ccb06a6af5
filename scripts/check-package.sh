#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# First-run check of the Debian package on this machine: builds the package,
# validates its desktop entry, AppStream metadata and lintian report, installs
# it with apt, runs the installed batch program on the example file, starts
# the installed program through its menu entry under Xvfb
# with a fresh home folder, waits for the window, takes a screenshot, computes
# a decree from the keyboard (which must write ~/info.ini), closes the program
# and removes the package again. Needs root (apt) or sudo.
# Leaves the screenshot and the logs in build-package/check/. Arguments go to
# the CMake configure step of scripts/package.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-package/check"
package=salary-decree
appId=org.example.SalaryDecree
title="محاسبه احکام کارگزینی"  # part of the window caption
desktopFile="/usr/share/applications/$appId.desktop"

passed=0
current="setting up"
pass() { passed=$((passed + 1)); echo "check-package: ok: $current"; }
fail() {
  echo "check-package: FAILED while $current: $*" >&2
  echo "package: $passed passed, 1 failed"
  exit 1
}
step() { current="$*"; echo "== check-package: $current"; }

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -y -q "$@"; }

step "installing the check's own tools"
tools=(desktop-file-utils appstream lintian file dpkg-dev xvfb xdotool x11-utils imagemagick libglib2.0-bin)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt_get update -qq
  apt_get install -qq --no-install-recommends "${missing[@]}" || fail "cannot install ${missing[*]}"
fi
pass

# Everything the script starts is ended and removed on the way out, also when
# a step fails half-way.
work="$(mktemp -d)"
xvfbPid=
appPid=
installed=0
cleanup() {
  if [ -n "$appPid" ]; then kill -KILL "$appPid" 2>/dev/null || true; fi
  if [ -n "$xvfbPid" ]; then kill "$xvfbPid" 2>/dev/null || true; fi
  if [ "$installed" = 1 ]; then apt_get remove "$package" >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

step "building the package"
"$root/scripts/package.sh" "$@" | tee "$work/package.log" || fail "scripts/package.sh failed"
deb="$(tail -n 1 "$work/package.log")"
[ -f "$deb" ] || fail "no package at '$deb'"
rm -rf "$out" && mkdir -p "$out"
pass

step "checking the package's control fields and contents"
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
# The libraries come only from dpkg-shlibdeps: without them CPack skipped it
# (it does so with a mere warning when 'file' is missing).
for dep in libqt6widgets6 libqt6printsupport6 libjpeg62-turbo libc6 qt6-qpa-plugins fonts-noto-core \
           qt6-translations-l10n libcsv3 libxlsxwriter4 libzip4 libexpat1; do
  grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep"
done
contents="$(dpkg-deb --contents "$deb")"
for f in /usr/bin/salary-decree "$desktopFile" /usr/share/metainfo/$appId.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/$appId.svg /usr/share/icons/hicolor/48x48/apps/$appId.png \
         /usr/share/doc/$package/copyright /usr/share/man/man1/$package.1.gz \
         /usr/bin/salary-decree-batch /usr/share/man/man1/salary-decree-batch.1.gz \
         /usr/share/doc/$package/examples/employees.csv /usr/share/doc/$package/examples/employees.xlsx; do
  grep -q " \.$f\$" <<<"$contents" || fail "the package lacks $f"
done
pass

step "validating the desktop entry and the AppStream metadata in the package"
dpkg-deb --extract "$deb" "$work/unpacked"
desktop-file-validate "$work/unpacked$desktopFile" || fail "desktop-file-validate"
appstreamcli validate --no-net --strict "$work/unpacked/usr/share/metainfo/$appId.metainfo.xml" \
  || fail "appstreamcli validate"
pass

step "running lintian"
# The package is clean down to lintian's pedantic tags: a new warning fails
# the check, a new note is only printed.
lintian --fail-on error,warning --display-info --pedantic "$deb" 2>"$work/lintian.err" | tee "$out/lintian.txt" \
  || fail "lintian reports errors or warnings: $(cat "$work/lintian.err")"
[ ! -s "$out/lintian.txt" ] || echo "(lintian notes above)"
pass

step "installing the package with apt"
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
  apt_get remove "$package" >/dev/null || fail "cannot remove the $package installed before"
fi
# apt reads a local package as the unprivileged _apt user: give it a readable copy.
mkdir -p "$work/deb" && cp "$deb" "$work/deb/" && chmod -R a+rX "$work"
installed=1
localDeb="$work/deb/$(basename "$deb")"
# A dependency that is not installed yet needs fresh package lists.
apt_get install "$localDeb" || { apt_get update -qq && apt_get install "$localDeb"; } || fail "apt-get install"
[ -x /usr/bin/salary-decree ] || fail "/usr/bin/salary-decree is missing after the install"
desktop-file-validate "$desktopFile" || fail "the installed desktop entry does not validate"
pass

step "running the installed batch program on the example file"
# The example holds decrees A and B, a refused row and A in Persian digits:
# exit 1, every row in the CSV, the identification columns and the refused
# row on standard error; the workbook of the same employees gives the same.
example=/usr/share/doc/$package/examples/employees.csv
status=0
(cd "$work" && env -i PATH=/usr/bin:/bin LANG=C.UTF-8 salary-decree-batch "$example") \
  >"$out/batch.csv" 2>"$out/batch.err" || status=$?
[ "$status" = 1 ] || fail "salary-decree-batch exited with $status, not 1: $(cat "$out/batch.err")"
[ "$(wc -l <"$out/batch.csv")" = 5 ] || fail "expected a header and 4 rows: $(cat "$out/batch.csv")"
grep -q ',11739440,,' "$out/batch.csv" || fail "decree A's grand total 11739440 is not in the CSV"
grep -q ',14914500,,' "$out/batch.csv" || fail "decree B's grand total 14914500 is not in the CSV"
[ "$(wc -l <"$out/batch.err")" = 2 ] && grep -q "employees.csv:4: " "$out/batch.err" \
  || fail "expected a note and one refused row, line 4: $(cat "$out/batch.err")"
status=0
(cd "$work" && env -i PATH=/usr/bin:/bin LANG=C.UTF-8 salary-decree-batch "${example%.csv}.xlsx") \
  >"$out/batch-xlsx.csv" 2>"$out/batch-xlsx.err" || status=$?
[ "$status" = 1 ] || fail "salary-decree-batch on the workbook exited with $status: $(cat "$out/batch-xlsx.err")"
cmp -s "$out/batch.csv" "$out/batch-xlsx.csv" || fail "the example workbook gives other results than its CSV"
salary-decree-batch --version | grep -q "^salary-decree-batch " || fail "salary-decree-batch --version"
man -w salary-decree-batch >/dev/null 2>&1 || [ ! -x /usr/bin/man ] || fail "man cannot find salary-decree-batch(1)"
pass

step "starting the installed program from its menu entry under Xvfb"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfbPid=$!
exec 3>&-
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$out/xvfb.log")"
display=":$(cat "$work/display")"
home="$work/home"
mkdir "$home" && mkdir -m 700 "$work/runtime"
# A desktop session's environment, not this script's (test.sh sets the
# offscreen platform and the sanitizer options). gio launches the desktop
# entry as GNOME does; it runs from / so that only the entry itself can put
# the program in the home folder.
(cd / && env -i HOME="$home" USER="$(id -un)" LANG=C.UTF-8 PATH=/usr/local/bin:/usr/bin:/bin \
   DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" \
   gio launch "$desktopFile" >"$out/program.log" 2>&1) || fail "gio launch: $(cat "$out/program.log")"
window=
for _ in $(seq 300); do  # 30 s
  window="$(DISPLAY="$display" xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1)" || true
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no window titled '$title' within 30 s; program output: $(cat "$out/program.log")"
appPid="$(DISPLAY="$display" xdotool getwindowpid "$window")" || fail "the window has no _NET_WM_PID"
[ "$(readlink "/proc/$appPid/exe")" = /usr/bin/salary-decree ] \
  || fail "the window belongs to $(readlink "/proc/$appPid/exe"), not the installed program"
[ "$(readlink "/proc/$appPid/cwd")" = "$home" ] \
  || fail "the program runs in $(readlink "/proc/$appPid/cwd"), not in the home folder $home"
echo "window $window, process $appPid, working directory $home"
pass

step "taking a screenshot"
sleep 2  # let the first frames paint
DISPLAY="$display" import -window root "$out/screenshot.png" || fail "import"
eval "$(DISPLAY="$display" xdotool getwindowgeometry --shell "$window")"
# A window that painted nothing is one flat colour.
colours="$(identify -format '%k' "$out/screenshot.png[${WIDTH}x${HEIGHT}+${X}+${Y}]")"
echo "screenshot: $out/screenshot.png (window ${WIDTH}x${HEIGHT} at $X,$Y, $colours colours)"
[ "$colours" -ge 16 ] || fail "the window shows only $colours colours"
pass

step "computing a decree from the keyboard; info.ini must land in the home folder"
keys() { DISPLAY="$display" xdotool key --delay 40 "$@"; }
# Each argument is typed into the focused field, then Enter moves on; "-" leaves the field as it is.
entries() {
  local v
  for v in "$@"; do
    if [ "$v" != - ]; then DISPLAY="$display" xdotool type --delay 40 "$v"; fi
    keys Return
  done
}
DISPLAY="$display" timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
# The focus starts in the employee group; eight Shift+Tabs lead back to the coefficient.
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
entries 3000 50000000 60000000 70000000 5000000 2000000 - -  # the base figures, then on to the group
entries 5 - 10000000 500000 5 -                            # group ... note-12 difference
keys Down                                                   # an insurance type; the focus moves on
entries - - - - - -                                         # children and five check boxes
entries 10 10 - - - - - - - - - -                           # percentages, then onto the compute button
keys Return
for _ in $(seq 100); do [ -s "$home/info.ini" ] && break; sleep 0.1; done
sleep 1
DISPLAY="$display" import -window root "$out/screenshot-result.png" || fail "import"
[ -s "$home/info.ini" ] || fail "no info.ini in the home folder after computing (see $out/screenshot-result.png)"
[ "$(head -n 1 "$home/info.ini" | tr -d '\r')" = 3000 ] \
  || fail "info.ini does not start with the coefficient typed: $(head -n 1 "$home/info.ini")"
echo "info.ini in $home; screenshot: $out/screenshot-result.png"
pass

step "closing the program"
# gio has exited, so the program is not our child: it has ended when its
# /proc entry is gone or a zombie left for its new parent to reap.
running() { [ -r "/proc/$1/stat" ] && [ "$(sed 's/.*) //' "/proc/$1/stat" | cut -d ' ' -f 1)" != Z ]; }
kill -TERM "$appPid"
for _ in $(seq 100); do running "$appPid" || break; sleep 0.1; done
! running "$appPid" || fail "process $appPid still runs 10 s after SIGTERM"
appPid=
pass

step "removing the package"
apt_get remove "$package" || fail "apt-get remove"
installed=0
! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
  || fail "$package is still installed"
if [ -e /usr/bin/salary-decree ] || [ -e /usr/bin/salary-decree-batch ] || [ -e "$desktopFile" ]; then
  fail "files are left behind"
fi
pass

echo "package: $passed passed, 0 failed"
