#!/usr/bin/env bash
# Speed of vesmarin-thumbnailer against the usual icoutils route for the same 256-pixel thumbnails, in the
# same run: wrestool -x -t14 -o DIR FILE, then icotool -x -w 256 on the first group's .ico (icotool does not
# read standard input). Each file is one thumbnail request, as a file manager makes it.
# Usage: bench/thumbnailer.sh [path/to/vesmarin-thumbnailer] [rounds] [more Windows files...]
# Needs icoutils, nsis-common and win32-loader (scripts/deps.sh test). Prints milliseconds per file for
# each side and the ratio (icoutils / ours); the goal is at least 10.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/default/bin/vesmarin-thumbnailer}
rounds=${2:-5}
shift $(($# < 2 ? $# : 2))
command -v wrestool >/dev/null && command -v icotool >/dev/null || { echo "icoutils missing" >&2; exit 2; }
[ -x "$tool" ] || { echo "$tool missing: build the vesmarin-thumbnailer target first" >&2; exit 2; }

work=$(mktemp -d -p "$( [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT

small=()
for f in /usr/share/nsis/Stubs/* /usr/share/nsis/Contrib/UIs/*.exe /usr/share/win32/win32-loader.exe; do
  [ -f "$f" ] && [ "$(basename "$f")" != uninst ] && small+=("$f")
done
[ ${#small[@]} -gt 0 ] || { echo "no real files: install nsis-common and win32-loader" >&2; exit 2; }
# An installer is a small program with a large archive appended: 100 MB after win32-loader.exe.
large=("$@")
if [ -f /usr/share/win32/win32-loader.exe ]; then
  cp /usr/share/win32/win32-loader.exe "$work/installer.exe"
  head -c $((100 * 1024 * 1024)) /dev/urandom >>"$work/installer.exe"
  large+=("$work/installer.exe")
fi
cat "${small[@]}" "${large[@]}" >/dev/null # both sides read from the page cache

# Each file has a folder of its own for the icoutils route, made beforehand: only the two programs are timed.
files=()
ours() {
  "$tool" -s 256 "${files[$1]}" "$work/thumb.png" 2>/dev/null || true
}
theirs() {
  wrestool -x -t14 -o "$work/x/$1" "${files[$1]}" 2>/dev/null || true
  local groups=("$work/x/$1"/*.ico) # sorted by name; the pattern itself when there is none
  [ ! -f "${groups[0]}" ] || icotool -x -w 256 -o "$work/x/$1" "${groups[0]}" 2>/dev/null || true
}
# Milliseconds per file for "$1" over every file, $rounds times.
per_file() {
  local start end
  start=$(date +%s%N)
  for ((r = 0; r < rounds; r++)); do for ((k = 0; k < ${#files[@]}; k++)); do "$1" "$k"; done; done
  end=$(date +%s%N)
  awk -v ns=$((end - start)) -v n=$((rounds * ${#files[@]})) 'BEGIN { printf "%.2f", ns / 1e6 / n }'
}
# Both sides over the files given; prints their milliseconds per file and the ratio.
compare() {
  local label=$1
  shift
  files=("$@")
  rm -rf "$work/x"
  for ((k = 0; k < ${#files[@]}; k++)); do mkdir -p "$work/x/$k"; done
  local a b
  a=$(per_file ours)
  b=$(per_file theirs)
  printf '%-34s vesmarin-thumbnailer %6s ms per file, wrestool + icotool %7s ms per file, ratio %sx\n' \
    "$label" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.1f", (a > 0 ? b / a : 0) }')"
}

echo "$rounds rounds of 256-pixel thumbnails"
compare "${#small[@]} Debian files" "${small[@]}"
[ ${#large[@]} -eq 0 ] || compare "${#large[@]} large files" "${large[@]}"
compare "all ${#small[@]} + ${#large[@]} files" "${small[@]}" "${large[@]}"
