#!/usr/bin/env bash
# Installs the dependencies, builds the program folder build/kova and runs the
# main job: build a sample DAT image with QavGen and verify it with QavChk.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh build
tools/sample-image.sh build
