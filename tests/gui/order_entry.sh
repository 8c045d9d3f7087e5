#!/usr/bin/env bash
# The order entry in a window, as a person drives it: the demo runs with
# --gui on an Xvfb display of its own, on a fresh SQLite database; keys go
# in as X key events (xdotool), the screen is read back as pixels (import),
# and what the order holds is what the program tells on quitting.
set -euo pipefail
demo=$1
timeout_s=${GUI_TIMEOUT:-20}
passed=0
check() { passed=$((passed + 1)); echo "ok $passed - $*"; }
fail() { echo "not ok - $*" >&2; [ -f "$dir/err" ] && tail -20 "$dir/err" >&2; exit 1; }
skip() {
  if [ "${VESKAR_REQUIRE_GUI:-}" = 1 ]; then echo "not ok - $* (VESKAR_REQUIRE_GUI=1)" >&2; exit 1; fi
  echo "skipped: $*"
  exit 77
}

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

dir=$(mktemp -d)
xvfb=""
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT

# A display number nobody holds; Xvfb says which one it took.
display=""
for n in $(seq 90 150); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do
    DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1 && { display=":$n"; break; }
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$display" ] && break
  kill "$xvfb" 2>/dev/null || true
  xvfb=""
done
[ -n "$display" ] || skip "no X server could start"
export DISPLAY=$display
unset WAYLAND_DISPLAY

# The window of a caption, once it shows.
window_named() { timeout "$1" xdotool search --sync --onlyvisible --name "$2" | head -1; }
# No window manager: the keyboard goes to the window given the focus.
focus() { xdotool windowfocus --sync "$1"; }

"$demo" --gui --db "$dir/orders.db" >"$dir/out" 2>"$dir/err" &
app=$!
# The first start makes the database before the form shows.
main=$(window_named 180 "Order") || fail "the order form's window did not show"
[ -n "$main" ] || fail "the order form's window did not show"
focus "$main"
check "the order form opens in a window of its own"

# A few letters, then the lookup shortcut: the lookup form opens in a
# window of its own, on the customer typed.
xdotool type --delay 50 ce
xdotool key ctrl+F1
lookup=$(window_named "$timeout_s" "Customers") || fail "the lookup form did not open on Ctrl+F1"
[ -n "$lookup" ] || fail "the lookup form did not open on Ctrl+F1"
check "Ctrl+F1 opens the lookup form in a window"

# Drawn, not blank: the screen holds the forms' many colours and text.
sleep 0.5
import -window root "$dir/screen.png"
colours=$(convert "$dir/screen.png" -format "%k" info:)
((colours > 8)) || fail "the screen shows $colours colours: the windows are not drawn"
geometry=$(xdotool getwindowgeometry "$lookup" | awk '/Geometry/ {print $2}')
position=$(xdotool getwindowgeometry "$lookup" | awk '/Position/ {print $2}')
lookup_colours=$(convert "$dir/screen.png" -crop "${geometry}+${position%%,*}+${position##*,}" -format "%k" info:)
((lookup_colours > 4)) || fail "the lookup window shows $lookup_colours colours: it is not drawn"
check "the windows are drawn ($colours colours on the screen, $lookup_colours in the lookup)"

focus "$lookup"
xdotool key Down
xdotool key Return
for _ in $(seq $((timeout_s * 10))); do
  xdotool search --onlyvisible --name "Customers" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "Customers" >/dev/null 2>&1 && fail "the lookup form stayed open after Return"
check "Down and Return pick a customer and close the lookup"

# Quitting tells what the order holds; the question about the changes is
# answered No with its key.
focus "$main"
xdotool key ctrl+q
# The question: a visible window besides the order form's.
question=""
for _ in $(seq $((timeout_s * 10))); do
  question=$(xdotool search --onlyvisible --name "." 2>/dev/null | grep -vx "$main" | head -1 || true)
  [ -n "$question" ] && break
  sleep 0.1
done
for _ in $(seq $((timeout_s * 10))); do grep -q "CustEdit:" "$dir/out" && break; sleep 0.1; done
grep -q "CustEdit: CE1354" "$dir/out" || fail "the customer picked is not CE1354: $(cat "$dir/out")"
grep -q "ShipToEdit: Cayman Eastside Dive" "$dir/out" || fail "the ship-to was not filled: $(cat "$dir/out")"
check "the order holds the customer picked and its ship-to name"

[ -n "$question" ] && focus "$question"
xdotool key n
for _ in $(seq $((timeout_s * 10))); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end after No"
wait "$app" || fail "the program ended with $?"
app=""
check "No to the question ends the program cleanly"
echo "$passed passed, 0 failed"
