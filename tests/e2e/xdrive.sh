# shellcheck shell=bash
# Drives the real program as a user would: a private X server (Xvfb), the program started from a fresh
# copy of its folder with a home folder of its own, and real input through the XTEST extension (xdotool).
# Results are read only from files, window titles and screenshots. Sourced by tests/e2e/NewUser.sh and
# scripts/screenshots.sh.
#
# Every wait polls with a deadline instead of sleeping a guessed time, so a loaded machine only makes a
# run slower. XD_TIMEOUT (seconds) bounds each single wait.

XD_TIMEOUT=${XD_TIMEOUT:-30}
XD_SCREEN=${XD_SCREEN:-1280x800x24}
XD_WORK=""        # the run's private folder (set by xd_setup)
XD_ARTIFACTS=""   # where a failed run leaves its screenshot and logs (optional)
XD_XVFB_PID=""
XD_BUS_PID=""
XD_PROGRAM_PID=""
XD_STEP="setting up"
XD_WIN=""         # the window the last wait found
XD_T0=$EPOCHREALTIME

xd_log() {
    printf '[%ss] %s\n' "$(awk -v a="$EPOCHREALTIME" -v b="$XD_T0" 'BEGIN { printf "%6.1f", a - b }')" "$*"
}

# With XD_SHOTS set, each step first leaves a picture of the screen in XD_ARTIFACTS (step-NN.png), to see
# what a run saw.
XD_STEP_COUNT=0
xd_step() {
    XD_STEP_COUNT=$((XD_STEP_COUNT + 1))
    [ -n "${XD_SHOTS:-}" ] && xd_screenshot_root "$(printf 'step-%02d' "$XD_STEP_COUNT")" 2>/dev/null
    XD_STEP="$*"
    xd_log "$*"
}

# The commands a run needs; prints the missing ones and returns 1 when any is missing.
xd_missing_tools() {
    local missing=() t
    for t in "$@"; do
        command -v "$t" >/dev/null 2>&1 || missing+=("$t")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "${missing[*]}"
    return 1
}

xd_fail() {
    echo "FAILED while $XD_STEP: $*" >&2
    xd_visible_windows_report >&2 || true
    xd_screenshot_root failure || true
    if [ -n "$XD_WORK" ] && [ -f "$XD_WORK/program.log" ] && [ -s "$XD_WORK/program.log" ]; then
        echo "--- program output ---" >&2
        tail -n 40 "$XD_WORK/program.log" >&2
    fi
    exit 1
}

# Ends what this run started (the program, then the X server) and removes the private folder. Installed
# as the EXIT trap, so it also runs after a failure or an interrupt.
xd_cleanup() {
    local rc=$?
    if [ -n "$XD_PROGRAM_PID" ] && kill -0 "$XD_PROGRAM_PID" 2>/dev/null; then
        kill "$XD_PROGRAM_PID" 2>/dev/null
        xd_wait_pid_gone "$XD_PROGRAM_PID" 5 || kill -9 "$XD_PROGRAM_PID" 2>/dev/null
    fi
    if [ -n "$XD_BUS_PID" ] && kill -0 "$XD_BUS_PID" 2>/dev/null; then
        kill "$XD_BUS_PID" 2>/dev/null
        xd_wait_pid_gone "$XD_BUS_PID" 5 || kill -9 "$XD_BUS_PID" 2>/dev/null
    fi
    if [ -n "$XD_XVFB_PID" ] && kill -0 "$XD_XVFB_PID" 2>/dev/null; then
        kill "$XD_XVFB_PID" 2>/dev/null
        xd_wait_pid_gone "$XD_XVFB_PID" 5 || kill -9 "$XD_XVFB_PID" 2>/dev/null
    fi
    wait 2>/dev/null
    if [ -n "$XD_WORK" ] && [ -d "$XD_WORK" ] && [ -z "${XD_KEEP:-}" ]; then
        rm -rf "$XD_WORK"
    fi
    return $rc
}

