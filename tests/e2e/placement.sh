#!/usr/bin/env bash
# Window placement and column widths survive a restart, under a real window
# manager: first start maximised, then the user's own size, position and
# column width; closing by the title bar asks nothing. Both windows keep
# their outer size, frame included: opened and closed again and again, the
# main window (normal, maximised or at its minimum size) and the information
# window store the same numbers every time.
source "$(dirname "$0")/lib.sh"
INVOICE=${1:?an invoice for the information window}
SETTINGS="$XDG_CONFIG_HOME/Velkor/Velkor.ini"

start_xvfb
start_wm

has_width() { xwininfo -id "$1" | grep -q "Width: $2\$"; }

start_velkor
window=$(wait_for_window '^Velkor$')
wait_until 10 is_maximised "$window" || fail "the first start is not maximised"

wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
wait_until 10 bash -c "! xprop -id $window _NET_WM_STATE | grep -q MAXIMIZED_HORZ" || fail "the window stays maximised"
# Asked again until it holds: the window may still be settling from the
# unmaximise when the first request arrives.
resize_window() {
  wmctrl -i -r "$window" -e 0,150,120,1100,700
  sleep 0.3
  has_width "$window" 1100
}
wait_until 15 resize_window || fail "the window was not resized"
sleep 0.5
# Widen the first column of the lines list by dragging its header edge
# (the list's header sits 14 px from the window's left edge, 442 px down).
drag_column() {
  xdotool mousemove --window "$window" 115 451 mousedown 1
  sleep 0.3
  xdotool mousemove --window "$window" 140 451
  sleep 0.2
  xdotool mousemove --window "$window" 165 451
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}
drag_column

press "$window" alt+F4
wait_until 10 bash -c "! kill -0 $VELKOR_PID" || fail "closing by the title bar did not end the program"
VELKOR_PID=
[ -f "$SETTINGS" ] || fail "no settings were saved"
first=$(cat "$SETTINGS")
for key in Left Top Width Height State; do
  grep -q "^$key=" <<<"$first" || fail "the key $key was not saved"
done
grep -q '^State=0$' <<<"$first" || fail "the state is not normal"
column=$(sed -n 's/^Lista\(~\|%7E\)col\(~\|%7E\)1=//p' <<<"$first")
[ -n "$column" ] || fail "the column widths were not saved"
[ "$column" -ge 140 ] && [ "$column" -le 160 ] || fail "the dragged column is $column pixels wide"
for list in Lista ListaS ListaE ListaK; do
  grep -q "^$list\(~\|%7E\)col\(~\|%7E\)2=" <<<"$first" || fail "no widths for $list"
done

# One window's placement keys as stored.
placement_of() {
  awk -v section="[$1]" '$0 == section { on = 1; next } /^\[/ { on = 0 } on' "$SETTINGS" \
    | grep -E '^(Left|Top|Width|Height|State)=' || true
}
expect_placement() {
  local section=$1 expected=$2 what=$3 actual
  actual=$(placement_of "$section")
  if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "$what"
  fi
}
start_framed() {
  start_velkor "$@"
  window=$(wait_for_window '^Velkor')
  wait_until 20 is_framed "$window" || fail "the window manager did not frame the window"
  sleep 1 # let the window settle where the window manager put it
}
close_by_title_bar() {
  press "$window" alt+F4
  wait_until 10 bash -c "! kill -0 $VELKOR_PID" || fail "closing by the title bar did not end the program"
  VELKOR_PID=
}

# The next runs open where the first ended and, closed unchanged, save the
# very same values.
for run in 2 3 4; do
  start_framed
  is_maximised "$window" && fail "run $run starts maximised"
  close_by_title_bar
  second=$(cat "$SETTINGS")
  if [ "$first" != "$second" ]; then
    diff <(echo "$first") <(echo "$second") >&2 || true
    fail "the placement changed in run $run"
  fi
done

# Ended maximised, the window starts maximised and, made normal again, has
# its stored normal size, which it saves unchanged. (The position is the
# maximised one's, which restores as 200 twips.)
size_of() { placement_of Okno | grep -E '^(Width|Height)='; }
normal_size=$(size_of)
for run in 1 2 3; do
  start_framed
  wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
  wait_until 10 is_maximised "$window" || fail "the window was not maximised"
  close_by_title_bar
  grep -q '^State=2$' "$SETTINGS" || fail "the maximised state was not saved"
  start_framed
  is_maximised "$window" || fail "the start after a maximised end is not maximised"
  wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
  wait_until 10 bash -c "! xprop -id $window _NET_WM_STATE | grep -q MAXIMIZED_HORZ" || fail "the window stays maximised"
  sleep 1
  close_by_title_bar
  [ "$(size_of)" = "$normal_size" ] || fail "the normal size changed after maximised run $run: $(size_of | tr '\n' ' ')"
done

# Shrunk to its minimum size (14325 x 8835 twips, frame included), the window
# stores that size and keeps it run after run.
start_framed
wmctrl -i -r "$window" -e 0,150,120,200,200
sleep 1
close_by_title_bar
[ "$(size_of)" = $'Height=8835\nWidth=14325' ] || fail "the minimum size was stored as $(size_of | tr '\n' ' ')"
for run in 1 2; do
  start_framed
  close_by_title_bar
  [ "$(size_of)" = $'Height=8835\nWidth=14325' ] || fail "the minimum size changed in run $run: $(size_of | tr '\n' ' ')"
done

# The information window (F1 on the tree's selected node) stores the same
# numbers every time it is opened and closed.
clipboard_from_file "$INVOICE"
start_framed 'ksef¤¤X'
wait_until 10 node_selected "$window" FaWiersz || fail "the load selected no node in the tree"
for use in 1 2 3 4; do
  press "$window" F1
  info=$(wait_for_window '^Informacje dla')
  wait_until 20 is_framed "$info" || fail "the window manager did not frame the information window"
  sleep 1
  press "$info" Escape
  wait_until 10 bash -c "! xdotool search --onlyvisible --name '^Informacje dla'" || fail "Esc did not close the information window"
  # The first use opens at 200, 200 with 6000 x 6000 twips, frame included.
  expect_placement MsgTextInfo $'Height=6000\nLeft=200\nTop=200\nWidth=6000' \
    "the information window's placement changed at use $use"
done
stop_velkor
echo "placement: ok"
