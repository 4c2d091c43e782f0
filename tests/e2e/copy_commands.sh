#!/usr/bin/env bash
# After a hand-over the real clipboard receives, as a spreadsheet takes it,
# the selected lines (Ctrl+C in the lines list), the whole table with its
# header (Ctrl+F6), and the invoice's XML (Shift+F2).
source "$(dirname "$0")/lib.sh"
INVOICE=${1:?the example invoice faktura-podstawowa.xml}
export LC_ALL=C.UTF-8

start_xvfb
clipboard_from_file "$INVOICE"
start_velkor 'ksef¤¤X'
window=$(wait_for_window '^Velkor »» KSEF: X$')
sleep 0.5

header=$'Lp\tKodDostawcy\tJm\tIlość\tCena\tCenaW\tWartość\tWartośćW\tVAT\tKurs\tNazwa\tEAN\tGTU\tPKWIU'
lines=$(printf '%s\r\n%s\r\n%s' \
  $'1\tKR-001\tszt\t10.00\t99.95\t \t999.50\t\t23\t\tKrzesło ogrodowe „Łabędź”\t5901234123457\t\t' \
  $'2\tPD-017\tszt\t5.00\t47.00\t \t235.00\t\t23\t\tPoduszka na krzesło\t\t\t13.92.24.0' \
  $'3\tNS-100\tkg\t2.50\t40.00\t \t100.00\t\t8\t\tNasiona trawy\t\t\t')
expect_clipboard() {
  local expected=$1 what=$2 actual
  actual=$(clipboard_text)
  if [ "$actual" != "$expected" ]; then
    diff <(printf '%s' "$expected" | od -c) <(printf '%s' "$actual" | od -c) | head -20 >&2 || true
    fail "$what"
  fi
}

# The load put the focus into the lines list: select every line and copy.
press "$window" ctrl+a
press "$window" ctrl+c
expect_clipboard "$lines" "Ctrl+C did not copy the selected lines"

press "$window" ctrl+F6
expect_clipboard "$header"$'\r\n'"$lines" "Ctrl+F6 did not copy the lines table"

press "$window" shift+F2
expect_clipboard "$(cat "$INVOICE")" "Shift+F2 did not copy the invoice's XML"
stop_velkor
echo "copy_commands: ok"
