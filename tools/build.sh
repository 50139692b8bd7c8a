#!/usr/bin/env bash
# Configures and builds Scorewell into build/ (or the folder given as $BUILD_DIR). Arguments go
# to CMake's configure step; $BUILD_TARGETS, when set, limits the build to those targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
targets=()
for t in ${BUILD_TARGETS:-}; do
    targets+=(--target "$t")
done
cmake --build "$build" -j2 "${targets[@]}"
