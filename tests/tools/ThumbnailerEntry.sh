#!/usr/bin/env bash
# Installs the build into a scratch prefix and runs its vesmarin.thumbnailer entry as a file manager does:
# the Exec line split into words, %s, %i, %o and %u replaced, the program found on the search path. Also
# checks that TryExec is installed and that every MIME type it names exists in shared-mime-info here.
# Usage: ThumbnailerEntry.sh BUILD_DIR   (exit 77: skipped, the real Windows files are missing)
set -euo pipefail
build=$1
loader=/usr/share/win32/win32-loader.exe
icon=/usr/share/nsis/Stubs/uninst
[ -f "$loader" ] && [ -f "$icon" ] || { echo "needs Debian's nsis-common and win32-loader"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
entry=$work/prefix/share/thumbnailers/vesmarin.thumbnailer
[ -f "$entry" ] || { echo "not installed: share/thumbnailers/vesmarin.thumbnailer"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
field() { sed -n "s/^$1=//p" "$entry"; }

[ "$(sed -n 1p "$entry")" = "[Thumbnailer Entry]" ] || fail "the entry's first line is not [Thumbnailer Entry]"
tryexec=$(field TryExec)
[ -x "$work/prefix/bin/$tryexec" ] || fail "TryExec $tryexec is not installed in bin"
IFS=';' read -r -a types <<<"$(field MimeType)"
[ ${#types[@]} -gt 0 ] || fail "no MimeType"
for type in "${types[@]}"; do
  [ -z "$type" ] || [ -f "/usr/share/mime/$type.xml" ] || fail "shared-mime-info does not define $type"
done

# The width and height of a PNG file ("0 0" when it is none).
png_size() {
  if [ "$(head -c 4 "$1" 2>/dev/null | od -An -c | tr -d ' ')" != "211PNG" ]; then echo "0 0"; return; fi
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}

# A folder name with a space and Greek letters, as a file manager may pass it.
mkdir -p "$work/in/Νέος φάκελος"
cp "$loader" "$work/in/Νέος φάκελος/setup.exe"
cp "$icon" "$work/in/icon.ico"
printf 'not a program' >"$work/in/fake.exe"
uri_of() { python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' "$1"; }

# size input expected-width expected-height (0 0: no thumbnail and a non-zero status)
while read -r size input width height; do
  input=$work/in/${input//_/ }
  output=$work/out.png
  rm -f "$output"
  read -r -a words <<<"$(field Exec)"
  argv=()
  for word in "${words[@]}"; do
    word=${word//%s/$size}
    word=${word//%i/$input}
    [[ $word != *%u* ]] || word=${word//%u/$(uri_of "$input")}
    word=${word//%o/$output}
    argv+=("$word")
  done
  status=0
  PATH="$work/prefix/bin:$PATH" "${argv[@]}" 2>/dev/null || status=$?
  got=$(png_size "$output")
  if [ "$width" = 0 ]; then
    [ "$status" -ne 0 ] && [ ! -e "$output" ] || fail "$input at $size: status $status, output $got"
  else
    [ "$status" -eq 0 ] && [ "$got" = "$width $height" ] || fail "$input at $size: status $status, $got, not $width x $height"
  fi
done <<'CASES'
256 Νέος_φάκελος/setup.exe 256 256
128 Νέος_φάκελος/setup.exe 48 48
16 icon.ico 16 16
128 fake.exe 0 0
CASES

[ "$failures" -eq 0 ] || exit 1
echo "the installed thumbnailer entry works as a file manager runs it"
