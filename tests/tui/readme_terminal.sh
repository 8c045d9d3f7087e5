#!/usr/bin/env bash
# The README's terminal sample as a person runs it: its form shows in the
# terminal, Enter presses Close, and the program ends with the terminal
# given back. Argument: the sample program.
source "$(dirname "$0")/tmux_lib.sh"
tui_require_tmux
tui_start "$1"
tui_wait_for "Veskar on a terminal"
tui_wait_for "Hello"
tui_keys Enter
tui_wait_exit
tui_wait_for "closed"
echo "PASS: the terminal sample shows its form and closes on Enter"
