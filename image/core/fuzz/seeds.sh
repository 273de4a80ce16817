#!/usr/bin/env bash
# Seeds of fuzz_image_format: each sample image after a ROM size (4 bytes,
# little-endian): 0x1000, 0x8000, 0, and 0x1000000, past the largest that is padded.
exec bash "$KOVA_FUZZ_SOURCE/seed_images.sh" "$1" '\x00\x10\x00\x00' '\x00\x80\x00\x00' '\x00\x00\x00\x00' \
  '\x00\x00\x00\x01'
