#!/usr/bin/env bash
# Seeds of fuzz_qavchk: each sample image after a ROM size argument and a line
# end, as KovaStudio passes it and as users type it.
set -euo pipefail
out=$1
images=$out.images
trap 'rm -rf "$images"' EXIT
bash "$KOVA_FUZZ_SOURCE/seed_images.sh" "$images"
for image in "$images"/*.dat "$images"/*.pgm; do
  name=$(basename "$image")
  for size in 008000 1000 0 FFFFFF; do
    { printf '%s\n' "$size"; cat "$image"; } > "$out/$name-$size"
  done
done
