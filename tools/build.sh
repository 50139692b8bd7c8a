#!/usr/bin/env bash
# Configures and builds Scorewell into build/ (or the folder given as $BUILD_DIR). Arguments go
# to CMake's configure step; $BUILD_TARGETS, when set, limits the build to those targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
launcher=()
# A second build of the same sources (another folder, a clean clone) is much quicker with it.
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}" "$@" >/dev/null
targets=()
for t in ${BUILD_TARGETS:-}; do
    targets+=(--target "$t")
done
cmake --build "$build" -j2 "${targets[@]}"
