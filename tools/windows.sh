#!/usr/bin/env bash
# The Windows build, made and checked on Linux: cross-compiles scorewell-cli.exe and the core and
# command-line tests with MinGW-w64 into build-windows/ (or $WINDOWS_BUILD_DIR), runs the tests
# under Wine, checks that the Windows program's standings and pages equal the Linux program's
# byte for byte, and packs build-windows/scorewell-cli-windows.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$root/build-windows}
start=$SECONDS
# npm fetches the SQLite sources; Debian's when the machine has no npm of its own.
extra=()
command -v npm >/dev/null || extra=(npm)
bash "$root/tools/setup.sh" g++-mingw-w64-x86-64-posix wine wine64 zip "${extra[@]}"

# SQLite: the amalgamation that the npm package better-sqlite3 8.1.0 ships, SQLite 3.40.1 as in
# Debian 12, pinned by the package file's checksum.
sqlite_package=better-sqlite3-8.1.0.tgz
sqlite_sha256=9006504eac0c86e8d5f42d6b7a8282866bf041bc856ff4438fec83cb98e4c05f
sqlite=$build/third_party/sqlite
if [ ! -f "$sqlite/sqlite3.c" ]; then
    mkdir -p "$build/third_party"
    (cd "$build/third_party" && npm pack --silent better-sqlite3@8.1.0 >/dev/null)
    echo "$sqlite_sha256  $build/third_party/$sqlite_package" | sha256sum -c --quiet
    mkdir -p "$sqlite"
    tar -xzf "$build/third_party/$sqlite_package" -C "$sqlite" --strip-components=3 \
        package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
fi

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# -O2 without debug information, as the packages are built: the .exe is what users get.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" "${launcher[@]}" \
    -DSCOREWELL_BUILD_GUI=OFF -DSCOREWELL_BUILD_BENCH=OFF \
    -DSCOREWELL_SQLITE_AMALGAMATION="$sqlite" -DSCOREWELL_GTEST_SOURCE=/usr/src/googletest \
    >/dev/null
# Every core suite (one per folder of tests/core, as tests/CMakeLists.txt makes them) and the
# command line's.
suites=()
for d in "$root"/tests/core/*/; do
    suites+=("test_core_$(basename "$d")")
done
suites+=(test_cli)
targets=()
for t in scorewell-cli "${suites[@]}"; do
    targets+=(--target "$t")
done
cmake --build "$build" -j2 "${targets[@]}"
built=$SECONDS

# Wine in a prefix of its own inside the build folder: no display, no home folder touched.
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
    wineserver -w
fi
# The 64-bit loader itself: the wrapper asks for 32-bit Wine, which 64-bit programs do not need.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine)
# One Wine server for all the runs below, instead of one started for each.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
winpath() { echo "Z:${1//\//\\}"; }

# Budgets of time hold for a native run; under Wine on a shared machine they measure the machine.
native_timing=-HTMLParserTest.ReadsAPageOfSeveralMegabytesQuickly
failed=0
for t in "${suites[@]}"; do
    if ! "$wine" "$build/tests/$t.exe" --gtest_brief=1 --gtest_filter="$native_timing"; then
        echo "$t failed under Wine"
        failed=1
    fi
done
tested=$SECONDS

# The Windows program against the Linux one: the same league made by each, with Windows paths
# (drive letter, backslashes) on the Windows side.
linux_cli=${LINUX_CLI:-$root/build/src/cli/scorewell-cli}
if [ ! -x "$linux_cli" ]; then
    BUILD_TARGETS=scorewell-cli bash "$root/tools/build.sh" >/dev/null
fi
compare=$build/compare
rm -rf "$compare"
mkdir -p "$compare/linux" "$compare/windows"
races=("$root"/resources/demo/*.stn)
lin() { "$linux_cli" --program-folder "$compare/linux/prog" "$@"; }
win() { "$wine" "$build/src/cli/scorewell-cli.exe" --program-folder "$(winpath "$compare/windows/prog")" "$@"; }
lin new "$compare/linux/Demo League" >/dev/null
lin import "$compare/linux/Demo League.slf" "${races[@]}" >/dev/null
lin standings "$compare/linux/Demo League.slf" >"$compare/linux/standings.txt"
lin export "$compare/linux/Demo League.slf" --report 1 -o "$compare/linux/standings.htm"
lin export "$compare/linux/Demo League.slf" --race 3 -o "$compare/linux/race.htm"
league=$(winpath "$compare/windows/Demo League")
# A Windows path prints as the path: backslashes single, as typed.
shown=$(win new "$league")
if [ "$shown" != "$league.slf" ]; then
    echo "The Windows program printed the new league as $shown, not $league.slf"
    failed=1
fi
winraces=()
for r in "${races[@]}"; do
    winraces+=("$(winpath "$r")")
done
win import "$league.slf" "${winraces[@]}" >/dev/null
win standings "$league.slf" >"$compare/windows/standings.txt"
win export "$league.slf" --report 1 -o "$(winpath "$compare/windows/standings.htm")"
win export "$league.slf" --race 3 -o "$(winpath "$compare/windows/race.htm")"
for f in standings.txt standings.htm race.htm; do
    if ! cmp "$compare/linux/$f" "$compare/windows/$f"; then
        echo "The Windows program's $f differs from the Linux program's"
        failed=1
    fi
done
[ -s "$compare/linux/standings.txt" ] && [ -s "$compare/linux/standings.htm" ] || failed=1

# The package: the program, its default program database beside it (so the unpacked folder is
# the program folder) and the user guide.
package=$build/package
rm -rf "$package" "$build/scorewell-cli-windows.zip"
mkdir -p "$package"
cp "$build/src/cli/scorewell-cli.exe" "$root/resources/ReadMe.htm" "$package/"
"$wine" "$package/scorewell-cli.exe" --program-folder "$(winpath "$package")" reports >/dev/null
(cd "$package" && zip -q -X "$build/scorewell-cli-windows.zip" scorewell-cli.exe Tabulon.dat ReadMe.htm)

echo "tools/windows.sh: build $((built - start)) s, tests under Wine $((tested - built)) s," \
    "comparison and package $((SECONDS - tested)) s"
if [ "$failed" -ne 0 ]; then
    echo "tools/windows.sh: FAILED"
    exit 1
fi
ls -l "$build/scorewell-cli-windows.zip"
