#!/usr/bin/env bash
# `vesmarin FOLDER` as a shell or a file manager starts it: a relative folder whose name is not UTF-8 opens
# in the tree in place of the initial path, and neither the settings file nor the recent paths learn it.
# The current path is read back by making it the initial path through the Save path menu.
#
# Usage: StartFolder.sh PROGRAM [ARTIFACTS_DIR]
# Exit status 77 (skipped) when a tool is missing.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xdrive.sh
. "$here/xdrive.sh"

program=${1:?usage: StartFolder.sh PROGRAM [ARTIFACTS_DIR]}
# shellcheck disable=SC2034 # read by xdrive.sh
XD_ARTIFACTS=${2:-}

if ! missing=$(xd_missing_tools Xvfb xdotool xprop cmp); then
    echo "SKIPPED: missing $missing (scripts/deps.sh test installs them)"
    exit 77
fi
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }

cmdSavePath=(2160 5160 492 492)
cmdEnd=(2760 5760 492 492)

xd_setup vesmarin-e2e-folder
home="$XD_WORK/home"
folder=$(printf '%s/old/caf\351' "$home") # Latin-1, as copied from an old disk
mkdir -p "$folder/inner"
xd_copy_program "$program"
ini="$XD_WORK/prog/Tembrill.ini"
# Every setting stored, so that start-up itself has nothing to write.
printf '[General]\nLanguage=0\nInitialPath=%s\n\n[Options]\nLevels=0\nCaseSensitive=1\nWhatToBrowse=3\n' \
    "$home" >"$ini"
cp "$ini" "$XD_WORK/ini.before"
xd_start_server

cd "$home/old" || xd_fail "no folder $home/old"
xd_start_program "./../old/caf$(printf '\351')/"
xd_step "start on a folder: no message, the settings file untouched"
xd_wait_window 'Vesmarin|Recall initial path|Recall path'
[ "$(xdotool getwindowname "$XD_WIN")" = Vesmarin ] || xd_fail "a start-up message came"
XD_MAIN=$XD_WIN
cmp -s "$ini" "$XD_WORK/ini.before" || xd_fail "start-up changed the settings file: $(cat "$ini")"

xd_step "the folder is current: Save path, initial path"
before=$(xd_visible_windows)
xd_click_control "$XD_MAIN" "${cmdSavePath[@]}"
xd_popup_choose "$before" 2
# The initial path itself being current would give "Set initial path" (it is already the initial path).
xd_wait_dialog 'Save initial path|Set initial path'
[ "$(xdotool getwindowname "$XD_WIN")" = 'Save initial path' ] ||
    xd_fail "the folder given is not current: the program says the initial path is"
xd_keys "$XD_WIN" Return # Yes
xd_wait_window_gone "$XD_WIN"
xd_click_control "$XD_MAIN" "${cmdEnd[@]}"
xd_wait_program_end

[ "$(ini_value "$ini" General InitialPath)" = "$folder" ] ||
    xd_fail "the current path was '$(ini_value "$ini" General InitialPath)', not '$folder'"
[ ! -e "$XD_WORK/prog/SavedPaths.txt" ] || xd_fail "the folder reached the recent paths"

xd_step "passed"
