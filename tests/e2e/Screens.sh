#!/usr/bin/env bash
# The icon grid as people with other screens and habits meet it, in the real program on a private X server:
# 1. At QT_SCALE_FACTOR=2 the Debian program's icon, which stores 48- and 256-pixel images, fills its cell's
#    64 by 64 screen pixels with the image `vesmarin-icons export --size 64` writes, laid on the grid's colour,
#    not with the 32 by 32 picture doubled. Then the keyboard alone: Right moves to that icon, the menu key
#    opens its menu and Save writes I0000002.bmp; Shift+F10 and Return open the menu too; Ctrl+C copies.
# 2. Under a dark palette (qt6ct with its "darker" colour scheme, as a user of a desktop without its own Qt
#    settings would choose one): the folder names read on the tree's pale cyan, and no box of another colour
#    shows around an icon. Then the window is made larger: more icons to a row, and Save still names an icon
#    by its place in the set.
#
# Usage: Screens.sh PROGRAM [ARTIFACTS_DIR]
#   PROGRAM        the built program; vesmarin-icons is taken from its folder
#   ARTIFACTS_DIR  where every run leaves scaled-2x.png, dark.png and enlarged.png, and a failed run a
#                  screenshot of the screen
# Exit status 77 (skipped) when a tool is missing.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xdrive.sh
. "$here/xdrive.sh"

program=${1:?usage: Screens.sh PROGRAM [ARTIFACTS_DIR]}
# shellcheck disable=SC2034 # read by xdrive.sh
XD_ARTIFACTS=${2:-}
tool="$(dirname "$program")/vesmarin-icons"

if ! missing=$(xd_missing_tools Xvfb xdotool xprop xclip import convert compare); then
    echo "SKIPPED: missing $missing (scripts/deps.sh test installs them)"
    exit 77
fi
for f in /usr/share/nsis/Stubs/zlib-x86-ansi /usr/share/win32/win32-loader.exe; do
    [ -f "$f" ] || { echo "SKIPPED: missing $f (Debian's nsis-common and win32-loader)"; exit 77; }
done
if ! compgen -G "/usr/lib/*/qt6/plugins/platformthemes/libqt6ct.so" >/dev/null; then
    echo "SKIPPED: missing qt6ct (scripts/deps.sh test installs it)"
    exit 77
fi
if [ ! -x "$program" ] || [ ! -x "$tool" ]; then
    echo "no program at $program or no $tool" >&2
    exit 1
fi

# The grid's place on the main window, in twips; its cells are 36 pixels square, each icon 32 pixels in the
# middle of its cell.
grdControl=(3360 840)
cmdBrowse=(2760 5160 492 492)
title_icons='Vesmarin'

# shellcheck disable=SC2034 # read by xdrive.sh
XD_SCREEN=1600x1000x24 # the window at twice its size
xd_setup vesmarin-e2e-screens
home="$XD_WORK/home"
programs="$home/programs"
xd_make_programs_folder "$programs"
xd_copy_program "$program"
# The folder of programs is the initial path; the icon folder is the home folder.
printf '[General]\nLanguage=0\nInitialPath=%s\n' "$programs" >"$XD_WORK/prog/Tembrill.ini"
xd_start_server

# colour_at FILE X Y: the pixel's colour as #RRGGBB.
colour_at() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1
}

# browse SCALE: Browse, and the count message answered.
browse() {
    xd_click "$XD_MAIN" $((($(xd_px "${cmdBrowse[0]}") + $(xd_px "${cmdBrowse[2]}") / 2) * $1)) \
        $((($(xd_px "${cmdBrowse[1]}") + $(xd_px "${cmdBrowse[3]}") / 2) * $1))
    xd_answer "$title_icons" Return
}

# menu_by KEY...: the keys open a pop-up menu, which Escape closes.
menu_by() {
    local before
    before=$(xd_visible_windows)
    xd_keys "$XD_MAIN" "$@"
    xd_wait_new_window "$before"
    xdotool key Escape
    xd_wait_window_gone "$XD_WIN"
}

# ---- Twice the pixels ------------------------------------------------------------------------------------
xd_start_program QT_SCALE_FACTOR=2
xd_wait_window Vesmarin
XD_MAIN=$XD_WIN
xd_step "scale 2: Browse, the Debian program's icon drawn from its larger images"
browse 2
shot="$XD_WORK/scaled.png"
xd_screenshot_window "$XD_MAIN" "$shot"
[ -n "$XD_ARTIFACTS" ] && mkdir -p "$XD_ARTIFACTS" && cp "$shot" "$XD_ARTIFACTS/scaled-2x.png"
# Icon 2 (the files of the chosen folder come before those of its subfolders: uninst.exe, then
# win32-loader.exe) lies about 36 pixels right of the grid's corner, at twice the size.
x0=$((2 * ($(xd_px "${grdControl[0]}") + 36) - 8))
y0=$((2 * $(xd_px "${grdControl[1]}") - 8))
background=$(colour_at "$shot" $((x0 + 13)) $((y0 + 13))) # the cell's margin, left of and above its icon
for size in 64 32; do
    "$tool" export --size "$size" --out "$XD_WORK/$size" /usr/share/win32/win32-loader.exe >/dev/null ||
        xd_fail "vesmarin-icons could not export the Debian program's icon at $size pixels"
done
convert -size 64x64 "xc:$background" "$XD_WORK/64/win32-loader.exe-0.png" -composite "$XD_WORK/expected.png"
convert -size 32x32 "xc:$background" "$XD_WORK/32/win32-loader.exe-0.png" -composite -filter point \
    -resize 200% "$XD_WORK/doubled.png"
