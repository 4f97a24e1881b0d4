#!/usr/bin/env bash
# Renews docs/screenshots/main-en.png, main-gr.png and details.png: the main window with a full grid of icons,
# in English and in Greek, and the details window of one icon, taken from the real program on a private X
# server (Xvfb) and driven by real clicks. The icons are those of the Windows programs and libraries of
# Debian's wine64 package, a varied set; the script installs wine64 (and the X tools) when they are missing.
#
# Usage: scripts/screenshots.sh [PROGRAM]   (default: build/default/bin/vesmarin, built when missing)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
# shellcheck source=../tests/e2e/xdrive.sh
. tests/e2e/xdrive.sh

program=${1:-build/default/bin/vesmarin}
if [ ! -x "$program" ]; then
    cmake --preset default >/dev/null && cmake --build --preset default --target vesmarin || exit 1
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
wine=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
if ! xd_missing_tools Xvfb xdotool xprop import >/dev/null || [ ! -f "$wine/shell32.dll" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y --no-install-recommends xvfb xdotool x11-utils imagemagick wine64 || exit 1
fi
out="$root/docs/screenshots"
mkdir -p "$out"

# Places on the main window, in twips (left, top, width, height).
cmdBrowse=(2760 5160 492 492)
cmdEnd=(2760 5760 492 492)
grdControl=(3360 840)
cell=36

# A fixed folder, since its path shows in the pictures.
# /var/tmp rather than /tmp: the tree shows the folders beside each folder of the path, and /tmp is full of
# other programs' folders.
TMPDIR=/var/tmp xd_setup vesmarin-shots fixed
XD_ARTIFACTS="$XD_WORK/failed"
# shellcheck disable=SC2154 # rc is set in the trap itself
trap 'rc=$?; [ -d "$XD_ARTIFACTS" ] && cp -r "$XD_ARTIFACTS" "${TMPDIR:-/tmp}/vesmarin-shots-failed"; xd_cleanup; exit $rc' EXIT
programs="$XD_WORK/home/Programs"
# In name order the first set holds a dozen programs' and three libraries' icons, then shell32.dll's.
mkdir -p "$programs"
for f in cmd.exe comctl32.dll comdlg32.dll hh.exe iexplore.exe msiexec.exe notepad.exe regedit.exe shell32.dll \
    taskmgr.exe user32.dll winecfg.exe winefile.exe winemine.exe winhlp32.exe wordpad.exe; do
    cp "$wine/$f" "$programs/"
done
xd_copy_program "$program"
xd_start_server

for lang in en gr; do
    # Settings as a returning user has them: the language and the folder of programs as initial path.
    rm -f "$XD_WORK/prog/Tembrill.ini" "$XD_WORK/prog/SavedPaths.txt"
    printf '[General]\r\nLanguage=%s\r\nInitialPath=%s\r\n' "$([ $lang = gr ] && echo 1 || echo 0)" \
        "$programs" >"$XD_WORK/prog/Tembrill.ini"
    xd_start_program
    xd_step "$lang: Browse"
    xd_wait_window Vesmarin
    XD_MAIN=$XD_WIN
    xd_click_control "$XD_MAIN" "${cmdBrowse[@]}"
    xd_answer Vesmarin Return
    # The pointer away from the window, so that no control shows itself under it.
    xd_pointer_to 1 1
    xd_step "$lang: taking the picture"
    xd_screenshot_window "$XD_MAIN" "$out/main-$lang.png"
    if [ $lang = en ]; then
        xd_step "en: the details of cmd.exe's icon"
        before=$(xd_visible_windows)
        xd_click "$XD_MAIN" $(($(xd_px "${grdControl[0]}") + 2 + cell / 2)) $(($(xd_px "${grdControl[1]}") + 2 + cell / 2))
        xd_popup_choose "$before" 9
        xd_wait_window 'Icon details'
        details=$XD_WIN
        xd_pointer_to 1 1
        xd_screenshot_window "$details" "$out/details.png"
        xd_keys "$details" Escape
        xd_wait_window_gone "$details"
    fi
    xd_click_control "$XD_MAIN" "${cmdEnd[@]}"
    xd_wait_program_end
done
xd_step "written: $(for f in main-en.png main-gr.png details.png; do printf '%s (%s bytes) ' "$f" "$(stat -c %s "$out/$f")"; done)"
