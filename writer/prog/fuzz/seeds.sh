#!/usr/bin/env bash
# Seeds of fuzz_writer_image: each sample image after the byte that picks the
# series and the function: Program with both series, then Verify, Slave and
# Check with qav3kwriter.
exec bash "$KOVA_FUZZ_SOURCE/seed_images.sh" "$1" '\x00' '\x01' '\x02' '\x04' '\x06'
