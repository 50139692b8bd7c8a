#!/usr/bin/env bash
# Fails when a file outside the platform layer includes a POSIX or Windows header. The layer:
# src/core/common/Platform*.cpp for the programs, tests/support/Process{Posix,Windows}.cpp for
# the tests that run on both systems. The Linux-only harnesses (tests/reliability, tests/fuzz)
# and the desktop tests are not built for Windows and are not checked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
headers='unistd|fcntl|poll|signal|spawn|dirent|pwd|grp|termios|dlfcn|pthread|semaphore|syslog|libgen|fnmatch|glob|netdb|sys/[a-z_/]+|netinet/[a-z_]+|arpa/[a-z_]+|windows|winbase|winnt|winsock2?|ws2tcpip|shlobj|shellapi|knownfolders|io|direct|process|fileapi|handleapi|synchapi'
found=$(grep -rnE --include='*.cpp' --include='*.h' --include='*.in' \
    "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($headers)\.h[>\"]" \
    src tests/core tests/cli tests/support |
    grep -vE '^(src/core/common/Platform[A-Za-z]*\.cpp|tests/support/Process(Posix|Windows)\.cpp):' || true)
if [ -n "$found" ]; then
    echo "Platform headers outside the platform layer (src/core/common/Platform*):"
    echo "$found"
    exit 1
fi
echo "check-platform-headers: no platform header outside the platform layer"
