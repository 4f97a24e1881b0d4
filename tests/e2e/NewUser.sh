#!/usr/bin/env bash
# The whole program as a new user meets it: the real program, started from a fresh copy of its folder on a
# private X server, driven only by real clicks and keys; the results are read from the files it writes, from
# the titles of its windows and, for the texts of the toolkit's own buttons, from its accessibility tree.
#
# Usage: NewUser.sh PROGRAM [ARTIFACTS_DIR]
#   PROGRAM        the built program; its help files are taken from its folder
#   ARTIFACTS_DIR  where a failed run leaves a screenshot of the screen, and every run the picture of the
#                  tree opened twelve levels deep (tree-12-levels.png) and of a Greek OK/Cancel box
#                  (greek-ok-cancel.png)
# Exit status 77 (skipped) when a tool is missing.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xdrive.sh
. "$here/xdrive.sh"

program=${1:?usage: NewUser.sh PROGRAM [ARTIFACTS_DIR]}
# shellcheck disable=SC2034 # read by xdrive.sh
XD_ARTIFACTS=${2:-}

if ! missing=$(xd_missing_tools Xvfb xdotool xprop xclip od awk import convert identify dbus-daemon dbus-send); then
    echo "SKIPPED: missing $missing (scripts/deps.sh test installs them)"
    exit 77
fi
# Reading the toolkit's own button texts needs the accessibility bus and its Python bindings.
if [ ! -f /usr/share/dbus-1/services/org.a11y.Bus.service ] || ! "$XD_PYTHON" -c 'import pyatspi' 2>/dev/null; then
    echo "SKIPPED: missing at-spi2-core or python3-pyatspi (scripts/deps.sh test installs them)"
    exit 77
fi
for f in /usr/share/nsis/Stubs/zlib-x86-ansi /usr/share/win32/win32-loader.exe; do
    [ -f "$f" ] || { echo "SKIPPED: missing $f (Debian's nsis-common and win32-loader)"; exit 77; }
done
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }

# Places on the main window and the recall dialog, in twips (left, top, width, height).
cmdBrowse=(2760 5160 492 492)
cmdSavePath=(2160 5160 492 492)
cmdRecallPath=(2160 5760 492 492)
cmdEnd=(2760 5760 492 492)
cmdUpOneLevel=(2760 4440 492 492)
cmdGreek=(840 5760 492 492)
cmdScan=(3360 6480 6132 372)
grdControl=(3360 840)
lstSavedPaths=(120 120)
cmdRecall=(5640 3960 2052 372)
# The levels box: txtLevels (840, 240, 732 by 288) in fraLevels (120, 5040). (Typed into rather than
# stepped with its arrows, which repeat while held: a busy machine could make a click count twice.)
txtLevels_x=$(($(xd_px 120) + $(xd_px 840) + $(xd_px 732) / 2))
txtLevels_y=$(($(xd_px 5040) + $(xd_px 240) + $(xd_px 288) / 2))

# has_transparency PNG: the picture has an alpha channel and at least one pixel that is not opaque.
has_transparency() {
    case "$(identify -format '%[channels]' "$1" 2>/dev/null)" in *a) ;; *) return 1 ;; esac
    [ "$(convert "$1" -alpha extract -format '%[fx:minima]' info: 2>/dev/null)" != 1 ]
}

# A click on the icon of cell N (from 1) of the grid: 13 cells to a row, each a 32-pixel icon with a small
# margin, inside the grid's frame.
cell=36
click_cell() {
    local n=$(($1 - 1))
    xd_click "$XD_MAIN" $(($(xd_px "${grdControl[0]}") + 2 + (n % 13) * cell + cell / 2)) \
        $(($(xd_px "${grdControl[1]}") + 2 + (n / 13) * cell + cell / 2))
}

# The titles the program gives its message boxes and dialogs.
title_first_start_en='Recall initial path'
title_first_start_gr='Ανάκληση αρχικής διαδρομής'
title_icons='Vesmarin'
title_save_path_gr='Αποθήκευση διαδρομής'
title_recall_gr='Ανάκληση διαδρομής'
title_save_initial_gr='Αποθήκευση αρχικής διαδρομής'
title_initial_already_gr='Ορισμός αρχικής διαδρομής'

