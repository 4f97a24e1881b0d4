#!/usr/bin/env bash
# Speed of vesmarin-icons against icoutils over the same real Windows files, in the same run.
# Usage: bench/icons.sh [path/to/vesmarin-icons] [rounds] [more Windows files...]
# Needs icoutils, nsis-common and win32-loader (scripts/deps.sh test). Prints the time of each side and
# the ratio (icoutils time / vesmarin-icons time) for exporting whole groups (wrestool -x -t14), for
# listing (wrestool -l), and for 256-pixel PNGs file by file (wrestool -x -t14, then icotool -x -w 256 on
# the first group's .ico; goal: a ratio of at least 3). Give the largest PE files of the machine as more
# files.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/default/bin/vesmarin-icons}
rounds=${2:-20}
shift $(($# < 2 ? $# : 2))
command -v wrestool >/dev/null || { echo "wrestool missing (Debian package icoutils)" >&2; exit 2; }
[ -x "$tool" ] || { echo "$tool missing: build the vesmarin-icons target first" >&2; exit 2; }

# Outputs go to memory where possible, so that the disk's write-back does not drown the reading.
work=$(mktemp -d -p "$( [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT

files=()
for f in /usr/share/nsis/Stubs/* /usr/share/nsis/Contrib/UIs/*.exe /usr/share/nsis/Plugins/*/*.dll \
         /usr/share/win32/win32-loader.exe "$@"; do
  [ -f "$f" ] && [ "$(basename "$f")" != uninst ] && files+=("$f")
done
[ ${#files[@]} -gt 0 ] || { echo "no real files: install nsis-common and win32-loader" >&2; exit 2; }
real=("${files[@]}")
# An installer is a small program with a large archive appended: 100 MB after win32-loader.exe.
if [ -f /usr/share/win32/win32-loader.exe ]; then
  cp /usr/share/win32/win32-loader.exe "$work/installer.exe"
  head -c $((100 * 1024 * 1024)) /dev/urandom >> "$work/installer.exe"
  files+=("$work/installer.exe")
fi
mkdir -p "$work/ours" "$work/theirs"

# Runs "$@" $rounds times; prints the total seconds.
timed() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < rounds; i++)); do "$@" >/dev/null 2>&1 || true; done
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }'; }

# Warm the page cache so both sides read from memory.
cat "${files[@]}" >/dev/null

# Both programs over one set of files; prints the two times and the ratio.
compare() {
  local label=$1
  shift
  local ours theirs
  ours=$(timed "$tool" export --format ico --out "$work/ours" "$@")
  theirs=$(timed wrestool -x -t14 -o "$work/theirs" "$@")
  printf '%-28s export: vesmarin-icons %ss, wrestool -x -t14 %ss, ratio %sx\n' "$label" "$ours" "$theirs" "$(ratio "$theirs" "$ours")"
  ours=$(timed "$tool" list "$@")
  theirs=$(timed wrestool -l "$@")
  printf '%-28s list:   vesmarin-icons %ss, wrestool -l %ss, ratio %sx\n' "$label" "$ours" "$theirs" "$(ratio "$theirs" "$ours")"
}

echo "$rounds rounds of each command"
compare "${#real[@]} Debian files" "${real[@]}"
# Each file thirty times over in one run: the cost of reading, with the program's start-up spread thin.
many=()
for ((k = 0; k < 30; k++)); do many+=("${real[@]}"); done
compare "the same x30 in one run" "${many[@]}"
[ ${#files[@]} -gt ${#real[@]} ] && compare "the same + 100 MB installer" "${files[@]}"
echo "groups exported: $(ls "$work/ours" | wc -l) by vesmarin-icons, $(ls "$work/theirs" | wc -l) by wrestool"

# 256-pixel PNGs, one program run per file on each side, as a script would make them, over the large files
# (with a stored 256-pixel image): win32-loader.exe, the installer, and those given. Each file has a folder
# of its own for the icoutils route, made beforehand, so that only the programs are timed.
big=()
for f in /usr/share/win32/win32-loader.exe "$work/installer.exe" "$@"; do [ -f "$f" ] && big+=("$f"); done
for ((k = 0; k < ${#big[@]}; k++)); do mkdir -p "$work/x/$k"; done
png_ours() {
  for f in "${big[@]}"; do "$tool" export --size 256 --format png --out "$work/png" "$f"; done
}
png_theirs() {
  for ((k = 0; k < ${#big[@]}; k++)); do
    wrestool -x -t14 -o "$work/x/$k" "${big[$k]}"
    local groups=("$work/x/$k"/*.ico) # sorted by name; the pattern itself when there is none
    [ ! -f "${groups[0]}" ] || icotool -x -w 256 -o "$work/x/$k" "${groups[0]}"
  done
}
ours=$(timed png_ours)
theirs=$(timed png_theirs)
printf '%-28s 256 px PNG: vesmarin-icons %ss, wrestool + icotool %ss, ratio %sx\n' "${#big[@]} large files, each alone" \
  "$ours" "$theirs" "$(ratio "$theirs" "$ours")"
