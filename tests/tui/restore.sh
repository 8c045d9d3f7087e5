#!/usr/bin/env bash
# The terminal is given back as it was when the program quits and when an
# exception leaves it uncaught: no alternate screen, line editing and echo
# on again, the cursor shown.
source "$(dirname "$0")/tmux_lib.sh"
tui_require_tmux
probe=$1
tui_start bash -c "stty -a >'$TUI_DIR/before'; '$probe'; stty -a >'$TUI_DIR/after'"
deadline=$((SECONDS + TUI_TIMEOUT))
while [ ! -s "$TUI_DIR/rc" ] && ((SECONDS < deadline)); do sleep 0.05; done
[ -s "$TUI_DIR/after" ] || tui_fail "the probe did not end"
grep -q "left uncaught on purpose" "$TUI_DIR/stderr" || tui_fail "the exception was not reported"
[ "$(tui_tmux display -p -t "$TUI_SESSION" '#{alternate_on}')" = 0 ] || tui_fail "the alternate screen is still on"
[ "$(tui_tmux display -p -t "$TUI_SESSION" '#{cursor_flag}')" = 1 ] || tui_fail "the cursor is still hidden"
modes() { tr ' ' '\n' <"$1" | grep -E '^-?(icanon|echo|isig|ixon|icrnl)$' | sort; }
[ "$(modes "$TUI_DIR/before")" = "$(modes "$TUI_DIR/after")" ] || tui_fail "terminal modes differ: $(modes "$TUI_DIR/after" | tr '\n' ' ')"
echo "1 passed, 0 failed"