# xd_setup NAME [FIXED]: the private folder /tmp/NAME.XXXXXX (with FIXED: /tmp/NAME, made afresh, for a
# path that shows in pictures) with a home folder (home/), the runtime, configuration, data and cache
# folders the toolkit may write, and the EXIT trap.
xd_setup() {
    if [ -n "${2:-}" ]; then
        XD_WORK="${TMPDIR:-/tmp}/$1"
        rm -rf "$XD_WORK"
        mkdir -m 700 "$XD_WORK"
    else
        XD_WORK=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
    fi
    trap xd_cleanup EXIT
    trap 'exit 130' INT TERM
    mkdir -p "$XD_WORK/home" "$XD_WORK/xdg/config" "$XD_WORK/xdg/data" "$XD_WORK/xdg/cache" "$XD_WORK/xdg/run"
    chmod 700 "$XD_WORK/xdg/run"
}

xd_wait_pid_gone() { # pid seconds
    local deadline=$((SECONDS + $2))
    while kill -0 "$1" 2>/dev/null; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
    return 0
}

# xd_orphan_guard COMMAND...: runs the command so that it is ended when this script is killed outright
# (a killed script runs no EXIT trap).
xd_orphan_guard() {
    if command -v setpriv >/dev/null 2>&1; then
        exec setpriv --pdeathsig TERM "$@"
    fi
    exec "$@"
}

# Starts Xvfb on a free display; the server itself names the display once it accepts clients.
xd_start_server() {
    xd_step "starting the X server ($XD_SCREEN)"
    : >"$XD_WORK/display"
    xd_orphan_guard Xvfb -displayfd 9 -screen 0 "$XD_SCREEN" -nolisten tcp -noreset 9>"$XD_WORK/display" \
        >"$XD_WORK/xvfb.log" 2>&1 &
    XD_XVFB_PID=$!
    local deadline=$((SECONDS + XD_TIMEOUT))
    while ! grep -q '[0-9]' "$XD_WORK/display" 2>/dev/null; do
        kill -0 "$XD_XVFB_PID" 2>/dev/null || xd_fail "Xvfb ended: $(tail -n 5 "$XD_WORK/xvfb.log")"
        [ $SECONDS -ge $deadline ] && xd_fail "Xvfb did not start"
        sleep 0.1
    done
    DISPLAY=":$(tr -dc '0-9' <"$XD_WORK/display")"
    export DISPLAY
    # The pointer starts in a corner where no window will be.
    xd_pointer_to 1 1
}

# xd_start_session_bus: a private D-Bus session bus with the accessibility bus (AT-SPI) running on it, so
# that what the program shows can be read from its accessibility tree (xd_a11y_buttons). Exports
# DBUS_SESSION_BUS_ADDRESS; a program started with it and QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 joins.
xd_start_session_bus() {
    xd_step "starting a session bus and the accessibility bus"
    : >"$XD_WORK/bus"
    xd_orphan_guard env HOME="$XD_WORK/home" XDG_RUNTIME_DIR="$XD_WORK/xdg/run" DISPLAY="$DISPLAY" PATH="$PATH" \
        dbus-daemon --session --nofork --nopidfile --print-address=9 9>"$XD_WORK/bus" >"$XD_WORK/dbus.log" 2>&1 &
    XD_BUS_PID=$!
    local deadline=$((SECONDS + XD_TIMEOUT))
    while ! grep -q . "$XD_WORK/bus" 2>/dev/null; do
        kill -0 "$XD_BUS_PID" 2>/dev/null || xd_fail "dbus-daemon ended: $(tail -n 5 "$XD_WORK/dbus.log")"
        [ $SECONDS -ge $deadline ] && xd_fail "the session bus did not start"
        sleep 0.1
    done
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$XD_WORK/bus")
    export DBUS_SESSION_BUS_ADDRESS
    # The toolkit joins the accessibility bus only once it runs; asking for its address starts it.
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null ||
        xd_fail "the accessibility bus did not start"
}

