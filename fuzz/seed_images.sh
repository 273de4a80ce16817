#!/usr/bin/env bash
# Seeds for the targets that read DAT images: sample images made as users make
# them (templates from make_template, images built from them by QavGen), and
# a few damaged ones (cut inside the enciphered range, only the header record).
# Each image goes into the folder given once after each prefix, a printf
# format for what the target reads before the file:
#   seed_images.sh OUT-FOLDER PREFIX...
# Needs KOVA_TOOLS (make_template) and KOVA_BIN (qavgen).
set -euo pipefail
out=$(realpath -m "$1")
shift
images=$out.images
rm -rf "$images"
mkdir -p "$images"
trap 'rm -rf "$images"' EXIT
cd "$images"
mk="$KOVA_TOOLS/make_template"

"$mk" level1.pgm KOVA3k10 I 1000 100 200
"$mk" level2.pgm KOVA341 II 800 30 100 50
"$mk" small.pgm KOVA3k10 II 100 30 38 7F 20 3
"$mk" plain.pgm KOVA3k10 I 40 10 10 0 20

# Cut after writing: seq piped into head dies of SIGPIPE when head stops reading first.
seq 1 1200 > voice.mf0
truncate -s 3000 voice.mf0
{ seq 5000 5400; head -c 600 /dev/zero | tr '\0' '\377'; } > voice.dpm

# build IMAGE ROMSIZE TEMPLATE VOICE OPTION-BYTE: as KovaStudio's scripts do,
# with the first and the last option byte set below the voice data.
build() {
  {
    printf '%%DupFile@="shadow.dat"\r\n%%OutFile@="%s"\r\n%%RomSize@="%s"\r\n' "$1" "$2"
    printf '%%AddFile@="%s"\r\n%%AddFile@="%s"\r\n' "$3" "$4"
    printf '%%SetParm@="[%X]=5A"\r\n%%SetParm@="[%X]=1"\r\n' $(($5)) $(($5 + 31))
    printf '%%CheckSum@="Generate"\r\n'
  } > build.lns
  "$KOVA_BIN/qavgen" build.lns -w < /dev/null > /dev/null
}
build full1.dat 8000 level1.pgm voice.mf0 0xFE0
build full2.dat 1000 level2.pgm voice.dpm 0x7E0
build fullsmall.dat 400 small.pgm voice.mf0 0xE0
build fullplain.dat 800 plain.pgm voice.mf0 0x20
rm -f build.lns shadow.dat

head -c $((0x200 + 0x104)) full1.dat > cut.dat
# The header record alone, its range [0, 8) wholly past the end of the file.
printf 'KOVA\377\377\040\000\000\000\000\000\010\000\000\000' > record.dat
head -c 16 /dev/zero | tr '\0' '\377' >> record.dat

rm voice.mf0 voice.dpm
for image in *; do
  i=0
  for prefix in "$@"; do
    { printf "$prefix"; cat "$image"; } > "$out/$image-$i"
    i=$((i + 1))
  done
done
