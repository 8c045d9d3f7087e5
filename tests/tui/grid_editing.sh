#!/usr/bin/env bash
# Typing in the order form as a clerk does it: whole characters, and a
# number right-aligned in the grid's current cell.
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

# A posted order: its number, given by the database, stays right-aligned
# in the current cell and its editor.
tui_raw "CE1351"
tui_keys C-s
tui_wait_for "Order 1001 (saved) - posted"
click_on "1001│"
tui_keys F2
tui_wait_for "│      1001│"
tui_keys C-n
tui_wait_for "New order |"
check "the current number stays right-aligned"

# Twelve euro signs in a customer number of ten characters: ten whole ones.
tui_keys M-c
tui_raw "€€€€€€€€€€€€"
tui_wait_for "[$euros"
tui_line_of "[$euros" | grep -qF "$euros€" && tui_fail "more characters than the field holds"
tui_screen | grep -qF $'\uFFFD' && tui_fail "a character was cut"
tui_keys Tab
tui_wait_for "No customer has that number."
tui_keys Enter
tui_wait_for "│$euros│"
check "typing counts characters: ten euro signs, none cut"

# A new order below the posted one: a click on its customer cell and
# typing edit it there, with the lookup button in the cell.
tui_keys C-z
tui_wait_for "(saved) - dropped"
tui_keys C-n
tui_wait_for "New order |"
new_row=$(( $(tui_row_of "│      1001│") + 1 ))
tui_click "$(tui_col_in_line "│      1001│" "CE1351")" "$new_row"
tui_raw "CE1351"
tui_wait_for "│*│          │CE1351   $button│"
check "a click on the new order's row edits it"

# The button follows the selected column: gone in ShipTo, back in PartNo;
# Tab leaves the grid after the last column and Shift+Tab comes back.
tui_keys Tab
tui_wait_for "│*│CE1351    │Celtic Sight Diver"
tui_screen | grep -qF "$button" && tui_fail "the lookup button stayed off a key column"
tui_keys Tab Tab Tab
tui_wait_for "│         $button"
tui_keys Tab
tui_wait_gone "$button"
tui_keys BTab
tui_wait_for "│         $button"
check "the button follows the column and Tab leaves the grid"

# The part lookup from the grid: Tab goes from its grid to OK, then to
# Cancel, which copies nothing; Enter on its grid copies the part.
tui_keys C-F1
tui_wait_for "Dive kayak"
tui_keys Tab Tab Enter
tui_wait_gone "Dive kayak"
tui_line_of "│*│" | grep -qF "900" && tui_fail "Cancel copied the part"
tui_keys C-F1
tui_wait_for "Dive kayak"
tui_keys Enter
tui_wait_gone "Dive kayak"
tui_wait_for "│900"
check "the part lookup opens from the grid and takes Tab to its buttons"

echo "$passed passed, 0 failed"
