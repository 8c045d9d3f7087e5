# Helpers for driving a program in a detached tmux session of fixed size
# and reading its screen as a person would see it. Sourced by the tests.
# Every wait polls the screen until what is expected appears or a timeout
# passes; nothing sleeps for a fixed time where a poll works.

set -euo pipefail
# The terminal is under test: a display in the environment would open the
# demo in a window instead.
unset DISPLAY WAYLAND_DISPLAY

TUI_SOCKET="veskar-tui-$$"
TUI_SESSION="demo"
# The terminal's size; a run may ask for another (80x24, the usual default).
TUI_COLS=${TUI_COLS:-120}
TUI_ROWS=${TUI_ROWS:-36}
TUI_TIMEOUT=${TUI_TIMEOUT:-15}
TUI_DIR=$(mktemp -d)

tui_tmux() { tmux -L "$TUI_SOCKET" -f /dev/null "$@"; }

tui_cleanup() {
    tui_tmux kill-server >/dev/null 2>&1 || true
    rm -rf "$TUI_DIR"
}

# Skips the test (ctest reads 77 as skipped) when tmux is missing.
tui_require_tmux() {
    if ! command -v tmux >/dev/null 2>&1; then
        echo "SKIP: tmux is not installed; the terminal tests need it"
        exit 77
    fi
}

# Starts Program in the session; its standard error goes to a file, and its
# exit code is written when it ends.
tui_start() {
    trap tui_cleanup EXIT
    local program=$1
    shift
    # CI runs without TERM; the session has its own.
    TERM=xterm-256color tui_tmux new-session -d -s "$TUI_SESSION" -x "$TUI_COLS" -y "$TUI_ROWS" \
        "TERM=xterm-256color $(printf '%q ' "$program" "$@") 2>'$TUI_DIR/stderr'; echo \$? >'$TUI_DIR/rc'; sleep 600"
}

tui_screen() { tui_tmux capture-pane -p -t "$TUI_SESSION"; }

tui_fail() {
    echo "FAIL: $*"
    echo "--- screen ---"
    tui_screen || true
    echo "--- stderr ---"
    cat "$TUI_DIR/stderr" 2>/dev/null || true
    exit 1
}

# Waits until the screen shows Text (a fixed string).
tui_wait_for() {
    local text=$1 deadline=$((SECONDS + TUI_TIMEOUT))
    while ((SECONDS < deadline)); do
        if tui_screen | grep -qF -- "$text"; then return 0; fi
        sleep 0.05
    done
    tui_fail "the screen never showed: $text"
}

# Waits until the screen no longer shows Text.
tui_wait_gone() {
    local text=$1 deadline=$((SECONDS + TUI_TIMEOUT))
    while ((SECONDS < deadline)); do
        if ! tui_screen | grep -qF -- "$text"; then return 0; fi
        sleep 0.05
    done
    tui_fail "the screen still shows: $text"
}

# Waits until Text shows on screen row Row (from 0).
tui_wait_row() {
    local text=$1 row=$2 deadline=$((SECONDS + TUI_TIMEOUT))
    while ((SECONDS < deadline)); do
        if [ "$(tui_row_of "$text")" = "$row" ]; then return 0; fi
        sleep 0.05
    done
    tui_fail "the screen never showed $text on row $row"
}

# The first screen line that holds Text, and its row (from 0; empty when none).
tui_line_of() { tui_screen | { grep -F -- "$1" || true; } | head -1; }
tui_row_of() { tui_screen | { grep -nF -- "$1" || true; } | head -1 | cut -d: -f1 | awk '{print $1 - 1}'; }

# Keys as tmux names them (C-F1, Enter, Down...).
tui_keys() { tui_tmux send-keys -t "$TUI_SESSION" "$@"; }
# Bytes sent as they are (escape sequences, mouse reports).
tui_raw() { tui_tmux send-keys -t "$TUI_SESSION" -l "$1"; }
# A click of the left button at a cell (column, row from 0), in the SGR
# encoding the program asks the terminal for.
tui_click() {
    local x=$(($1 + 1)) y=$(($2 + 1))
    tui_raw $'\e'"[<0;${x};${y}M"
    tui_raw $'\e'"[<0;${x};${y}m"
}

# A notch of the mouse wheel at a cell: away from the user (up) or toward
# the user (down), in the SGR encoding.
tui_wheel() {
    local x=$(($2 + 1)) y=$(($3 + 1)) code=64
    [ "$1" = down ] && code=65
    tui_raw $'\e'"[<${code};${x};${y}M"
}

# The column where Text starts on the line that holds Context (both fixed
# strings); fails when the line has no Text.
tui_col_in_line() {
    local line
    line=$(tui_line_of "$1")
    local before=${line%%"$2"*}
    [ "$before" != "$line" ] || return 1
    # Columns, not bytes: the line holds box-drawing characters.
    printf '%s' "$before" | LC_ALL=C.UTF-8 wc -m
}

# Waits for the program to end; checks it ended well and wrote no error.
tui_wait_exit() {
    local deadline=$((SECONDS + TUI_TIMEOUT))
    while ((SECONDS < deadline)); do
        if [ -s "$TUI_DIR/rc" ]; then break; fi
        sleep 0.05
    done
    [ -s "$TUI_DIR/rc" ] || tui_fail "the program did not end"
    local rc
    rc=$(cat "$TUI_DIR/rc")
    [ "$rc" = 0 ] || tui_fail "the program ended with code $rc"
    if [ -s "$TUI_DIR/stderr" ]; then tui_fail "the program wrote errors"; fi
}