# xd_a11y_buttons TITLE EXPECTED: fails unless the buttons of a window of the program with that title read
# EXPECTED (their texts left to right, joined by "|") in its accessibility tree, so as the toolkit really
# shows them, whatever the program asked for. Waits for the window like the other waits.
xd_a11y_buttons() {
    local seen
    seen=$("$XD_PYTHON" "$(dirname "${BASH_SOURCE[0]}")/a11y_buttons.py" "$1" "$XD_TIMEOUT" "$2") ||
        xd_fail "no window titled '$1' in the accessibility tree"
    [ "$seen" = "$2" ] || xd_fail "the buttons of '$1' read '$seen', not '$2'"
}

# The Python that has the AT-SPI bindings (Debian's own, whatever python3 comes first on PATH).
XD_PYTHON=python3
[ -x /usr/bin/python3 ] && XD_PYTHON=/usr/bin/python3

# xd_copy_program BINARY: a fresh copy of the program's folder (the program and its help files), so the
# settings and the recent paths start empty and land in this copy.
xd_copy_program() {
    local bin=$1 dir
    dir=$(dirname "$bin")
    mkdir -p "$XD_WORK/prog"
    cp "$bin" "$XD_WORK/prog/"
    cp "$dir"/*.hlp "$XD_WORK/prog/" 2>/dev/null || true
    XD_PROGRAM="$XD_WORK/prog/$(basename "$bin")"
}

# xd_make_programs_folder DIR: a folder of real Windows programs and libraries from Debian's nsis-common and
# win32-loader. The installer stubs hold one icon each; twelve copies of each, in folders of their own,
# make more icons than one set takes, so there is a next set. The libraries hold no icons; uninst.exe is
# NSIS's uninstaller icon, an .ico file under a program's name, which the program reads by its content.
xd_make_programs_folder() {
    local dir=$1 i f
    mkdir -p "$dir"
    for i in 01 02 03 04 05 06 07 08 09 10 11 12; do
        mkdir -p "$dir/set$i"
        for f in /usr/share/nsis/Stubs/*; do
            case "$f" in
            */uninst) ;;
            *) cp "$f" "$dir/set$i/$(basename "$f").exe" ;;
            esac
        done
    done
    cp /usr/share/win32/win32-loader.exe "$dir/"
    mkdir -p "$dir/plugins"
    cp /usr/share/nsis/Plugins/x86-unicode/*.dll "$dir/plugins/"
    cp /usr/share/nsis/Stubs/uninst "$dir/uninst.exe"
}

# xd_start_program [NAME=VALUE...] [ARGUMENT...]: starts the copied program, in the current folder, as a new
# user of this machine would: its own home folder, nothing inherited from the caller's desktop session but the
# variables given (which may replace PATH); the arguments after them go to the program.
xd_start_program() {
    local variables=()
    while [ $# -gt 0 ] && [[ $1 =~ ^[A-Za-z_][A-Za-z0-9_]*= ]]; do
        variables+=("$1")
        shift
    done
    xd_step "starting the program"
    xd_orphan_guard env -i PATH="$PATH" DISPLAY="$DISPLAY" HOME="$XD_WORK/home" USER="${USER:-tester}" LANG=C.UTF-8 \
        XDG_RUNTIME_DIR="$XD_WORK/xdg/run" XDG_CONFIG_HOME="$XD_WORK/xdg/config" \
        XDG_DATA_HOME="$XD_WORK/xdg/data" XDG_CACHE_HOME="$XD_WORK/xdg/cache" \
        QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0 "${variables[@]}" \
        "$XD_PROGRAM" "$@" >>"$XD_WORK/program.log" 2>&1 &
    XD_PROGRAM_PID=$!
}

# xd_wait_program_end: the program ends by itself (End button) within the time limit.
xd_wait_program_end() {
    xd_wait_pid_gone "$XD_PROGRAM_PID" "$XD_TIMEOUT" || xd_fail "the program did not end"
    local rc=0
    wait "$XD_PROGRAM_PID" || rc=$?
    [ $rc -eq 0 ] || xd_fail "the program ended with status $rc"
    XD_PROGRAM_PID=""
}

xd_visible_windows() {
    xdotool search --onlyvisible --name '' 2>/dev/null || true
}

xd_visible_windows_report() {
    [ -n "${DISPLAY:-}" ] || return 0
    local w
    echo "visible windows:"
    for w in $(xd_visible_windows); do
        echo "  $w '$(xdotool getwindowname "$w" 2>/dev/null)' $(xdotool getwindowgeometry "$w" 2>/dev/null |
            tr -s ' \n' ' ')"
    done
}

# xd_wait_window REGEX [EXCLUDED_ID...]: sets XD_WIN to the id of a visible window whose whole title matches REGEX (an
# extended regular expression), other than the excluded ones.
xd_wait_window() {
    local re=$1 deadline=$((SECONDS + XD_TIMEOUT)) w x skip
    shift
    while :; do
        for w in $(xdotool search --onlyvisible --name "^($re)\$" 2>/dev/null); do
            skip=""
            for x in "$@"; do [ "$w" = "$x" ] && skip=1; done
            [ -z "$skip" ] && { XD_WIN=$w; return 0; }
        done
        [ $SECONDS -ge $deadline ] && xd_fail "no window titled '$re' appeared"
        kill -0 "$XD_PROGRAM_PID" 2>/dev/null || xd_fail "the program ended unexpectedly"
        sleep 0.1
    done
}

# xd_wait_new_window BEFORE: sets XD_WIN to the id of a visible window that is not in the list BEFORE (a pop-up menu has no
# title of its own to look for).
xd_wait_new_window() {
    local before deadline=$((SECONDS + XD_TIMEOUT)) w
    before=" $(echo "$1" | tr '\n' ' ') "
    while :; do
        for w in $(xd_visible_windows); do
            case "$before" in
            *" $w "*) ;;
            *) XD_WIN=$w; return 0 ;;
            esac
        done
        [ $SECONDS -ge $deadline ] && xd_fail "no new window appeared"
        kill -0 "$XD_PROGRAM_PID" 2>/dev/null || xd_fail "the program ended unexpectedly"
        sleep 0.1
    done
}

xd_wait_window_gone() { # id
    local deadline=$((SECONDS + XD_TIMEOUT))
    while xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"; do
        [ $SECONDS -ge $deadline ] && xd_fail "window $1 stayed open"
        sleep 0.1
    done
}

# shellcheck disable=SC2034 # GW and GH are for the callers
# xd_geometry ID: sets GX GY GW GH to the window's position on the screen and its size. Without a window
# manager there is no frame: the position is that of the client area.
xd_geometry() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    GX=$X GY=$Y GW=$WIDTH GH=$HEIGHT
}

# The program lays its windows out in twips, 15 to a pixel, rounded to the nearest pixel.
xd_px() { echo $((($1 + 7) / 15)); }

# xd_click ID X Y: a left click at pixel (X, Y) of the window's client area.
xd_click() {
    xd_geometry "$1"
    xd_pointer_to $((GX + $2)) $((GY + $3))
    xdotool click 1
}

# xd_pointer_to X Y: moves the pointer and waits until it is there. (xdotool's own --sync waits for a
# motion event, which never comes when the pointer is already in place.)
xd_pointer_to() {
    # shellcheck disable=SC2034 # getmouselocation sets SCREEN and WINDOW as well
    local deadline=$((SECONDS + XD_TIMEOUT)) X Y SCREEN WINDOW
    xdotool mousemove "$1" "$2"
    while :; do
        eval "$(xdotool getmouselocation --shell)"
        [ "$X" = "$1" ] && [ "$Y" = "$2" ] && return 0
        [ $SECONDS -ge $deadline ] && xd_fail "the pointer did not reach $1,$2"
        sleep 0.05
    done
}

# xd_click_control ID LEFT TOP WIDTH HEIGHT: a left click in the middle of a control whose place the window
# gives in twips.
xd_click_control() {
    xd_click "$1" $(($(xd_px "$2") + $(xd_px "$4") / 2)) $(($(xd_px "$3") + $(xd_px "$5") / 2))
}

# xd_keys ID KEY...: gives the window the keyboard focus (there is no window manager to do it), then
# types the keys.
xd_keys() {
    local w=$1
    shift
    xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
    xdotool key --delay 60 "$@"
}

# xd_wait_dialog TITLE_REGEX: sets XD_WIN like xd_wait_window, for a dialog or message box only. The main window, the
# untitled please-wait window and the pop-up menus all carry the program's name as their title, as a
# message box may; the window type the toolkit gives each tells them apart.
xd_wait_dialog() {
    local re=$1 deadline=$((SECONDS + XD_TIMEOUT)) w
    while :; do
        for w in $(xdotool search --onlyvisible --name "^($re)\$" 2>/dev/null); do
            if xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_NET_WM_WINDOW_TYPE_DIALOG'; then
                XD_WIN=$w
                return 0
            fi
        done
        [ $SECONDS -ge $deadline ] && xd_fail "no dialog titled '$re' appeared"
        kill -0 "$XD_PROGRAM_PID" 2>/dev/null || xd_fail "the program ended unexpectedly"
        sleep 0.1
    done
}

# xd_answer TITLE_REGEX KEY...: waits for a message box with that title, answers it with the keys and waits
# until it has closed. Prints nothing; fails when no such box appears.
xd_answer() {
    local re=$1 w
    shift
    xd_wait_dialog "$re"
    w=$XD_WIN
    xd_keys "$w" "$@"
    xd_wait_window_gone "$w"
}

# xd_popup_choose BEFORE N: waits for the pop-up menu that opened since BEFORE was listed, then chooses its
# N-th item with the keyboard (separators are skipped, as for a user).
xd_popup_choose() {
    local menu keys=() i
    xd_wait_new_window "$1"
    menu=$XD_WIN
    for ((i = 0; i < $2; i++)); do keys+=(Down); done
    # The menu holds the keyboard while it is open.
    xdotool key --delay 80 "${keys[@]}" Return
    xd_wait_window_gone "$menu"
}

# xd_screenshot_window ID FILE: the window alone, as a PNG without metadata, once two captures in a row
# are the same (the window has finished repainting).
xd_screenshot_window() {
    local deadline=$((SECONDS + XD_TIMEOUT)) last="" now
    while :; do
        now=$(import -window "$1" rgb:- | md5sum)
        [ "$now" = "$last" ] && break
        [ $SECONDS -ge $deadline ] && xd_fail "window $1 kept changing"
        last=$now
        sleep 0.3
    done
    import -window "$1" -strip "png:$2"
}

xd_screenshot_root() { # name
    [ -n "$XD_ARTIFACTS" ] && [ -n "${DISPLAY:-}" ] || return 0
    mkdir -p "$XD_ARTIFACTS"
    if command -v import >/dev/null; then
        import -window root "$XD_ARTIFACTS/$1.png" 2>/dev/null && echo "screenshot: $XD_ARTIFACTS/$1.png" >&2
    elif command -v xwd >/dev/null; then
        xwd -root -silent -out "$XD_ARTIFACTS/$1.xwd" && echo "screenshot: $XD_ARTIFACTS/$1.xwd" >&2
    fi
}

xd_wait_file() { # path
    local deadline=$((SECONDS + XD_TIMEOUT))
    while [ ! -s "$1" ]; do
        [ $SECONDS -ge $deadline ] && xd_fail "$1 was not written"
        sleep 0.1
    done
}

# ini_value FILE SECTION KEY: the value stored under the key in the section, or nothing.
ini_value() {
    awk -v s="[$2]" -v k="$3" '
        { sub(/\r$/, "") }
        /^\[/ { in_s = ($0 == s); next }
        in_s { i = index($0, "="); if (i > 0 && substr($0, 1, i - 1) == k) { print substr($0, i + 1); exit } }
    ' "$1"
}
