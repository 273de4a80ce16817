#!/usr/bin/env bash
# Seeds of fuzz_encoder_script: encoder scripts of sample projects written by
# KovaStudio's script writer (write_sample_scripts), one of them cut short and
# one with LF line ends.
set -euo pipefail
out=$1
"$KOVA_TOOLS/write_sample_scripts" "$out"
head -c 700 "$out/ulaw.txt" > "$out/ulaw-cut.txt"
tr -d '\r' < "$out/adpcm.txt" > "$out/adpcm-lf.txt"
