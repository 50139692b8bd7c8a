#!/usr/bin/env bash
# Checks that the includes of src/core run one way, by levels: common 0, data 1, scoring and
# reports 2, import and html 3, editing 4. A folder includes only its own level or lower; each
# include that runs up a level is listed and the check fails.
#   tools/check-includes.sh          the check
#   tools/check-includes.sh --graph  the folder include graph ("html -> common, data, reports")
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
core="$root/src/core"

declare -A level=([common]=0 [data]=1 [scoring]=2 [reports]=2 [import]=3 [html]=3 [editing]=4)

graph=0
case "${1:-}" in
--graph) graph=1 ;;
"") ;;
*)
    echo "usage: tools/check-includes.sh [--graph]" >&2
    exit 2
    ;;
esac

failures=0
declare -A edges=()
for dir in "$core"/*/; do
    folder=$(basename "$dir")
    if [ -z "${level[$folder]+x}" ]; then
        echo "src/core/$folder has no level: give it one in tools/check-includes.sh" >&2
        failures=$((failures + 1))
        continue
    fi
    while IFS= read -r hit; do
        file=${hit%%:*}
        rest=${hit#*:}
        line=${rest%%:*}
        target=$(sed -E 's/^[^"]*"([a-z]+)\/.*$/\1/' <<<"${rest#*:}")
        [ "$target" = "$folder" ] && continue
        if [ -z "${level[$target]+x}" ]; then
            continue # a generated header or one outside the core folders
        fi
        edges["$folder"]+=" $target"
        if [ "${level[$target]}" -gt "${level[$folder]}" ]; then
            echo "${file#"$root"/}:$line: $folder (level ${level[$folder]}) includes $target (level ${level[$target]})"
            failures=$((failures + 1))
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z]+/' -r "$dir" \
        --include='*.h' --include='*.cpp' --include='*.in' || true)
done

if [ "$graph" = 1 ]; then
    for folder in common data scoring reports import html editing; do
        [ -d "$core/$folder" ] || continue
        targets=$(tr ' ' '\n' <<<"${edges[$folder]:-}" | sed '/^$/d' | sort -u | paste -sd, - |
            sed 's/,/, /g')
        echo "$folder -> ${targets:-(nothing)}"
    done
fi

if [ "$failures" -gt 0 ]; then
    echo "check-includes: $failures include(s) run up a level" >&2
    exit 1
fi
