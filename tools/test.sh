#!/usr/bin/env bash
# Sets up a fresh machine, builds everything and runs all tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
ctest --test-dir "${BUILD_DIR:-$root/build}" --output-on-failure -j2
