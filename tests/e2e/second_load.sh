#!/usr/bin/env bash
# On a desktop with a window manager and an English locale: Qt's own texts
# come in Polish, and every load after the first, by Ctrl+F5, by the paste
# button or by F5 and a typed path, with the focus in any pane, shows the new
# invoice's first line as a first load does: its fields in the line details
# and its element selected in the tree.
source "$(dirname "$0")/lib.sh"
BASIC=$(realpath "${1:?the example invoice faktura-podstawowa.xml}")
EURO=$(realpath "${2:?the example invoice faktura-walutowa.xml}")

clipboard_from_file "$BASIC"
LANG=C LC_ALL=C start_velkor 'ksef¤¤X'
# Under LANG=C the legacy window name is not UTF-8: names are matched by
# their ASCII parts.
window=$(wait_for_window '^Velkor .* KSEF: X$')
wait_until 20 is_framed "$window" || fail "the window manager did not frame the window"
grep -q '/qtbase_pl\.qm$' "/proc/$VELKOR_PID/maps" || fail "Qt's Polish translation is not loaded"

# Types a path into the open-file dialog F5 shows.
open_typed() {
  press "$window" F5
  local dialog
  dialog=$(wait_for_window '^Importuj FA3 z pliku XML$')
  type_text "$dialog" "$1"
  press "$dialog" Return
}

# Loads `file` the given way while the pane of `focus_key` has the focus.
load() {
  local focus_key=$1 way=$2 file=$3
  press "$window" "$focus_key"
  case $way in
    paste-key) clipboard_from_file "$file"; press "$window" ctrl+F5 ;;
    paste-button) clipboard_from_file "$file"; xdotool mousemove --window "$window" 240 14 click 1 ;;
    open-key) open_typed "$file" ;;
  esac
}

# The tree's selected node is the first line's element, and the line details
# hold that line's quantity (its fourth field).
expect_first_line() {
  local quantity=$1 what=$2
  wait_until 10 node_selected "$window" FaWiersz \
    || fail "$what: the first line was not revealed ($(clipboard_text | head -c 60))"
  press "$window" F7 Down Down Down ctrl+c
  expect_clipboard "$quantity" "$what: the line details show another field"
}

load F6 paste-key "$EURO";      expect_first_line 40.00 "Ctrl+F5 in the lines"
load F6 paste-button "$BASIC";  expect_first_line 10.00 "the paste button in the lines"
load F6 open-key "$EURO";       expect_first_line 40.00 "F5 in the lines"
load F3 paste-key "$BASIC";     expect_first_line 10.00 "Ctrl+F5 in the header"
load F2 paste-button "$EURO";   expect_first_line 40.00 "the paste button in the tree"

stop_velkor
echo "second_load: ok"
