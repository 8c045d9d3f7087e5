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

# The command line: usage on request, and for an option it does not know.
usage=$("$demo" --help) || tui_fail "--help did not exit 0"
for option in --script --db --pg --help; do
    [[ "$usage" == *"$option"* ]] || tui_fail "the usage does not name $option"
done
set +e
"$demo" --bogus >"$TUI_DIR/out" 2>"$TUI_DIR/err"
rc=$?
set -e
[ "$rc" = 2 ] || tui_fail "an unknown option ended with $rc, not 2"
grep -q "Usage:" "$TUI_DIR/err" || tui_fail "an unknown option did not print the usage to stderr"
[ ! -s "$TUI_DIR/out" ] || tui_fail "an unknown option printed to stdout"
check "--help prints the usage and exits 0, an unknown option prints it to stderr and exits 2"

# A database of its own: the first start makes and fills it, and says so
# while the form is not there yet.
tui_start "$demo" --db "$TUI_DIR/orders.db"
tui_wait_for "Making the database: customers"
TUI_TIMEOUT=180 tui_wait_for "^Q quit"
tui_wait_for "Order entry"
check "the database's making shows progress, then the order form and the status line show"

# The whole form and its status line's keys are on the screen.
last=$((TUI_ROWS - 1))
tui_wait_row "^Q quit" "$last"
form_bottom=$(tui_row_of "└")
[ -n "$form_bottom" ] && ((form_bottom < last)) || tui_fail "the order form's bottom edge is not on the screen"
check "the order form fits the ${TUI_COLS}x${TUI_ROWS} screen"

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
tui_wait_for "═ Customers ═"
[ "$(tui_row_of "[ce ")" = "$cust_row" ] || tui_fail "the lookup form covers the customer edit"
top=$(tui_line_of "═ Customers ═")
[[ "$top" == *"╗" ]] || tui_fail "the lookup form's right edge is not on the screen: $top"
[ -n "$(tui_row_of "╝")" ] || tui_fail "the lookup form's bottom edge is not on the screen"
if ((TUI_COLS >= 120)); then
    edit_end=$(col_in_line "[ce " "$button")
    form_left=$(col_in_line "[ce " "╔")
    ((form_left > edit_end)) || tui_fail "the lookup form ($form_left) is not right of the edit ($edit_end)"
    [ "$(tui_row_of "╔")" = "$cust_row" ] || tui_fail "the lookup form is not level with the edit"
else
    (($(tui_row_of "╔") > cust_row)) || tui_fail "the lookup form is not below the edit"
fi
check "the lookup form, captioned Customers, opens on the record typed, whole and clear of the edit"

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
tui_keys Tab
tui_wait_row "$button" "$((cust_row + 4))"
check "Tab moves the focus, and the lookup button with it, past the ship-to to the part number"
tui_raw $'\e[1;5P'
tui_wait_for "Regulator system"
tui_wait_for "═ Parts ═"
tui_keys Escape
tui_wait_gone "Regulator system"
check "the raw Ctrl+F1 sequence opens the part lookup and Esc leaves it"

# Back with Alt and the label's marked letter, and Shift+Tab there and
# back again.
tui_keys M-c
tui_wait_row "$button" "$cust_row"
tui_keys Tab
tui_wait_row "$button" "$((cust_row + 4))"
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

# The unknown customer is not posted; the number stays for the clerk to
# put right.
tui_keys C-s
tui_wait_for "is not on file: the order is not posted."
tui_keys Enter
tui_wait_gone "is not on file"
tui_wait_for "New order - not posted"
tui_wait_for "[ZZ9"
check "an order for a customer not on file is refused with a message, the number kept"

# The lookup opened on a number that matches nothing says so, and Enter
# takes no record blindly; the clerk searches again and picks.
tui_keys M-c C-F1
tui_wait_for "═ Customers ═"
tui_wait_for "[ZZ9  "
tui_wait_for "no match"
tui_keys Enter
sleep 0.3
tui_wait_for "no match"
tui_keys BSpace BSpace BSpace
tui_raw "ce13"
tui_wait_gone "no match"
tui_keys Enter
tui_wait_gone "═ Customers ═"
tui_wait_for "[Celtic Sight Diver"
check "a lookup on a number nothing matches says no match and picks nothing until a search matches"

# Post, resize, quit.
tui_keys C-s
tui_wait_for "Order 1001 (saved) - posted"
tui_wait_for "▶│      1001"
# Typing again: the order is being edited, and "posted" is no longer true.
tui_keys x
tui_wait_for "Order 1001 (editing) |"
tui_keys C-z
tui_wait_for "Order 1001 (saved) - dropped"
tui_wait_for "[CE1351 "
# The next order has no number until it is posted: the database gives it.
tui_keys C-n
tui_wait_for "New order |"
tui_wait_for "│*│          │"
tui_keys C-z
tui_wait_for "Order 1001 (saved) - dropped"
tui_wait_gone "│*│"
check "Ctrl+S posts, the note goes with the next change, Ctrl+N starts a new order and Ctrl+Z drops it"

# Quitting with a change not posted asks first; Cancel stays.
tui_keys M-c x C-q
tui_wait_for "Save changes?"
tui_wait_for "Esc Cancel"
tui_keys Escape
tui_wait_gone "Save changes?"
tui_wait_for "Order 1001 (editing)"
tui_keys C-z
tui_wait_for "Order 1001 (saved) - dropped"
check "Ctrl+Q with a change not posted asks Save changes?, and Cancel keeps working"

# Before the customer number in tab order is the navigator: Right moves to
# its Insert button, Space clicks it.
tui_keys M-c BTab Right Right Right Right Space
tui_wait_for "New order |"
tui_keys C-z
tui_wait_for "Order 1001 (saved) - dropped"
check "Shift+Tab reaches the navigator, which works from the keyboard"
tui_tmux resize-window -t "$TUI_SESSION" -x 70 -y 20
tui_wait_row "^Q quit" 19
form_bottom=$(tui_row_of "└")
[ -n "$form_bottom" ] && ((form_bottom < 19)) || tui_fail "the order form's bottom edge is not on the smaller screen"
tui_tmux resize-window -t "$TUI_SESSION" -x 100 -y 30
tui_wait_row "^Q quit" 29
check "the screen follows a resize, and a smaller one keeps the whole form"
# Quitting from inside a lookup form ends its modal loop and the program.
tui_keys M-c C-F1
tui_wait_for "double-click picks"
tui_keys C-q
tui_wait_exit
[ "$(tui_tmux display -p -t "$TUI_SESSION" '#{alternate_on}')" = 0 ] || tui_fail "the terminal was not restored"
check "Ctrl+Q quits from inside the lookup form and gives the terminal back"

# A signal while an order is half typed: nothing half made is saved, the
# program ends cleanly and gives the terminal back.
for signal in TERM HUP; do
    # A session of its own beside the one that ended, which then goes.
    ended=$TUI_SESSION
    TUI_SESSION="demo-$signal"
    rm -f "$TUI_DIR/rc" "$TUI_DIR/stderr"
    tui_start "$demo" --db "$TUI_DIR/orders.db"
    tui_tmux kill-session -t "$ended"
    tui_wait_for "New order |"
    tui_keys C E 1 3 5 4 Tab
    tui_wait_for "[Cayman Eastside Dive"
    shell=$(tui_tmux display -p -t "$TUI_SESSION" '#{pane_pid}')
    kill -s "$signal" "$(pgrep -P "$shell" -x veskar_demo)"
    tui_wait_exit
    [ "$(tui_tmux display -p -t "$TUI_SESSION" '#{alternate_on}')" = 0 ] || tui_fail "the terminal was not restored"
    [ "$(sqlite3 "$TUI_DIR/orders.db" "SELECT COUNT(*) FROM orders WHERE CustNo = 'CE1354'")" = 0 ] ||
        tui_fail "the half-typed order was saved"
    check "SIG$signal with an order half typed ends the program cleanly, saving nothing of it"
done
echo "$passed passed, 0 failed"
