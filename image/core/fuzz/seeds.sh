#!/usr/bin/env bash
# Seeds of fuzz_image_format: each sample image after a ROM size (4 bytes,
# little-endian): its own ROM length, a larger one, none, and one past the
# largest that is padded.
set -euo pipefail
out=$1
images=$out.images
trap 'rm -rf "$images"' EXIT
bash "$KOVA_FUZZ_SOURCE/seed_images.sh" "$images"

le32() {  # a number as 4 bytes, little-endian
  local shift
  for shift in 0 8 16 24; do printf "\\x$(printf %02x $(($1 >> shift & 255)))"; done
}

for image in "$images"/*.dat "$images"/*.pgm; do
  name=$(basename "$image")
  for size in 0x1000 0x8000 0 0x1000000; do
    { le32 $((size)); cat "$image"; } > "$out/$name-$size"
  done
done
