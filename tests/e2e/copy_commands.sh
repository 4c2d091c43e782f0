#!/usr/bin/env bash
# After a hand-over, Ctrl+F6 puts the whole lines table with its header on the
# real clipboard and Shift+F2 the invoice's XML.
source "$(dirname "$0")/lib.sh"
INVOICE=${1:?the example invoice faktura-podstawowa.xml}
export LC_ALL=C.UTF-8

start_xvfb
clipboard_from_file "$INVOICE"
start_velkor 'ksef¤¤X'
window=$(wait_for_window '^Velkor »» KSEF: X$')
sleep 0.5

press "$window" ctrl+F6
expected=$(printf '%s\r\n%s\r\n%s\r\n%s' \
  $'Lp\tKodDostawcy\tJm\tIlość\tCena\tCenaW\tWartość\tWartośćW\tVAT\tKurs\tNazwa\tEAN\tGTU\tPKWIU' \
  $'1\tKR-001\tszt\t10.00\t99.95\t \t999.50\t\t23\t\tKrzesło ogrodowe „Łabędź”\t5901234123457\t\t' \
  $'2\tPD-017\tszt\t5.00\t47.00\t \t235.00\t\t23\t\tPoduszka na krzesło\t\t\t13.92.24.0' \
  $'3\tNS-100\tkg\t2.50\t40.00\t \t100.00\t\t8\t\tNasiona trawy\t\t\t')
[ "$(clipboard_text)" = "$expected" ] || fail "Ctrl+F6 did not copy the lines table"

press "$window" shift+F2
[ "$(clipboard_text)" = "$(cat "$INVOICE")" ] || fail "Shift+F2 did not copy the invoice's XML"
stop_velkor
echo "copy_commands: ok"
