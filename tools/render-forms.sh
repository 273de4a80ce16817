#!/usr/bin/env bash
# Renders KovaStudio's start form and the main form's pages and states to PNG
# files, offscreen, against the build's program folder: build/forms-png/ by default.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/forms-png}
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d) "$build/tools/render-forms" "$out" "$build/kova/"
echo "PNG files in $out"
