#!/usr/bin/env bash
# Seeds of fuzz_qavchk: each sample image after a ROM size argument and a line
# end, as KovaStudio passes it and as users type it.
exec bash "$KOVA_FUZZ_SOURCE/seed_images.sh" "$1" '008000\n' '1000\n' '0\n' 'FFFFFF\n'