xd_setup vesmarin-e2e
home="$XD_WORK/home"
programs="$home/programs"
xd_make_programs_folder "$programs"
xd_copy_program "$program"
ini="$XD_WORK/prog/Tembrill.ini"
saved="$XD_WORK/prog/SavedPaths.txt"
xd_start_server

# ---- First start ----------------------------------------------------------------------------------------
xd_start_program
xd_step "first start: the message about the missing initial path"
xd_answer "$title_first_start_en" Return
xd_wait_window Vesmarin
XD_MAIN=$XD_WIN
xd_geometry "$XD_MAIN"
if [ "$GW" -lt 600 ] || [ "$GH" -lt 440 ]; then xd_fail "main window is ${GW}x$GH"; fi

xd_step "choosing the programs folder in the tree"
# The tree opens at the home folder with the focus; the folder of programs is its only sub-folder.
xd_keys "$XD_MAIN" Right Down

xd_step "Browse: the first set of icons"
xd_click_control "$XD_MAIN" "${cmdBrowse[@]}"
xd_answer "$title_icons" Return

xd_step "the next set of icons"
xd_click_control "$XD_MAIN" "${cmdScan[@]}"
xd_answer "$title_icons" Return

xd_step "saving icon 1 (Save)"
before=$(xd_visible_windows)
click_cell 1
xd_popup_choose "$before" 1
xd_wait_file "$home/I0000001.bmp"

xd_step "copying icon 2 (Copy)"
before=$(xd_visible_windows)
click_cell 2
xd_popup_choose "$before" 3
deadline=$((SECONDS + XD_TIMEOUT))
until xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -q '^image/'; do
    [ $SECONDS -ge $deadline ] && xd_fail "the clipboard holds no picture"
    sleep 0.2
done
xclip -selection clipboard -t image/png -o >"$XD_WORK/clip.png" 2>/dev/null
# A PNG file (the toolkit offers the picture in that format too) of the icon's 32 by 32 pixels.
[ "$(od -An -tx1 -N8 "$XD_WORK/clip.png" | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    xd_fail "the clipboard picture is not readable as PNG"
[ "$(od -An -tu4 -j16 -N8 --endian=big "$XD_WORK/clip.png" | tr -s ' ')" = " 32 32" ] ||
    xd_fail "the clipboard picture is not 32 by 32 pixels"
# That PNG is the icon with its transparency: an alpha channel, and pixels it leaves clear.
has_transparency "$XD_WORK/clip.png" || xd_fail "the clipboard's PNG has no transparency"

xd_step "switching to Greek"
xd_click_control "$XD_MAIN" "${cmdGreek[@]}"

xd_step "saving the path as a recent path"
before=$(xd_visible_windows)
xd_click_control "$XD_MAIN" "${cmdSavePath[@]}"
xd_popup_choose "$before" 1
xd_answer "$title_save_path_gr" Return # Yes
xd_wait_file "$saved"

xd_step "up one level, then recalling the recent path"
xd_click_control "$XD_MAIN" "${cmdUpOneLevel[@]}"
before=$(xd_visible_windows)
xd_click_control "$XD_MAIN" "${cmdRecallPath[@]}"
xd_popup_choose "$before" 1
xd_wait_dialog "$title_recall_gr"
dialog=$XD_WIN
xd_click "$dialog" $(($(xd_px "${lstSavedPaths[0]}") + 40)) $(($(xd_px "${lstSavedPaths[1]}") + 9))
xd_click_control "$dialog" "${cmdRecall[@]}"
xd_wait_window_gone "$dialog"

xd_step "making the recalled path the initial path"
before=$(xd_visible_windows)
xd_click_control "$XD_MAIN" "${cmdSavePath[@]}"
xd_popup_choose "$before" 2
# Had the recall not worked, the current path would be the home folder, which is already the initial path.
xd_wait_dialog "$title_save_initial_gr|$title_initial_already_gr"
[ "$(xdotool getwindowname "$XD_WIN")" = "$title_save_initial_gr" ] ||
    xd_fail "the recalled path is not current: the program says it is already the initial path"
xd_keys "$XD_WIN" Return # Yes
xd_wait_window_gone "$XD_WIN"

xd_step "two levels, then End"
xd_click "$XD_MAIN" "$txtLevels_x" "$txtLevels_y"
xd_keys "$XD_MAIN" ctrl+a 2
xd_click_control "$XD_MAIN" "${cmdEnd[@]}"
xd_wait_program_end

# ---- What the first run left ----------------------------------------------------------------------------
xd_step "checking the settings, the recent paths and the saved icon"
errors=0
expect() { # what actual wanted
    if [ "$2" != "$3" ]; then
        echo "MISMATCH $1: got '$2', expected '$3'" >&2
        errors=$((errors + 1))
    fi
}
expect "Language" "$(ini_value "$ini" General Language)" 1
expect "InitialPath" "$(ini_value "$ini" General InitialPath)" "$programs"
expect "Levels" "$(ini_value "$ini" Options Levels)" 2
expect "WhatToBrowse" "$(ini_value "$ini" Options WhatToBrowse)" 3
# The icon folder was never chosen: the home folder served, and nothing was stored.
expect "IconSavePath" "$(ini_value "$ini" Options IconSavePath)" ""
expect "SavedPaths.txt" "$(od -An -c "$saved" | tr -s ' \n' ' ')" \
    "$(printf '%s\r\n' "$programs" | od -An -c | tr -s ' \n' ' ')"

# The icon's bitmap: a valid BMP file of 32 by 32 pixels whose pixels are not all one colour.
bmp="$home/I0000001.bmp"
le() { od -An -t"u$2" -j "$1" -N "$2" --endian=little "$bmp" | tr -d ' '; }
expect "bitmap signature" "$(od -An -c -N2 "$bmp" | tr -d ' ')" BM
expect "bitmap file size" "$(le 2 4)" "$(stat -c %s "$bmp")"
expect "bitmap width" "$(le 18 4)" 32
height=$(le 22 4)
[ "$height" -gt $((1 << 31)) ] && height=$(((1 << 32) - height)) # a top-down bitmap
expect "bitmap height" "$height" 32
bits=$(le 28 2)
case "$bits" in 24 | 32) ;; *) expect "bitmap bits per pixel" "$bits" "24 or 32" ;; esac
expect "bitmap compression" "$(le 30 4 | sed 's/^3$/0/')" 0
colours=$(od -An -v -tx1 -w$((bits / 8)) -j "$(le 10 4)" -N $((32 * 32 * bits / 8)) "$bmp" | sort -u | wc -l)
[ "$colours" -ge 3 ] || expect "colours in the icon's bitmap" "$colours" "3 or more"
[ $errors -eq 0 ] || xd_fail "$errors check(s) failed"

