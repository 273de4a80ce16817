#!/usr/bin/env bash
# Seeds of fuzz_ini_file: the sample installation's setup.ini, the English
# language file and two chips' mode settings, as the project's tools write
# them; and setup.ini with a byte-order mark, with LF line ends, and with
# values longer than a read returns, plain and quoted.
set -euo pipefail
out=$(realpath -m "$1")
work=$out.work
rm -rf "$work"
mkdir -p "$work/bin"
trap 'rm -rf "$work"' EXIT
setup=$KOVA_BIN/../setup.ini

cp "$setup" "$out/setup.ini"
{ printf '\357\273\277'; cat "$setup"; } > "$out/setup-bom.ini"
tr -d '\r' < "$setup" > "$out/setup-lf.ini"
long=$(head -c 2100 /dev/zero | tr '\0' 'v')
{ printf '[System]\r\nLanguage=%s\r\nSwVer= "%s" \r\n' "$long" "${long:0:2048}"; cat "$setup"; } > "$out/setup-long.ini"
"$KOVA_TOOLS/make_language_file" "$out/English.ini"
"$KOVA_TOOLS/make_chip_files" "$setup" "$work/bin"
for key in 1x2 6x5; do
  cp "$work/bin/$key/$key.ini" "$out/mode-$key.ini"
done
