#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Decrees and text conversions per second with the x87 long double and with
# the portable type, side by side. Takes a build made with
# -DDECREE_BUILD_BENCH=ON and without DECREE_PORTABLE_FLOAT (default build-test).
#
#   bench/extended-bench.sh [BUILD]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
cmake --build "$build" --target extended_bench extended_bench_portable >/dev/null
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$build/bench/extended_bench" --benchmark_format=json --benchmark_repetitions=3 >"$out/x87.json"
"$build/bench/extended_bench_portable" --benchmark_format=json --benchmark_repetitions=3 >"$out/portable.json"
/usr/bin/python3 - "$out/x87.json" "$out/portable.json" <<'PY'
import json, sys
def medians(path):
    rows = {}
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name") == "median":
            rate = next(v for k, v in b.items() if k.endswith("/s"))
            rows[b["run_name"]] = rate
    return rows
x87, portable = medians(sys.argv[1]), medians(sys.argv[2])
names = {"Decrees": "decrees/s (ComputeDecree)", "DecreesWithReport": "decrees/s (with the report)",
         "Conversions": "conversions/s (TextToFloat)"}
print(f"{'':30}{'long double (x87)':>20}{'portable (Boost)':>20}{'ratio':>8}")
for key, label in names.items():
    print(f"{label:30}{x87[key]:>20,.0f}{portable[key]:>20,.0f}{x87[key] / portable[key]:>8.1f}")
PY
