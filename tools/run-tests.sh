#!/usr/bin/env bash
# Installs the dependencies, builds and runs every test, then builds again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again,
# then runs every fuzz target for half a minute, all at once.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=$(nproc)
tools/build.sh build
(cd build && ctest -j "$jobs" --output-on-failure)
tools/build.sh build-sanitize -DKOVA_SANITIZE=ON
(cd build-sanitize && ctest -j "$jobs" --output-on-failure)
# A crash or a broken promise fails.
tools/fuzz.sh 30
