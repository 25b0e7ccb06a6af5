#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the PNG sizes of the application icon from its SVG source. The PNGs
# are committed, so the build needs no SVG renderer; run this again after
# editing the SVG (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
id=org.example.SalaryDecree
for size in 16 22 24 32 48 64 128 256 512; do
  mkdir -p "${size}x${size}"
  rsvg-convert --width "$size" --height "$size" "$id.svg" --output "${size}x${size}/$id.png"
done