convert "$shot" -crop "96x96+$x0+$y0" +repage "$XD_WORK/region.png"
found=$(compare -metric AE -fuzz 1% -subimage-search "$XD_WORK/region.png" "$XD_WORK/expected.png" null: 2>&1)
[[ $found =~ ^0\ @\ ([0-9]+),([0-9]+) ]] ||
    xd_fail "no 64 by 64 picture of the stored images near the second cell ($found)"
icon_x=$((x0 + BASH_REMATCH[1]))
icon_y=$((y0 + BASH_REMATCH[2]))
convert "$shot" -crop "64x64+$icon_x+$icon_y" +repage "$XD_WORK/cell.png"
differ=$(compare -metric AE -fuzz 1% "$XD_WORK/cell.png" "$XD_WORK/doubled.png" null: 2>&1)
[ "${differ%% *}" -gt 200 ] 2>/dev/null || xd_fail "the cell shows the 32 by 32 picture doubled ($differ)"

xd_step "the keyboard: Right to the icon, the menu key, Save"
# A click on icon 1 and Escape leave the keyboard in the grid, on icon 1.
before=$(xd_visible_windows)
xd_click "$XD_MAIN" $((icon_x - 72 + 32)) $((icon_y + 32))
xd_wait_new_window "$before"
xdotool key Escape
xd_wait_window_gone "$XD_WIN"
xd_keys "$XD_MAIN" Right
before=$(xd_visible_windows)
xd_keys "$XD_MAIN" Menu
xd_popup_choose "$before" 1 # Save
xd_wait_file "$home/I0000002.bmp"
[ ! -e "$home/I0000001.bmp" ] || xd_fail "the menu key saved icon 1"
xd_step "Shift+F10 and Return open the menu as well"
menu_by shift+F10
menu_by Return
xd_step "Ctrl+C copies the current icon"
xd_keys "$XD_MAIN" ctrl+c
deadline=$((SECONDS + XD_TIMEOUT))
until xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -q '^image/'; do
    [ $SECONDS -ge $deadline ] && xd_fail "Ctrl+C put no picture on the clipboard"
    sleep 0.2
done
# The next run uses the same program folder, which one program at a time may use.
kill "$XD_PROGRAM_PID"
xd_wait_pid_gone "$XD_PROGRAM_PID" "$XD_TIMEOUT" || xd_fail "the program did not end"
XD_PROGRAM_PID=""

# ---- A dark palette, then a larger window ----------------------------------------------------------------
mkdir -p "$XD_WORK/xdg/config/qt6ct"
printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion\n' \
    >"$XD_WORK/xdg/config/qt6ct/qt6ct.conf"
xd_start_program QT_QPA_PLATFORMTHEME=qt6ct
xd_wait_window Vesmarin
XD_MAIN=$XD_WIN
xd_step "dark palette: Browse"
browse 1
shot="$XD_WORK/dark.png"
xd_screenshot_window "$XD_MAIN" "$shot"
[ -n "$XD_ARTIFACTS" ] && cp "$shot" "$XD_ARTIFACTS/dark.png"

xd_step "dark palette: the folder names read on the pale cyan"
# Outside the selected row (the highlight, a saturated blue), the tree holds dark names and lines on the
# pale cyan, and nothing as light as the palette's own text.
read -r light dark < <(convert "$shot" -crop "$(xd_px 3132)x$(xd_px 3732)+$(xd_px 120)+$(xd_px 120)" \
    -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\2 \3 \4 \5/p' |
    awk '$4 > $2 + 60 && $2 < 100 { sel[$1] = 1 } { y[NR] = $1; r[NR] = $2; g[NR] = $3; b[NR] = $4 }
        END { for (i = 1; i <= NR; i++) if (!sel[y[i]]) { if (r[i] > 230) l++; if (r[i] + g[i] + b[i] < 180) d++ }
              print l + 0, d + 0 }')
[ "$light" -lt 10 ] || xd_fail "the tree shows $light pixels of light text on its pale cyan"
[ "$dark" -gt 200 ] || xd_fail "the tree shows only $dark dark pixels: its names do not read"

xd_step "dark palette: no box around the icons"
# Icon 1 (NSIS's uninstaller) is transparent at its top-left corner: there the cell's own colour shows.
cell_x=$(($(xd_px "${grdControl[0]}") + 1))
cell_y=$(($(xd_px "${grdControl[1]}") + 1))
margin=$(colour_at "$shot" $((cell_x + 1)) $((cell_y + 1)))
corner=$(colour_at "$shot" $((cell_x + 3)) $((cell_y + 3)))
[ "$margin" = "$corner" ] || xd_fail "a box of $corner shows around the icon on the grid's $margin"

xd_step "a larger window: 19 icons to a row, Save names the icon by its place"
xd_geometry "$XD_MAIN"
xdotool windowsize "$XD_MAIN" $((GW + 250)) $((GH + 150))
deadline=$((SECONDS + XD_TIMEOUT))
until xd_geometry "$XD_MAIN" && [ "$GH" -ge 600 ] && [ "$GW" -ge 960 ]; do
    [ $SECONDS -ge $deadline ] && xd_fail "the window stayed ${GW}x$GH"
    sleep 0.1
done
xd_screenshot_window "$XD_MAIN" "$XD_WORK/enlarged.png"
[ -n "$XD_ARTIFACTS" ] && cp "$XD_WORK/enlarged.png" "$XD_ARTIFACTS/enlarged.png"
before=$(xd_visible_windows)
xd_click "$XD_MAIN" $((cell_x + 18)) $((cell_y + 36 + 18)) # the first cell of the second row
xd_popup_choose "$before" 1                                  # Save
xd_wait_file "$home/I0000020.bmp"

xd_step "passed"
