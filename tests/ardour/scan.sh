#!/usr/bin/env bash
# tests/ardour/scan.sh <plug-in.so> <unique ID> [<plug-in.so> <unique ID>]...
#
# Ardour's VST 2 scanner must load each plug-in and index it with the expected
# unique ID, 2 inputs, 2 outputs, can_process_replace and has_editor. The
# scanner exits 0 even when it fails, so its cache file is what is checked.
# Each plug-in is scanned as a copy in a private directory with an mtime in the
# past (a newer file makes the cache count as stale) and a private cache.
# Exit 77 (skipped) when Ardour is not installed.
set -u
scanner=/usr/lib/ardour7/ardour-vst-scanner
if [ ! -x "$scanner" ]; then
    echo "SKIPPED: $scanner not found (apt-get install ardour)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CACHE_HOME=$work/cache
status=0
while [ $# -ge 2 ]; do
    plugin=$1 id=$2
    shift 2
    name=$(basename "$plugin")
    mkdir -p "$work/plugins"
    cp "$plugin" "$work/plugins/$name"
    touch -d '2020-01-01 00:00:00' "$work/plugins/$name"
    output=$(LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 "$scanner" -f -v "$work/plugins/$name" 2>&1)
    echo "$output" | sed "s/^/  /"
    cache=$(grep -l "binary=\"$work/plugins/$name\"" "$work"/cache/ardour7/vst/*.v2i 2>/dev/null | head -1)
    if [ -z "$cache" ]; then
        echo "FAIL: $name: the scanner wrote no cache entry"
        status=1
        continue
    fi
    info=$(grep "<VST2Info" "$cache")
    good=1
    echo "  $info"
    for expected in "id=\"$id\"" 'n_inputs="2"' 'n_outputs="2"' 'can_process_replace="1"' 'has_editor="1"'; do
        if ! grep -qF "$expected" <<<"$info"; then
            echo "FAIL: $name: expected $expected"
            good=0
            status=1
        fi
    done
    if [ $good -eq 1 ]; then echo "ok: $name"; fi
done
exit $status
