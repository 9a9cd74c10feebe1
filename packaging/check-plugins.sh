#!/bin/sh
# Every symbol of ours that a plugin leaves to the program is one the program exports: else the
# plugin would not load, and the program would quietly do without it.
set -eu
build=$1
# A file of its own: another run of the tests over the same build may be checking beside it.
exported=$(mktemp "${TMPDIR:-/tmp}/solvara-symbols.XXXXXX")
trap 'rm -f "$exported"' EXIT
nm -D --defined-only "$build/solvara" | awk '{ print $3 }' | sort -u > "$exported"
status=0
for plugin in "$build"/solvara-*.so; do
    missing=$(nm -D --undefined-only "$plugin" | awk '{ print $2 }' | grep '7solvara' | sort -u |
        comm -23 - "$exported" || true)
    if [ -n "$missing" ]; then
        echo "$(basename "$plugin") needs symbols the program does not export:"
        echo "$missing" | c++filt
        status=1
    fi
done
[ $status -eq 0 ] && echo "plugin symbols: ok"
exit $status
