#!/usr/bin/env bash
# Installs the dependencies, builds the program folder build/kova, starts the
# writer simulator in the background and starts KovaStudio on the sample
# installation, talking to the simulator. KovaStudio needs a display: without
# one, run this under a virtual X server (xvfb-run -a tools/run-main.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh build
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: run 'xvfb-run -a tools/run-main.sh' to start KovaStudio on a virtual X server." >&2
  exit 2
fi
run=$(mktemp -d)
build/tools/kova-writer-sim --socket "$run/writer.sock" --memory "$run/chip.bin" --log "$run/writer-trace.txt" &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$run"' EXIT
# The simulator's socket appears once it listens.
for _ in $(seq 100); do
  [ -S "$run/writer.sock" ] && break
  sleep 0.05
done
echo "Writer simulator on $run/writer.sock; starting build/kova/KovaStudio"
KOVA_WRITER_SIM="$run/writer.sock" build/kova/KovaStudio
