#!/usr/bin/env bash
# Sets up a fresh machine, builds Scorewell and starts the desktop program with the demo league
# open. The demo program folder and league are made on the first run, from the race finals in
# resources/demo, in build/demo (or $SCOREWELL_DEMO_DIR). Arguments go to the program, e.g.
#   QT_QPA_PLATFORM=offscreen bash tools/run.sh --quit-after 5000
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
BUILD_TARGETS="scorewell scorewell-cli" bash "$root/tools/build.sh"
build="${BUILD_DIR:-$root/build}"
cli="$build/src/cli/scorewell-cli"
gui="$build/src/gui/scorewell"
demo="${SCOREWELL_DEMO_DIR:-$build/demo}"
league="$demo/demo.slf"

if [ ! -f "$league" ]; then
    # Built under another name, so a failed import is made again on the next run.
    mkdir -p "$demo"
    rm -f "$demo/demo-new.slf"
    "$cli" --program-folder "$demo" new "$demo/demo-new" --sim 0 --drop 1 >/dev/null
    "$cli" --program-folder "$demo" import "$demo/demo-new.slf" "$root"/resources/demo/*.stn
    mv "$demo/demo-new.slf" "$league"
fi
echo "Demo league: $league"
"$cli" --program-folder "$demo" standings "$league"

if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running without one (QT_QPA_PLATFORM=offscreen)."
    export QT_QPA_PLATFORM=offscreen
fi
exec "$gui" --program-folder "$demo" "$@" "$league"
