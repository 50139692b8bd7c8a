#!/usr/bin/env bash
# Sets up a fresh machine, builds Scorewell and shows it working on a scratch folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
cli="${BUILD_DIR:-$root/build}/src/cli/scorewell-cli"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/scorewell-demo-XXXXXX")
"$cli" --program-folder "$scratch" new "$scratch/demo" --sim 0 --drop 1
"$cli" --program-folder "$scratch" reports
echo "Demo folder: $scratch"
