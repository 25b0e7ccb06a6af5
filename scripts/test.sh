#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test: once as a
# normal build (formulas in the x87 long double), once under AddressSanitizer +
# UndefinedBehaviorSanitizer with the formulas in the portable type, and the
# cores cross-built for arm64 with their tests under qemu-user-static.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen
# Each step says when it starts, in seconds since the run began.
step() { echo "== $* (at ${SECONDS}s)"; }

# The web edition's page first: the normal build's tests drive it in Chromium.
step "web edition"
"$root/scripts/web.sh"

step "normal build"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDECREE_BUILD_BENCH=ON >/dev/null
cmake --build "$root/build-test" --parallel "$jobs"
ctest --test-dir "$root/build-test" --output-on-failure --parallel "$jobs"

step "sanitizer build (ASan + UBSan), formulas in the portable type"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DDECREE_SANITIZE=ON -DDECREE_PORTABLE_FLOAT=ON >/dev/null
cmake --build "$root/build-asan" --parallel "$jobs"
# Any report fails the run: UBSan aborts on its first finding, ASan exits non-zero.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs"

step "arm64: the cores cross-built, their tests under qemu-user-static"
cmake -S "$root" -B "$root/build-arm64" --toolchain "$root/cmake/aarch64-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDECREE_BUILD_GUI=OFF -DDECREE_BUILD_FUZZ_REPLAY=OFF >/dev/null
cmake --build "$root/build-arm64" --parallel "$jobs"
ctest --test-dir "$root/build-arm64" --output-on-failure --parallel "$jobs" --timeout 300

# The sanitizer ctest above also replayed every fuzz corpus. With clang
# installed, each fuzz target now runs for a short while (DECREE_FUZZ_SECONDS).
step "fuzzing"
"$root/fuzz/run-fuzzers.sh" "${DECREE_FUZZ_SECONDS:-30}"

step "Debian package: build, install, first start, removal"
"$root/scripts/check-package.sh"

step "all done"
