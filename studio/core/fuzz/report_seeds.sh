#!/usr/bin/env bash
# Seeds of fuzz_checksum_report: the image checker's reports on the sample
# images, each checked with the ROM size it was built for: OK lines,
# mismatches, damaged images and templates.
set -euo pipefail
out=$(realpath -m "$1")
work=$out.work
rm -rf "$work"
mkdir -p "$work/images"
trap 'rm -rf "$work"' EXIT
bash "$KOVA_FUZZ_SOURCE/seed_images.sh" "$work/images" ''
cd "$work/images"
for image in *; do
  case $image in
    full2.*) size=1000 ;;
    fullplain.*) size=800 ;;
    fullsmall.*) size=400 ;;
    *) size=8000 ;;
  esac
  "$KOVA_BIN/qavchk" "$image" "$size" "$out/${image%-0}.csm" < /dev/null > /dev/null || true
done
