#!/usr/bin/env bash
# The register from the keyboard alone. The program starts with a folder's
# path; the register's title loses its "(k / N)" when every file is read;
# Ctrl+S opens the save dialog, a file name is typed and Return pressed; the
# CSV written is the one expected for that folder.
source "$(dirname "$0")/lib.sh"
FOLDER=$(realpath "${1:?a folder of invoices}")
EXPECTED=${2:?the CSV expected for it}

LANG=C.UTF-8 start_velkor "$FOLDER"
window=$(wait_for_window "^Rejestr faktur  »»  $FOLDER\$" 60)
wait_settled "$window"
press "$window" ctrl+s
dialog=$(wait_for_window '^Eksport CSV$')
type_text "$dialog" "$E2E_TMP/rejestr.csv"
press "$dialog" Return
wait_until 20 test -s "$E2E_TMP/rejestr.csv" || fail "Ctrl+S wrote no CSV"
# VELKOR_E2E_KEEP_CSV=file keeps what was written, to review it as the new expectation.
[ -z "${VELKOR_E2E_KEEP_CSV:-}" ] || cp "$E2E_TMP/rejestr.csv" "$VELKOR_E2E_KEEP_CSV"
cmp "$E2E_TMP/rejestr.csv" "$EXPECTED" || {
  diff <(tr ';' '\n' <"$EXPECTED") <(tr ';' '\n' <"$E2E_TMP/rejestr.csv") | head -20 >&2
  fail "the CSV differs from $EXPECTED"
}
press "$window" Escape
wait_until 10 no_window "^Rejestr faktur" || fail "Esc did not close the register"
stop_velkor
echo "register: ok"
