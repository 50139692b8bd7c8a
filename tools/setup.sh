#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Scorewell. Safe to run again.
# Packages named as arguments are installed too (what a script needs beyond the build).
set -euo pipefail

packages=(g++ cmake make libsqlite3-dev sqlite3 libgtest-dev libgmock-dev qt6-base-dev
          xvfb xauth clang libclang-rt-dev ccache chromium "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