# ---- Second start: the choices are remembered -----------------------------------------------------------
xd_start_program
xd_step "second start: Greek, at the initial path, without a message"
xd_wait_window "Vesmarin|$title_first_start_en|$title_first_start_gr"
[ "$(xdotool getwindowname "$XD_WIN")" = Vesmarin ] || xd_fail "the start-up message came again"
XD_MAIN=$XD_WIN
before=$(xd_visible_windows)
xd_click_control "$XD_MAIN" "${cmdSavePath[@]}"
xd_popup_choose "$before" 2
xd_answer "$title_initial_already_gr" Return
xd_click_control "$XD_MAIN" "${cmdEnd[@]}"
xd_wait_program_end
expect "Levels after the second run" "$(ini_value "$ini" Options Levels)" 2
expect "SavedPaths.txt lines after the second run" "$(wc -l <"$saved")" 1
[ $errors -eq 0 ] || xd_fail "$errors check(s) failed"

# ---- A folder twelve levels deep, reached in the tree ----------------------------------------------------
# Twelve levels below the initial path, each folder with a long name beside a sibling whose name starts the
# same: each level is opened with Right and its first subfolder chosen by a click on its name, one step in
# from the name above; the deepest becomes the current path, which Save path > Recent then writes. The
# tree's picture is kept.
deep=$programs
for i in 01 02 03 04 05 06 07 08 09 10 11 12; do
    mkdir -p "$deep/level $i of the folders beside it"
    deep="$deep/level $i of the folders"
done
mkdir -p "$deep"
tree_left=$(xd_px 120)
tree_top=$(xd_px 120)
tree_right=$((tree_left + $(xd_px 3132) - 20))  # left of the vertical scroll bar
tree_bottom=$((tree_top + $(xd_px 3732) - 20)) # above a horizontal scroll bar
indentation=20                                  # from a folder's name to its subfolders' names

