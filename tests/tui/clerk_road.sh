#!/usr/bin/env bash
# A clerk's whole road, as a person does it, on SQLite (the default) or on
# the PostgreSQL server in VESKAR_PG (second argument "pg"): a new order,
# the customer by typing, a part, post; another order from Ctrl+N with the
# customer found by company in the lookup form, one from
# the navigator's + and one from Insert in the grid; quit, start the program again, and the orders are
# there with their numbers, and the numbering goes on after them.
source "$(dirname "$0")/tmux_lib.sh"
tui_require_tmux
demo=$1
engine=${2:-sqlite}
passed=0
check() { passed=$((passed + 1)); echo "ok $passed - $*"; }

if [ "$engine" = pg ]; then
    if [ -z "${VESKAR_PG:-}" ]; then
        [ -z "${VESKAR_REQUIRE_PG:-}" ] || { echo "FAIL: VESKAR_REQUIRE_PG is set but VESKAR_PG is not"; exit 1; }
        echo "SKIP: VESKAR_PG is not set (./scripts/pg-cluster start prints it)"
        exit 77
    fi
    command -v psql >/dev/null || { echo "FAIL: psql is needed to make the test's schema"; exit 1; }
    # A schema of its own, dropped afterwards: the demo makes its tables there.
    schema="tui_road_$$"
    psql -q "$VESKAR_PG" -c "CREATE SCHEMA $schema" >/dev/null
    drop_schema() { psql -q "$VESKAR_PG" -c "DROP SCHEMA IF EXISTS $schema CASCADE" >/dev/null 2>&1 || true; }
    trap 'tui_cleanup; drop_schema' EXIT
    database=(--pg "$VESKAR_PG options='-c search_path=$schema'")
else
    database=(--db "$TUI_DIR/orders.db")
fi

# Starts the demo and waits for its form; the first start makes the database.
starts=0
start() {
    # A session of its own each time; the one before stays until the end.
    starts=$((starts + 1))
    TUI_SESSION="road$starts"
    rm -f "$TUI_DIR/rc" "$TUI_DIR/stderr"
    tui_start "$demo" "${database[@]}"
    [ "$engine" != pg ] || trap 'tui_cleanup; drop_schema' EXIT
    TUI_TIMEOUT=240 tui_wait_for "Ctrl+F1 lookup"
    tui_wait_for "Order entry"
}
quit() {
    tui_keys C-q
    tui_wait_exit
}
# The grid's row of an order: its number, customer and ship-to name.
order_row() { printf '│%10s│%-10s│%s' "$1" "$2" "$3"; }
# Types a customer number and a part into the order being entered.
enter() {
    tui_keys M-c
    tui_keys -l "$1"
    tui_keys M-p
    tui_wait_for "[$2"
    tui_keys -l "$3"
}

start
tui_wait_for "New order |"
check "the program starts on a new order without a number"

enter CE1354 "Cayman Eastside Dive" 900
tui_wait_for "George Town"
tui_keys C-s
tui_wait_for "Order 1001 (saved) - posted"
tui_wait_for "$(order_row 1001 CE1354 "Cayman Eastside Dive")"
check "a customer typed fills the ship-to; posted, the order gets its number from the database"

# The next order's customer by search: a click on the lookup form's
# Company title, then the company's first words.
tui_keys C-n
tui_wait_for "New order |"
tui_keys M-c C-F1
tui_wait_for "═ Customers ═"
title_row=$(tui_row_of "│CustNo    │Company")
tui_click "$(tui_col_in_line "│CustNo    │Company" "Company")" "$title_row"
tui_wait_for "Company: ["
tui_raw "freeport reef"
tui_wait_for "▶│FR1380    │Freeport Reef Club"
tui_keys Enter
tui_wait_gone "═ Customers ═"
tui_wait_for "[Freeport Reef Club"
tui_keys M-p
tui_keys -l 1313
tui_keys C-s
tui_wait_for "Order 1002 (saved) - posted"
check "Ctrl+N begins the next order, its customer found by company, numbered when posted"

# The navigator's + (beside the part number) inserts an order too.
nav_row=$(tui_row_of "|< <")
tui_click "$(tui_col_in_line "|< <" "+")" "$nav_row"
tui_wait_for "New order"
enter AB1221 "Abbey Road Divers" 912
tui_keys C-s
tui_wait_for "Order 1003 (saved) - posted"
check "the navigator's + inserts an order, numbered when posted"

# Insert in the order grid, on the row of the first order.
row=$(tui_row_of "$(order_row 1001 CE1354 "Cayman Eastside Dive")")
tui_click "$(tui_col_in_line "$(order_row 1001 CE1354 "Cayman Eastside Dive")" "1001")" "$row"
tui_wait_for "▶│      1001"
tui_keys IC
tui_wait_for "New order"
enter CE1351 "Celtic Sight Diver" 900
tui_keys C-s
tui_wait_for "Order 1004 (saved) - posted"
tui_wait_for "▶$(order_row 1004 CE1351 "Celtic Sight Diver")"
check "Insert in the grid inserts an order, numbered when posted, and the grid stands on it"

quit
check "Ctrl+Q quits"

start
tui_wait_for "New order |"
tui_wait_for "$(order_row 1001 CE1354 "Cayman Eastside Dive")"
tui_wait_for "$(order_row 1002 FR1380 "Freeport Reef Club")"
tui_wait_for "$(order_row 1003 AB1221 "Abbey Road Divers")"
tui_wait_for "$(order_row 1004 CE1351 "Celtic Sight Diver")"
check "started again, the orders are there with their numbers"

enter CD1231 "Cedar Bay Sports" 900
tui_keys C-s
tui_wait_for "Order 1005 (saved) - posted"
quit
check "the numbering goes on after the orders on file"
echo "$passed passed, 0 failed"
