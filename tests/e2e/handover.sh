#!/usr/bin/env bash
# A calling program hands an invoice over: the XML on the clipboard, the
# parameter string on the command line. Invalid XML is reported before the
# main window opens and stays on the clipboard; a valid invoice is shown,
# the clipboard emptied, and the real clipboard then receives, as a
# spreadsheet takes it, the selected lines (Ctrl+C in the lines list), the
# whole table with its header (Ctrl+F6) and the invoice's XML (Shift+F2).
source "$(dirname "$0")/lib.sh"
INVOICE=${1:?the example invoice faktura-podstawowa.xml}
CORRECTION=${2:?the public example korygujaca__FA_3_Przyklad_3_poprawiony.xml}
export LC_ALL=C.UTF-8

printf '<Faktura>nie faktura' >"$E2E_TMP/bad.xml"
clipboard_from_file "$E2E_TMP/bad.xml"
start_velkor 'ksef¤¤X'
box=$(wait_for_window '^Wklej XML - błąd$')
window_id '^Velkor' && fail "the main window showed before the error"
press "$box" Return
wait_for_window '^Velkor$' >/dev/null
clipboard_is '<Faktura>nie faktura' || fail "the clipboard lost its text"
stop_velkor

clipboard_from_file "$INVOICE"
start_velkor 'ksef¤¤6891152920-20260302-0A1B2C3D4E5F-41«»'
window=$(wait_for_window '^Velkor »» KSEF: 6891152920-20260302-0A1B2C3D4E5F-41$')
expect_clipboard '' "the clipboard still holds the invoice"
header=$'Lp\tKodDostawcy\tJm\tIlość\tCena\tCenaW\tWartość\tWartośćW\tVAT\tKurs\tNazwa\tEAN\tGTU\tPKWIU'
lines=$(printf '%s\r\n%s\r\n%s' \
  $'1\tKR-001\tszt\t10.00\t99.95\t \t999.50\t\t23\t\tKrzesło ogrodowe „Łabędź”\t5901234123457\t\t' \
  $'2\tPD-017\tszt\t5.00\t47.00\t \t235.00\t\t23\t\tPoduszka na krzesło\t\t\t13.92.24.0' \
  $'3\tNS-100\tkg\t2.50\t40.00\t \t100.00\t\t8\t\tNasiona trawy\t\t\t')
# The load put the focus into the lines list: select every line and copy.
press "$window" ctrl+a ctrl+c
expect_clipboard "$lines" "Ctrl+C did not copy the selected lines"
press "$window" ctrl+F6
expect_clipboard "$header"$'\r\n'"$lines" "Ctrl+F6 did not copy the lines table"
press "$window" shift+F2
expect_clipboard "$(cat "$INVOICE")" "Shift+F2 did not copy the invoice's XML"
stop_velkor

# A correction of the exchange rate only, under Polish regional settings:
# 800 EUR at 4.2106 (3368.48 PLN), then at 4.2142 (3371.36 PLN).
clipboard_from_file "$CORRECTION"
LC_ALL=pl_PL.UTF-8 start_velkor 'ksef¤¤Y'
# Without the Polish locale installed the title's »» may reach the X server
# in another encoding; the ASCII end of the title is enough.
window=$(wait_for_window 'KSEF: Y$')
press "$window" ctrl+F6
expect_clipboard "$header"$'\r\n'$'1\t\tszt.\t1,00\t2,88\t800,00\t2,88\t800,00\t23\t4,214200\tUsługa transportowa\t\t\t' \
  "Ctrl+F6 did not copy the corrected line's figures"
# The line details end with the before and after figures: the last row is
# "CenaW przed", the one above it "Cena przed", two more up "Cena po".
press "$window" F7 End Up ctrl+c
expect_clipboard "3368,48" "Ctrl+C in the line details did not copy the price before"
press "$window" Up Up ctrl+c
expect_clipboard "3371,36" "Ctrl+C in the line details did not copy the price after"
stop_velkor
echo "handover: ok"
