#!/usr/bin/env bash
# A whole order entry in the terminal, as a person does it: the demo runs
# in a tmux session of fixed size, keys and mouse reports are sent to it,
# and the screen is read back.
source "$(dirname "$0")/tmux_lib.sh"
tui_require_tmux
demo=$1
passed=0
check() { passed=$((passed + 1)); echo "ok $passed - $*"; }
# The lookup button's glyph as the cells show it.
button="▒"
# The column where Text starts on the line that holds Context (both fixed strings).
col_in_line() {
    local line
    line=$(tui_line_of "$1")
    local before=${line%%"$2"*}
    [ "$before" != "$line" ] || return 1
    # Columns, not bytes: the line holds box-drawing characters.
    printf '%s' "$before" | wc -m
}

# A database of its own: the first start makes and fills it.
tui_start "$demo" --db "$TUI_DIR/orders.db"
TUI_TIMEOUT=180 tui_wait_for "Ctrl+F1 lookup"
tui_wait_for "Order entry"
check "the order form and the status line show"

# The customer number has the focus: the lookup button sits inside it, at
# its right edge, and in no other edit.
tui_wait_for "$button"
[ "$(tui_screen | grep -c "$button")" = 1 ] || tui_fail "the lookup button shows more than once"
cust_row=$(tui_row_of "$button")
check "the lookup button shows in the focused customer edit"

# A few letters, then the shortcut: the lookup form opens beside the edit
# on the first customer whose number starts with them.
tui_keys c e
tui_wait_for "[ce "
tui_keys C-F1
tui_wait_for "Celtic Sight Diver"
tui_wait_for "double-click picks"
current=$(tui_line_of "▶")
[[ "$current" == *CE1351* ]] || tui_fail "the lookup grid is not on CE1351: $current"
edit_end=$(col_in_line "[ce " "$button")
form_left=$(col_in_line "[ce " "╔")
((form_left > edit_end)) || tui_fail "the lookup form ($form_left) is not right of the edit ($edit_end)"
[ "$(tui_row_of "╔")" = "$cust_row" ] || tui_fail "the lookup form is not level with the edit"
check "the lookup form opens beside the edit on the record typed"

tui_keys NPage
tui_wait_gone "▶│CE1351"
tui_keys PPage
tui_wait_for "▶│CE1351"
check "Page Down and Page Up move the lookup grid by a page and back"

tui_keys Down
tui_wait_for "▶│CE1354"
tui_keys Enter
tui_wait_for "[Cayman Eastside Dive"
tui_wait_for "George Town"
tui_wait_gone "double-click picks"
tui_wait_for "[CE1354"
check "Down and Enter fill the customer number, the ship-to name and the city"

# The part number's lookup, opened with the raw sequence xterm sends for
# Ctrl+F1, and left with Esc: nothing changes.
tui_keys Tab Tab
tui_wait_row "$button" "$((cust_row + 4))"
check "Tab moves the focus, and the lookup button with it, to the part number"
tui_raw $'\e[1;5P'
tui_wait_for "Regulator system"
tui_keys Escape
tui_wait_gone "Regulator system"
check "the raw Ctrl+F1 sequence opens the part lookup and Esc leaves it"

# Back with Alt and the label's marked letter, and Shift+Tab there and
# back again.
tui_keys M-c
tui_wait_row "$button" "$cust_row"
tui_keys Tab
tui_wait_gone "$button"
tui_keys BTab
tui_wait_row "$button" "$cust_row"
check "Alt+C and Shift+Tab bring the focus back to the customer number"

# The mouse: a click on the lookup button of the customer number, and a
# double click on a customer.
tui_click "$(col_in_line "[CE1354" "$button")" "$cust_row"
tui_wait_for "▶│CE1354"
# The customer before it in number order: CE1351.
pick_row=$(tui_row_of "│CE1351")
pick_col=$(col_in_line "│CE1351" "CE1351")
tui_click "$pick_col" "$pick_row"
tui_click "$pick_col" "$pick_row"
tui_wait_gone "double-click picks"
tui_wait_for "[Celtic Sight Diver"
tui_wait_for "[CE1351"
check "a click on the button opens the lookup, a double click picks a customer"

# An unknown customer number: the fill's message comes as a message box,
# closed with a click on OK.
for _ in 1 2 3 4 5 6; do tui_keys BSpace; done
tui_keys Z Z 9 Tab
tui_wait_for "No customer has that number."
tui_wait_for "Enter/Esc OK"
tui_wait_gone "double-click picks"
ok_row=$(tui_row_of "[  OK  ]")
tui_click "$(col_in_line "[  OK  ]" "OK")" "$ok_row"
tui_wait_gone "No customer has that number."
check "an unknown number shows the fill's message box with its own keys, and OK closes it"

# Post, resize, quit.
tui_keys C-s
tui_wait_for "Order 1001 (saved) - posted"
tui_wait_for "▶│      1001"
# The next order has no number until it is posted: the database gives it.
tui_keys C-n
tui_wait_for "New order |"
tui_wait_for "│*│          │"
tui_keys C-z
tui_wait_for "changes dropped"
tui_wait_gone "│*│"
check "Ctrl+S posts, Ctrl+N starts a new order and Ctrl+Z drops it"
tui_tmux resize-window -t "$TUI_SESSION" -x 100 -y 30
tui_wait_row "Ctrl+F1 lookup" 29
check "the screen follows a resize"
# Quitting from inside a lookup form ends its modal loop and the program.
tui_keys M-c C-F1
tui_wait_for "double-click picks"
tui_keys C-q
tui_wait_exit
[ "$(tui_tmux display -p -t "$TUI_SESSION" '#{alternate_on}')" = 0 ] || tui_fail "the terminal was not restored"
check "Ctrl+Q quits from inside the lookup form and gives the terminal back"
echo "$passed passed, 0 failed"
