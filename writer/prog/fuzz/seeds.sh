#!/usr/bin/env bash
# Seeds of fuzz_writer_image: each sample image after the byte that picks
# the series and the function: Program with both series, Verify, Slave and
# Check with qav3kwriter.
set -euo pipefail
out=$1
images=$out.images
trap 'rm -rf "$images"' EXIT
bash "$KOVA_FUZZ_SOURCE/seed_images.sh" "$images"
for image in "$images"/*.dat "$images"/*.pgm; do
  name=$(basename "$image")
  for choice in 00 01 02 04 06; do
    { printf "\\x$choice"; cat "$image"; } > "$out/$name-$choice"
  done
done
