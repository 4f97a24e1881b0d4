#!/usr/bin/env bash
# Times Browse until the first set of more than 200 icons is on screen, over a folder of real programs and
# libraries (warm cache; goal under 0.5 s).
#
#   bench/firstset/run.sh [runs] [folder]
#
# Without a folder, one is made in a temporary folder from copies of the Windows programs and libraries that
# Debian packages ship (nsis-common, win32-loader; see scripts/deps.sh), copied into as many subfolders as
# it takes to hold well over 200 icons. Builds the benchmark program first; runs it under xvfb-run when there
# is no display.
set -euo pipefail

runs=${1:-10}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$repo/build/default}

cmake --build "$build" -j2 --target vesmarin-firstset-bench >/dev/null
bench="$build/bin/vesmarin-firstset-bench"

folder=${2:-}
if [ -z "$folder" ]; then
    work=$(mktemp -d "${TMPDIR:-/tmp}/vesmarin-firstset-bench.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    real=()
    for f in /usr/share/nsis/Stubs/* /usr/share/nsis/Contrib/UIs/*.exe /usr/share/nsis/Plugins/*/*.dll \
             /usr/share/win32/*.exe; do
        [ -f "$f" ] && real+=("$f")
    done
    [ ${#real[@]} -gt 0 ] || { echo "no real programs: install nsis-common and win32-loader" >&2; exit 2; }
    folder="$work/programs"
    for copy in $(seq -w 1 20); do
        mkdir -p "$folder/copy$copy"
        for f in "${real[@]}"; do
            name=$(basename "$f")
            case "$name" in *.exe|*.EXE|*.dll|*.DLL) ;; *) name="$name.exe" ;; esac # the stubs have no extension
            cp "$f" "$folder/copy$copy/$(basename "$(dirname "$f")")-$name"
        done
    done
fi

if [ -n "${DISPLAY:-}" ]; then
    "$bench" "$folder" "$runs"
else
    xvfb-run -a -s "-screen 0 1280x800x24" "$bench" "$folder" "$runs"
fi
