#!/usr/bin/env bash
# Times start-up, one settings change and the recall dialog with a huge Tembrill.ini and SavedPaths.txt,
# against the same program with small files and against plain reads of the same files (cat, grep), all in
# the same run.
#
#   bench/storedfiles/run.sh [megabytes] [repetitions]
#
# Builds the benchmark program, writes both files of about that size (default 100 MB; the settings keys of
# "Options" lie behind all of it) into a temporary folder, lets them settle, and prints the median times and
# the peak memory of each case. The temporary folders are removed at the end.
set -euo pipefail

megabytes=${1:-100}
repetitions=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$repo/build/default}

cmake --build "$build" -j2 --target vesmarin-storedfiles-bench >/dev/null
bench="$build/bin/vesmarin-storedfiles-bench"

big=$(mktemp -d "${TMPDIR:-/tmp}/vesmarin-storedfiles-bench.XXXXXX")
small=$(mktemp -d "${TMPDIR:-/tmp}/vesmarin-storedfiles-bench.XXXXXX")
trap 'rm -rf "$big" "$small"' EXIT

"$bench" generate "$big" "$megabytes"
"$bench" generate "$small" 0 >/dev/null
sleep 1 # files just written are read afresh at every call; a settled file is read once

now_ns() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
time_ms() { # the median time of a command in ms
    local times=()
    for ((i = 0; i < repetitions; i++)); do
        local t0; t0=$(now_ns)
        "$@" >/dev/null
        times+=($((($(now_ns) - t0) / 1000)))
    done
    printf '%s\n' "${times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }'
}

cat "$big/Tembrill.ini" "$big/SavedPaths.txt" >/dev/null # warm the cache
echo "Peers over the same files:"
echo "  cat Tembrill.ini:               $(time_ms cat "$big/Tembrill.ini") ms"
echo "  grep -i '^levels=' Tembrill.ini: $(time_ms grep -i '^levels=' "$big/Tembrill.ini") ms"
echo "  cat SavedPaths.txt:             $(time_ms cat "$big/SavedPaths.txt") ms"
echo "The program (one process each; start-up is the main window's Load, without showing it):"
for mode in start change recall; do
    echo "  $mode, small files:  $("$bench" "$mode" "$small" "$repetitions" 2>/dev/null)"
    sleep 1
    echo "  $mode, ${megabytes} MB files: $("$bench" "$mode" "$big" "$repetitions" 2>/dev/null)"
    sleep 1
done
