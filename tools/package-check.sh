#!/usr/bin/env bash
# Builds the Debian package (tools/package.sh), installs it as an administrator would, and
# checks what a user gets: the programs from any folder, each making the program folder in a
# fresh home, the desktop program finding its guide, valid desktop and metainfo files, league
# files opened by Scorewell. Then it removes the package and checks that nothing it installed is
# left but the user's own leagues and settings. Needs root (apt-get); a scorewell package
# installed before is replaced and removed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${PACKAGE_DIR:-$root/build/packages}
app_id=org.scorewell.Scorewell
type=application/x-scorewell-league
if [ "$(id -u)" -ne 0 ]; then
    echo "tools/package-check.sh installs and removes a package: run it as root."
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive

bash "$root/tools/package.sh"
# The validators, xdg-mime, and gio to see a file's type as the desktop's file managers do.
bash "$root/tools/setup.sh" desktop-file-utils appstream xdg-utils libglib2.0-bin
deb=$(ls "$out"/scorewell_*.deb)
version=$(dpkg-deb -f "$deb" Version)

passed=0
failed=0
# check DESCRIPTION COMMAND...: runs the command, tells how it went, and goes on either way.
check() {
    local description=$1
    shift
    local output
    if output=$("$@" 2>&1); then
        passed=$((passed + 1))
        echo "ok: $description"
    else
        failed=$((failed + 1))
        echo "FAILED: $description"
        [ -z "$output" ] || sed 's/^/    /' <<<"$output"
    fi
}

work=$(mktemp -d)
installed=0
finish() {
    if [ "$installed" -eq 1 ]; then
        apt-get purge -y -qq scorewell >/dev/null
    fi
    rm -rf "$work"
}
trap finish EXIT

if dpkg -s scorewell >/dev/null 2>&1; then
    apt-get purge -y -qq scorewell >/dev/null
fi
apt-get install -y -qq "$deb" >"$work/install.log" 2>&1 || {
    cat "$work/install.log"
    echo "The package $deb could not be installed."
    exit 1
}
installed=1
dpkg -L scorewell | sort >"$work/files"
echo "installed $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"

# Every run as a user with a fresh home of its own, from a folder outside the source tree.
mkdir -p "$work/runtime" "$work/results"
chmod 700 "$work/runtime"
cp "$root"/resources/demo/*.stn "$work/results/"
as_user() {
    local home=$1
    shift
    (cd "$work" && env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" \
        XDG_RUNTIME_DIR="$work/runtime" "$@")
}
cli_home=$work/cli-home
gui_home=$work/gui-home
league=$cli_home/.local/share/Scorewell/cup.slf

check "the command line is /usr/bin/scorewell-cli" test "$(command -v scorewell-cli)" = /usr/bin/scorewell-cli
check "scorewell-cli --version gives $version" \
    test "$(scorewell-cli --version)" = "scorewell-cli $version"
check "scorewell --version gives $version without a display" \
    test "$(env -u DISPLAY -u QT_QPA_PLATFORM scorewell --version)" = "scorewell $version"
cli_round() {
    as_user "$cli_home" /usr/bin/scorewell-cli new cup --sim 0 --drop 1
    as_user "$cli_home" /usr/bin/scorewell-cli import cup results/*.stn | tail -n 1 |
        grep -qx "imported	6 races"
    as_user "$cli_home" /usr/bin/scorewell-cli standings cup | sed -n 2p | grep -q "^Driver	Points	"
}
check "new, import and standings from $work" cli_round
check "the command line made its program folder ~/.local/share/Scorewell" \
    test -f "$cli_home/.local/share/Scorewell/Tabulon.dat" -a -f "$league"
names_guide() {
    scorewell --help | grep -qx "The user guide: /usr/share/scorewell/ReadMe.htm"
}
check "scorewell --help names the installed guide" names_guide
check "the desktop program opens the league offscreen and ends by itself" \
    as_user "$gui_home" env QT_QPA_PLATFORM=offscreen /usr/bin/scorewell --quit-after 3000 "$league"
opened_league() {
    test "$(sqlite3 "$gui_home/.local/share/Scorewell/Tabulon.dat" \
        "SELECT SettingValue FROM Settings WHERE SettingsID = 7")" = "$league"
}
check "the desktop program made its program folder, with the league as its recent file" \
    opened_league
check "desktop-file-validate passes" \
    desktop-file-validate "/usr/share/applications/$app_id.desktop"
check "appstreamcli validate passes" \
    appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
knows_leagues() {
    grep -q ":$type:\*\.slf$" /usr/share/mime/globs2 && test -f "/usr/share/mime/$type.xml"
}
check "the MIME database knows league files" knows_leagues
check "a league reads as a Scorewell league, another SQLite database does not" test \
    "$(gio info -a standard::content-type "$league" "$cli_home/.local/share/Scorewell/Tabulon.dat" |
        sed -n 's/^  standard::content-type: //p' | tr '\n' ' ')" = "$type application/vnd.sqlite3 "
check "xdg-mime names Scorewell for league files" \
    test "$(as_user "$work/mime-home" xdg-mime query default "$type")" = "$app_id.desktop"
check "the manual pages are installed" \
    test -f /usr/share/man/man1/scorewell.1.gz -a -f /usr/share/man/man1/scorewell-cli.1.gz

apt-get purge -y -qq scorewell >"$work/purge.log" 2>&1 || cat "$work/purge.log"
installed=0
left=()
while read -r path; do
    # Folders such as /usr/share/icons belong to others as well; a file left is the package's.
    if [ -e "$path" ] && { [ ! -d "$path" ] || [[ $path == */scorewell ]]; }; then
        left+=("$path")
    fi
done <"$work/files"
check "removing the package left none of its files" test ${#left[@]} -eq 0
[ ${#left[@]} -eq 0 ] || printf '    left: %s\n' "${left[@]}"
forgets_leagues() {
    ! grep -qs "$type" /usr/share/mime/globs2 /usr/share/applications/mimeinfo.cache &&
        test ! -e "/usr/share/mime/$type.xml"
}
check "the MIME database and the desktop's file types forget league files" forgets_leagues
check "the user's leagues and settings stay" \
    test -f "$league" -a -f "$gui_home/.local/share/Scorewell/Tabulon.dat"

echo "package check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