# pixels X0 Y0 WIDTH HEIGHT: "x y r g b" for each pixel of that part of the last picture of the tree.
pixels() {
    convert "$XD_WORK/tree.png" -crop "$3x$4+$1+$2" +repage -depth 8 txt:- |
        sed -n 's/^\([0-9]*\),\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p'
}

# selected_row: sets ROW_Y and ROW_H to the tree's selected row (its highlight) and NAME_X to where its
# name starts (the first light pixel on the highlight), all in the window's pixels.
selected_row() {
    xd_screenshot_window "$XD_MAIN" "$XD_WORK/tree.png"
    read -r ROW_Y ROW_H < <(pixels $((tree_left + 6)) "$tree_top" 1 "$(xd_px 3732)" |
        awk -v top="$tree_top" '$3 < 100 && $5 > 150 { if (!n) first = $2; n++ } END { print top + first, n + 0 }')
    [ "$ROW_H" -gt 0 ] || xd_fail "no selected row in the tree"
    NAME_X=$(pixels "$tree_left" $((ROW_Y + ROW_H / 2)) $((tree_right - tree_left)) 1 |
        awk -v left="$tree_left" '$3 > 200 && $4 > 200 && $5 > 200 { print left + $1; exit }')
    [ -n "$NAME_X" ] || xd_fail "the selected folder's name is out of sight"
}

xd_start_program
xd_step "a folder twelve levels deep: opened with Right, chosen by clicks on the names"
xd_wait_window Vesmarin
XD_MAIN=$XD_WIN
for level in 01 02 03 04 05 06 07 08 09 10 11 12; do
    selected_row
    xd_keys "$XD_MAIN" Right # opens the selected folder
    # Its first subfolder is the row below; the wheel brings that row into view when it is not.
    while [ $((ROW_Y + 2 * ROW_H)) -gt "$tree_bottom" ]; do
        xd_geometry "$XD_MAIN"
        xd_pointer_to $((GX + tree_left + 20)) $((GY + tree_top + 20))
        xdotool click 5
        selected_row
    done
    x=$((NAME_X + indentation + 4))
    [ "$x" -lt "$tree_right" ] || xd_fail "the name of level $level is out of sight"
    xd_click "$XD_MAIN" "$x" $((ROW_Y + ROW_H + ROW_H / 2))
done
selected_row
# The whole name is in sight: the highlight goes on after its last letter.
read -r last_light last_highlight < <(pixels "$tree_left" $((ROW_Y + ROW_H / 2)) $((tree_right - tree_left)) 1 |
    awk '$3 > 200 && $4 > 200 && $5 > 200 { l = $1 } $3 < 100 && $5 > 150 { h = $1 } END { print l + 0, h + 0 }')
[ "$last_highlight" -gt "$last_light" ] || xd_fail "the deepest folder's name runs out of sight"
if [ -n "$XD_ARTIFACTS" ]; then
    mkdir -p "$XD_ARTIFACTS"
    cp "$XD_WORK/tree.png" "$XD_ARTIFACTS/tree-12-levels.png"
fi

xd_step "the deepest folder is the current path: saved as the newest recent path"
before=$(xd_visible_windows)
xd_click_control "$XD_MAIN" "${cmdSavePath[@]}"
xd_popup_choose "$before" 1
xd_answer "$title_save_path_gr" Return # Yes
deadline=$((SECONDS + XD_TIMEOUT))
until [ "$(head -n 1 "$saved" | tr -d '\r')" = "$deep" ]; do
    [ $SECONDS -ge $deadline ] && xd_fail "the newest recent path is '$(head -n 1 "$saved" | tr -d '\r')'"
    sleep 0.1
done
xd_click_control "$XD_MAIN" "${cmdEnd[@]}"
xd_wait_program_end

