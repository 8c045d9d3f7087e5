#!/usr/bin/env bash
# The designer as a person uses it: a new form file, a class picked on the
# palette with a click, placed with a click on the form, its Name typed in
# the object inspector, Ctrl+S, Ctrl+Q; the file holds the component.
# Argument: the designer program.
source "$(dirname "$0")/tmux_lib.sh"
tui_require_tmux
form="$TUI_DIR/Order.form"
tui_start "$1" "$form"
tui_wait_for "Order.form - veskar-designer"
tui_wait_for "Dravik:"

# The palette button's cell: the class name's first letter on its line.
col=$(tui_col_in_line "TLookupFill" "TLookupFill") || tui_fail "no TLookupFill button"
row=$(tui_row_of "TLookupFill")
tui_click "$col" "$row"
tui_wait_for "Click the form to place TLookupFill"

# The form's first free cells, a few rows below the palette.
tui_click 4 $((row + 6))
tui_wait_for "[LookupFill1]"
tui_wait_for "*Order.form"
tui_wait_for "LookupDataSource"

# The inspector's Name row, clicked; Enter goes to the value's edit.
name_line=$(printf '%-20s%s' Name LookupFill1)
name_row=$(tui_row_of "$name_line")
[ -n "$name_row" ] || tui_fail "the inspector shows no Name row"
name_col=$(tui_col_in_line "$name_line" "$name_line") || tui_fail "no Name row"
tui_click "$name_col" "$name_row"
tui_keys Enter
tui_keys End
for _ in $(seq 11); do tui_keys BSpace; done
tui_keys -l "CustomerFill"
tui_keys Enter
tui_wait_for "Name = CustomerFill"
tui_wait_for "[CustomerFill]"

tui_keys C-s
tui_wait_for "Saved $form"
tui_wait_gone "*Order.form"
grep -q "object CustomerFill: TLookupFill" "$form" || tui_fail "the file lacks the fill: $(cat "$form")"
tui_keys C-q
tui_wait_exit
echo "PASS: the designer places a component, renames it and saves the form"
