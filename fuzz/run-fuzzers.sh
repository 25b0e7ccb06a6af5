#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds every fuzz target with clang's libFuzzer (ASan + UBSan) and runs each
# for the given number of seconds, one after the other on one core, starting
# from the committed seeds. New inputs go to build-fuzz/corpus/<target>, not
# into the repository. Any finding fails the run; its input is kept in
# build-fuzz/findings/<target>/ (copy it to fuzz/regressions/<target>/ with
# the fix, so the replay test keeps it).
#
#   fuzz/run-fuzzers.sh SECONDS [TARGET...]
set -euo pipefail
seconds="${1:-60}"
shift || true
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

if ! command -v clang++-14 >/dev/null; then
  echo "clang++-14 not found: fuzzing skipped"
  exit 0
fi

cmake -S "$root/fuzz" -B "$build" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" --parallel 2 >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/fuzz_*; do targets+=("$(basename "$program" | sed 's/^fuzz_//')"); done
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for name in "${targets[@]}"; do
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  log="$build/logs/$name.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  seeds=("$root/fuzz/corpus/$name")
  [ -d "$root/fuzz/regressions/$name" ] && seeds+=("$root/fuzz/regressions/$name")
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$findings/")
  [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
  [ -f "$root/fuzz/$name.options" ] && read -r -a extra < "$root/fuzz/$name.options" && options+=("${extra[@]}")
  echo "== fuzz $name for ${seconds}s"
  if "$build/fuzz_$name" "${options[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "   $runs runs, $rate per second, corpus $(ls "$corpus" | wc -l) inputs"
  else
    echo "   FINDING: see $log and $findings/"
    grep -E "ERROR|fuzz property failed|runtime error|SUMMARY" "$log" | head -5 || true
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz findings in: ${failed[*]}"
  exit 1
fi
