#!/usr/bin/env bash
# Builds the Debian package and the tarball into build/packages (or $PACKAGE_DIR), from a
# Release build of its own in build-package/ (or $PACKAGE_BUILD_DIR): the development build in
# build/ keeps its build type, tests and benchmarks, and neither build is remade from scratch
# by the other. Arguments go to CMake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD_DIR:-$root/build-package}
out=${PACKAGE_DIR:-$root/build/packages}
# dpkg-shlibdeps (dpkg-dev) and file find the libraries the package depends on.
bash "$root/tools/setup.sh" dpkg-dev file
# -O2, as Debian builds its own packages; GCC 12 at -O3 also warns falsely inside std::string.
BUILD_DIR="$build" BUILD_TYPE=Release bash "$root/tools/build.sh" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DSCOREWELL_BUILD_TESTS=OFF \
    -DSCOREWELL_BUILD_BENCH=OFF "$@"
mkdir -p "$out"
(cd "$build" && cpack -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -l "$out"/*.deb "$out"/*.tar.gz