# ---- Fourth start, in Greek: Edit... with a text editor, a partial recall answered with OK -------------
# A stand-in for the text editor, first on the search path under the first name the program looks for: it
# notes how it was started and puts a path that does not exist at the top of the recent paths.
gone="$home/gone/deeper"
mkdir -p "$XD_WORK/bin"
cat >"$XD_WORK/bin/notepad" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >"$XD_WORK/editor-args"
printf '%s\r\n%s\r\n' "$gone" "$programs" >"\$1"
SCRIPT
chmod +x "$XD_WORK/bin/notepad"
lstFirstLine=($(($(xd_px "${lstSavedPaths[0]}") + 40)) $(($(xd_px "${lstSavedPaths[1]}") + 9)))
cmdEdit=(2880 3960 2052 372)
title_edit_gr='Επεξεργασία αποθηκευμένων διαδρομών'
title_save_as_gr='Αποθήκευση εικονιδίου ως...'

# recall_first_line: Recall path > Recent..., the first line of the list, Recall.
recall_first_line() {
    local before dialog
    before=$(xd_visible_windows)
    xd_click_control "$XD_MAIN" "${cmdRecallPath[@]}"
    xd_popup_choose "$before" 1
    xd_wait_dialog "$title_recall_gr"
    dialog=$XD_WIN
    xd_click "$dialog" "${lstFirstLine[@]}"
    xd_click_control "$dialog" "${cmdRecall[@]}"
    xd_wait_window_gone "$dialog"
}

# make_initial EXPECTED: Save path > Initial... > Yes, which stores the current path; it must be EXPECTED.
make_initial() {
    local before
    before=$(xd_visible_windows)
    xd_click_control "$XD_MAIN" "${cmdSavePath[@]}"
    xd_popup_choose "$before" 2
    xd_wait_dialog "$title_save_initial_gr|$title_recall_gr"
    [ "$(xdotool getwindowname "$XD_WIN")" = "$title_save_initial_gr" ] ||
        xd_fail "another recall message came instead of the initial path question"
    xd_keys "$XD_WIN" Return # Yes
    xd_wait_window_gone "$XD_WIN"
    [ "$(ini_value "$ini" General InitialPath)" = "$1" ] ||
        xd_fail "the current path is '$(ini_value "$ini" General InitialPath)', not '$1'"
}

xd_start_session_bus
xd_start_program PATH="$XD_WORK/bin:$PATH" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
xd_wait_window Vesmarin
XD_MAIN=$XD_WIN

xd_step "Save as...: a name in a folder that does not exist is refused inside the dialog"
xd_click_control "$XD_MAIN" "${cmdBrowse[@]}"
xd_answer "$title_icons" Return
before=$(xd_visible_windows)
click_cell 1
xd_popup_choose "$before" 2
xd_wait_dialog "$title_save_as_gr"
saveas=$XD_WIN
xd_keys "$saveas" ctrl+a
xdotool type --delay 40 "nosuch/mine"
before=$(xd_visible_windows)
xdotool key Return
xd_wait_new_window "$before"
refusal=$XD_WIN
[ "$(xdotool getwindowname "$refusal")" = "$title_save_as_gr" ] ||
    xd_fail "'$(xdotool getwindowname "$refusal")' came instead of the dialog's own refusal"
xd_a11y_buttons "$title_save_as_gr" OK
xd_keys "$refusal" Return
xd_wait_window_gone "$refusal"
xd_keys "$saveas" ctrl+a
xdotool type --delay 40 "mine"
xdotool key Return
xd_wait_window_gone "$saveas"
xd_wait_file "$home/mine.bmp"
[ ! -e "$home/nosuch" ] || xd_fail "a folder was made for the refused name"

xd_step "Edit...: the Greek notice and its buttons as the toolkit shows them"
before=$(xd_visible_windows)
xd_click_control "$XD_MAIN" "${cmdRecallPath[@]}"
xd_popup_choose "$before" 1
xd_wait_dialog "$title_recall_gr"
dialog=$XD_WIN
xd_click_control "$dialog" "${cmdEdit[@]}"
xd_wait_dialog "$title_edit_gr"
notice=$XD_WIN
[ -n "$XD_ARTIFACTS" ] && mkdir -p "$XD_ARTIFACTS" && xd_screenshot_window "$notice" "$XD_ARTIFACTS/greek-ok-cancel.png"
xd_a11y_buttons "$title_edit_gr" "OK|Άκυρο"

