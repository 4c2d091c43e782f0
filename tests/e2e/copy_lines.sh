#!/usr/bin/env bash
# After a hand-over, the selected invoice lines go to the real clipboard as a
# table a spreadsheet takes: TAB between cells, CR LF between lines.
source "$(dirname "$0")/lib.sh"
INVOICE=${1:?the example invoice faktura-podstawowa.xml}
export LC_ALL=C.UTF-8

start_xvfb
clipboard_from_file "$INVOICE"
start_velkor 'ksef¤¤X'
window=$(wait_for_window '^Velkor »» KSEF: X$')
sleep 0.5
# The load put the focus into the lines list: select every line and copy.
press "$window" ctrl+a
press "$window" ctrl+c

expected=$(printf '%s\r\n%s\r\n%s' \
  $'1\tKR-001\tszt\t10.00\t99.95\t \t999.50\t\t23\t\tKrzesło ogrodowe „Łabędź”\t5901234123457\t\t' \
  $'2\tPD-017\tszt\t5.00\t47.00\t \t235.00\t\t23\t\tPoduszka na krzesło\t\t\t13.92.24.0' \
  $'3\tNS-100\tkg\t2.50\t40.00\t \t100.00\t\t8\t\tNasiona trawy\t\t\t')
actual=$(clipboard_text)
if [ "$actual" != "$expected" ]; then
  diff <(printf '%s' "$expected" | od -c) <(printf '%s' "$actual" | od -c) | head -20 >&2 || true
  fail "the clipboard does not hold the selected lines"
fi
stop_velkor
echo "copy_lines: ok"
