#!/usr/bin/env bash
# The navigator and the mouse wheel in the terminal: the wheel moves the
# order grid and the lookup grid a record a notch, the navigator's Delete
# and the grid's Ctrl+Delete ask first and delete only on Yes, and the
# question's status line tells its own keys.
source "$(dirname "$0")/tmux_lib.sh"
tui_require_tmux
demo=$1
passed=0
check() { passed=$((passed + 1)); echo "ok $passed - $*"; }

tui_start "$demo" --db "$TUI_DIR/orders.db"
TUI_TIMEOUT=180 tui_wait_for "Ctrl+F1 lookup"
# Two orders of a part each (no customer: the customer lookup below opens
# on the first customers).
tui_wait_for "New order |"
tui_keys M-p
tui_keys -l 900
tui_keys C-s
tui_wait_for "Order 1001 (saved)"
tui_keys C-n
tui_wait_for "New order |"
tui_keys M-p
tui_keys -l 912
tui_keys C-s
tui_wait_for "Order 1002 (saved) - posted"
tui_wait_for "▶│      1002"
tui_wait_for " │      1001"
check "two orders in the grid, the second current"

# The wheel over the order grid: up a record, then down again.
row=$(tui_row_of "│      1001")
col=$(tui_col_in_line "│      1001" "1001")
tui_wheel up "$col" "$row"
tui_wait_for "▶│      1001"
tui_wait_for "Order 1001 (saved)"
tui_wheel down "$col" "$row"
tui_wait_for "▶│      1002"
tui_wait_for "Order 1002 (saved)"
check "the wheel moves the order grid's record up and down by one"

# Delete on the navigator asks; No keeps the order.
nav_row=$(tui_row_of "|< <")
del_col=$(tui_col_in_line "|< <" " - ")
tui_click "$((del_col + 1))" "$nav_row"
tui_wait_for "Delete record?"
tui_wait_for "Y Yes  N No  Enter Yes  Esc No"
tui_wait_gone "Ctrl+F1 lookup"
tui_keys n
tui_wait_gone "Delete record?"
tui_wait_for "Ctrl+F1 lookup"
tui_wait_for "▶│      1002"
check "Delete asks first, with its own keys on the status line, and No keeps the order"

tui_click "$((del_col + 1))" "$nav_row"
tui_wait_for "Delete record?"
tui_keys y
tui_wait_gone "Delete record?"
tui_wait_gone "      1002"
tui_wait_for "▶│      1001"
check "Yes deletes the current order"

# Ctrl+Delete in the order grid asks the same question; No keeps the order.
row=$(tui_row_of "▶│      1001")
col=$(tui_col_in_line "▶│      1001" "1001")
tui_click "$col" "$row"
tui_keys C-DC
tui_wait_for "Delete record?"
tui_keys n
tui_wait_gone "Delete record?"
tui_wait_for "▶│      1001"
check "Ctrl+Delete in the order grid asks first, and No keeps the order"

# The lookup grid follows the wheel too.
tui_keys M-c C-F1
tui_wait_for "double-click picks"
first=$(tui_line_of "▶")
grid_row=$(tui_row_of "▶")
grid_col=$(($(tui_col_in_line "▶" "▶") + 3))
tui_wheel down "$grid_col" "$grid_row"
deadline=$((SECONDS + TUI_TIMEOUT))
while [ "$(tui_row_of "▶")" != "$((grid_row + 1))" ]; do
    ((SECONDS < deadline)) || tui_fail "the wheel did not move the lookup grid"
    sleep 0.05
done
tui_wheel up "$grid_col" "$grid_row"
tui_wait_row "▶" "$grid_row"
[ "$(tui_line_of "▶")" = "$first" ] || tui_fail "the wheel did not come back to the first customer"
tui_keys Escape
tui_wait_gone "double-click picks"
check "the wheel moves the lookup grid down and back"

tui_keys C-q
tui_wait_exit
check "Ctrl+Q quits"
echo "$passed passed, 0 failed"
