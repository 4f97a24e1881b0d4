#!/usr/bin/env bash
# Times the Browse file collection against find with the same patterns over the same generated tree.
#
#   bench/collection/run.sh [repetitions]
#
# Builds the small benchmark program over the walk of browse/core/, generates a tree of about 100,000
# folders and files (.exe, .dll and .txt in mixed letter case, four levels) in a temporary folder, warms the
# cache with one run of each, then times each command as a whole process, the same number of times, and
# prints the median times and their ratio. The temporary folder is removed at the end.
set -euo pipefail

repetitions=${1:-5}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vesmarin-collection-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

bench="$work/collection_bench"
tree="$work/tree"
exe='*.EXE;*.EXe;*.ExE;*.Exe;*.eXE;*.eXe;*.exE;*.exe'
dll='*.DLL;*.DLl;*.DlL;*.Dll;*.dLL;*.dLl;*.dlL;*.dll'
patterns="$exe;$dll"

echo "Building the benchmark program..."
"${CXX:-g++}" -std=c++20 -O2 -DNDEBUG -I"$repo" \
    "$repo"/browse/core/{DirectoryScanner,CollectFiles,FilePatterns,NameOrder,LevelRule,ScanErrors,ScanPaths,PosixWalk,PseudoFileSystems,PortableWalk}.cpp \
    "$here/CollectionBench.cpp" -o "$bench"

echo "Generating the tree in $tree..."
"$bench" generate "$tree" 10 3 89

# find with the same sixteen patterns, regular files only, paths printed as the collection builds them.
find_args=("$tree" -type f "(")
first=1
IFS=';' read -ra list <<<"$patterns"
for p in "${list[@]}"; do
    [ $first -eq 1 ] || find_args+=(-o)
    find_args+=(-name "$p")
    first=0
done
find_args+=(")" -print)
# For reference: the same effect with two case-insensitive tests, and the bare walk without any test.
find_iname_args=("$tree" -type f "(" -iname '*.exe' -o -iname '*.dll' ")" -print)
find_walk_args=("$tree" -type f -print)

now_ns() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Both must find the same files (the collection in its own order, so compare them sorted).
"$bench" list "$tree" 0 "$patterns" | LC_ALL=C sort >"$work/collected.txt"
find "${find_args[@]}" | LC_ALL=C sort >"$work/found.txt"
echo "Files found: collection $(wc -l <"$work/collected.txt"), find $(wc -l <"$work/found.txt")"
if ! cmp -s "$work/collected.txt" "$work/found.txt"; then
    echo "The collection and find disagree on the files found" >&2
    exit 1
fi

collect_times=()
find_times=()
iname_times=()
walk_times=()
for ((i = 0; i < repetitions; i++)); do
    t0=$(now_ns)
    "$bench" collect "$tree" 0 "$patterns" >/dev/null
    t1=$(now_ns)
    find "${find_args[@]}" >/dev/null
    t2=$(now_ns)
    find "${find_iname_args[@]}" >/dev/null
    t3=$(now_ns)
    find "${find_walk_args[@]}" >/dev/null
    t4=$(now_ns)
    collect_times+=($(((t1 - t0) / 1000)))
    find_times+=($(((t2 - t1) / 1000)))
    iname_times+=($(((t3 - t2) / 1000)))
    walk_times+=($(((t4 - t3) / 1000)))
done

collect_ms=$(printf '%s\n' "${collect_times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }')
find_ms=$(printf '%s\n' "${find_times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }')
echo "Collection times (ms): $(printf '%s\n' "${collect_times[@]}" | awk '{ printf "%.1f ", $1 / 1000 }')"
echo "find times (ms):       $(printf '%s\n' "${find_times[@]}" | awk '{ printf "%.1f ", $1 / 1000 }')"
iname_ms=$(printf '%s\n' "${iname_times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }')
walk_ms=$(printf '%s\n' "${walk_times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }')
echo "Reference: find with -iname '*.exe' -o -iname '*.dll' $iname_ms ms; find -type f without patterns $walk_ms ms"
echo "Median: collection $collect_ms ms, find $find_ms ms, ratio $(awk -v a="$collect_ms" -v b="$find_ms" 'BEGIN { printf "%.2f", a / b }') (goal: at most 1.5)"
echo "Against the reference finds: ratio $(awk -v a="$collect_ms" -v b="$iname_ms" 'BEGIN { printf "%.2f", a / b }') (-iname), $(awk -v a="$collect_ms" -v b="$walk_ms" 'BEGIN { printf "%.2f", a / b }') (bare walk)"