xd_step "Edit... > OK: the editor runs on the file and the list is read again"
xd_keys "$notice" Return # OK, the default
xd_wait_window_gone "$notice"
xd_wait_file "$XD_WORK/editor-args"
[ "$(cat "$XD_WORK/editor-args")" = "$saved" ] || xd_fail "the editor was started with '$(cat "$XD_WORK/editor-args")'"
xd_click "$dialog" "${lstFirstLine[@]}"
xd_click_control "$dialog" "${cmdRecall[@]}"
xd_wait_window_gone "$dialog"

xd_step "the new first line is missing: the partial recall question, OK, and the final message"
xd_wait_dialog "$title_recall_gr"
question=$XD_WIN
xd_a11y_buttons "$title_recall_gr" "OK|Άκυρο"
xd_keys "$question" Return # OK, the default
xd_wait_window_gone "$question"
xd_wait_dialog "$title_recall_gr"
xd_a11y_buttons "$title_recall_gr" OK # the final message, not the question again
xd_keys "$XD_WIN" Return
xd_wait_window_gone "$XD_WIN"
make_initial "$home"

xd_step "the same recall, the folder made while the question is open, OK: the full path"
recall_first_line
xd_wait_dialog "$title_recall_gr"
question=$XD_WIN
mkdir -p "$gone"
xd_keys "$question" Return # OK
xd_wait_window_gone "$question"
make_initial "$gone"

xd_click_control "$XD_MAIN" "${cmdEnd[@]}"
xd_wait_program_end
expect "SavedPaths.txt after the edit" "$(od -An -c "$saved" | tr -s ' \n' ' ')" \
    "$(printf '%s\r\n%s\r\n' "$gone" "$programs" | od -An -c | tr -s ' \n' ' ')"
[ $errors -eq 0 ] || xd_fail "$errors check(s) failed"

# ---- Fifth start, on a small folder: the icon out of the window as PNG -------------------------------------
# A program with a 256-pixel PNG image and two installer stubs of one name in folders of their own: Save as
# PNG takes the largest image; Save all names the second stub's icon as vesmarin-icons export would.
small="$home/small"
mkdir -p "$small/a" "$small/b" "$home/all"
cp /usr/share/win32/win32-loader.exe "$small/"
cp /usr/share/nsis/Stubs/zlib-x86-ansi "$small/a/x.exe"
cp /usr/share/nsis/Stubs/zlib-x86-ansi "$small/b/x.exe"
title_save_png_gr='Αποθήκευση εικονιδίου ως PNG...'
title_save_all_gr='Αποθήκευση όλων των εικονιδίων της ομάδας'

xd_start_program "$small"
xd_wait_window Vesmarin
XD_MAIN=$XD_WIN
xd_click_control "$XD_MAIN" "${cmdBrowse[@]}"
xd_answer "$title_icons" Return

xd_step "Save as PNG...: the name offered in the icon folder, as it stands"
before=$(xd_visible_windows)
click_cell 1
xd_popup_choose "$before" 6
xd_answer "$title_save_png_gr" Return
xd_wait_file "$home/win32-loader.exe-0.png"

xd_step "Save all icons of this set...: a folder typed into the folder dialog, PNG as offered"
before=$(xd_visible_windows)
click_cell 2
xd_popup_choose "$before" 8
xd_wait_dialog "$title_save_all_gr"
chooser=$XD_WIN
xd_keys "$chooser" ctrl+a
xdotool type --delay 40 "$home/all/"
xdotool key Return
xd_wait_window_gone "$chooser"
xd_answer "$title_icons" Return # how many were saved
xd_click_control "$XD_MAIN" "${cmdEnd[@]}"
xd_wait_program_end

xd_step "checking the PNG files"
expect "files saved" "$(cd "$home/all" && ls | tr '\n' ' ')" "win32-loader.exe-0.png x.exe-0.png x.exe~2-0.png "
for f in "$home/win32-loader.exe-0.png" "$home/all/win32-loader.exe-0.png" "$home/all/x.exe-0.png" "$home/all/x.exe~2-0.png"; do
    has_transparency "$f" || expect "transparency of $(basename "$f")" no yes
done
expect "size of the largest image" "$(identify -format '%wx%h' "$home/win32-loader.exe-0.png")" 256x256
expect "size of a stub's icon" "$(identify -format '%wx%h' "$home/all/x.exe~2-0.png")" 32x32
[ $errors -eq 0 ] || xd_fail "$errors check(s) failed"

xd_step "passed"
