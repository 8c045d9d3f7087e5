#!/usr/bin/env bash
# Typing in the order form and its grid, and the lookup form, as a clerk
# does it: whole characters, a lookup button that follows the grid's
# column, Tab that leaves grids, and a lookup form drawn whole.
source "$(dirname "$0")/tmux_lib.sh"
tui_require_tmux
demo=$1
passed=0
check() { passed=$((passed + 1)); echo "ok $passed - $*"; }
button="▒"
euros="€€€€€€€€€€"
cursor_row() { tui_tmux display -p -t "$TUI_SESSION" '#{cursor_y}'; }
# A click on the first cell of Text on the screen.
click_on() {
    local row
    row=$(tui_row_of "$1")
    tui_click "$(tui_col_in_line "$1" "$1")" "$row"
}

tui_start "$demo" --db "$TUI_DIR/orders.db"
TUI_TIMEOUT=180 tui_wait_for "Ctrl+F1 lookup"

# Twelve euro signs in a customer number of ten characters: ten whole ones.
tui_raw "€€€€€€€€€€€€"
tui_wait_for "[$euros"
tui_line_of "[$euros" | grep -qF "$euros€" && tui_fail "more characters than the field holds"
tui_screen | grep -qF $'\uFFFD' && tui_fail "a character was cut"
tui_keys Tab
tui_wait_for "No customer has that number."
tui_keys Enter
tui_wait_for "│$euros│"
check "typing counts characters: ten euro signs, none cut"

# The grid's current number stays right-aligned in the editor; typing
# into a cell replaces its text.
click_on "1001│"
tui_keys F2
tui_wait_for "│      1001│"
click_on "$euros│"
tui_keys c
tui_wait_for "│c        $button│"
check "the current number stays right-aligned, and typing replaces the cell's text"

# Off the key column the button goes and the shortcut opens nothing.
tui_keys Tab
tui_wait_for "No customer has that number."
tui_keys Enter
tui_wait_gone "No customer has that number."
tui_keys x
tui_wait_for "│x    "
tui_keys C-F1 y
tui_wait_for "│xy   "
tui_screen | grep -qF "double-click picks" && tui_fail "the shortcut opened a lookup off the key column"
grid_row=$(tui_row_of "│xy ")
tui_line_of "│xy " | grep -qF "$button" && tui_fail "the lookup button stayed off the key column"
check "the lookup button and its shortcut follow the grid's column"

# Tab goes across the columns, then out of the grid after the last one.
left=0
for _ in 1 2 3 4 5 6 7 8 9 10; do
    tui_keys Tab
    sleep 0.3
    if [ "$(cursor_row)" != "$grid_row" ]; then left=1; break; fi
done
((left)) || tui_fail "Tab never left the grid"
check "Tab leaves the grid after its last column"

# The part lookup: two columns and nothing past them, an unbroken line
# above the buttons, a caption for a button too narrow for its glyph.
tui_keys M-p C-F1
tui_wait_for "double-click picks"
titles=$(tui_line_of "│Description")
[ "$(printf '%s' "${titles#*Description}" | tr -cd '│' | wc -m)" = 0 ] || tui_fail "a column past Description: $titles"
tui_screen | grep -qE '╶─+╴' || tui_fail "the line above the buttons is broken"
tui_screen | grep -qF "Canc]" && tui_fail "a glyph ate a caption"
tui_wait_for "Cancel]"
# Tab leaves the grid for OK, then Cancel: Enter there declines.
tui_keys Tab Tab Enter
tui_wait_gone "double-click picks"
tui_line_of "Part  " | grep -qF "900" && tui_fail "Tab did not reach Cancel: the first part was taken"
check "the lookup form is drawn whole and Tab reaches its buttons"
echo "$passed passed, 0 failed"
