#!/usr/bin/env bash
# Sets up a fresh machine, builds everything and runs all tests but the long reliability
# harnesses (label slow), which tools/reliability.sh runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/check-platform-headers.sh"
bash "$root/tools/setup.sh"
# The includes of the core run one way, by levels; an include that runs back up fails the run.
bash "$root/tools/check-includes.sh"
bash "$root/tools/build.sh"
ctest --test-dir "${BUILD_DIR:-$root/build}" --output-on-failure -j2 -LE slow
