#!/usr/bin/env bash
# Printing from the keyboard alone. The program starts with an invoice handed
# over; Ctrl+Shift+P opens the save dialog, a file name is typed and Return
# pressed; the PDF's text holds the invoice number and "strona 1 z" (that it
# holds every value is tst_printpdf's), and the QR code of its last page is
# the verification link of the invoice's bytes. Ctrl+P opens Qt's print
# dialog in Polish; with no printer installed it offers a PDF file named
# after the invoice in the home folder, and Return prints there.
source "$(dirname "$0")/lib.sh"
INVOICE=$(realpath "${1:?an example invoice in UTF-8}")

# The first text of an element of the invoice.
first() { grep -o "<$1>[^<]*</$1>" "$INVOICE" | head -n 1 | sed "s|</\?$1>||g"; }

# KOD I: https://qr.ksef.mf.gov.pl/invoice/{seller's NIP}/{DD-MM-YYYY}/{SHA-256, Base64URL}
issued=$(first P_1)
hash=$(sha256sum "$INVOICE" | cut -d' ' -f1 | sed 's/../\\x&/g')
link="https://qr.ksef.mf.gov.pl/invoice/$(first NIP)/${issued:8:2}-${issued:5:2}-${issued:0:4}/$(printf "$hash" | base64 -w0 | tr '+/' '-_' | tr -d '=')"

expect_invoice_in() {
  local text
  text=$(pdftotext -enc UTF-8 "$1" -)
  for expected in "$(first P_2)" "strona 1 z"; do grep -qF -- "$expected" <<<"$text" || fail "$1 lacks '$expected'"; done
}

mkdir -p "$E2E_TMP/home"
clipboard_from_file "$INVOICE"
HOME="$E2E_TMP/home" LANG=C.UTF-8 start_velkor 'ksef¤¤6891152920-20260302-0A1B2C3D4E5F-41'
window=$(wait_for_window '^Velkor .* KSEF: ')
sleep 0.5

press "$window" ctrl+shift+p
dialog=$(wait_for_window '^Zapisz PDF$')
type_text "$dialog" "$E2E_TMP/wydruk"
press "$dialog" Return
wait_until 20 pdfinfo "$E2E_TMP/wydruk.pdf" || fail "Ctrl+Shift+P wrote no PDF"
expect_invoice_in "$E2E_TMP/wydruk.pdf"
pages=$(pdfinfo "$E2E_TMP/wydruk.pdf" | awk '/^Pages:/ { print $2 }')
pdftoppm -r 150 -f "$pages" -l "$pages" -png -singlefile "$E2E_TMP/wydruk.pdf" "$E2E_TMP/ostatnia"
code=$(zbarimg --raw -q "$E2E_TMP/ostatnia.png" || true)
[ "$code" = "$link" ] || fail "the QR code reads '$code', not '$link'"

press "$window" ctrl+p
dialog=$(wait_for_window '^Drukowanie$')
press "$dialog" Return
printed="$E2E_TMP/home/Faktura VAT nr $(first P_2 | tr '/' '_').pdf"
wait_until 20 pdfinfo "$printed" || fail "Ctrl+P printed nothing to $printed"
expect_invoice_in "$printed"
stop_velkor
echo "print_pdf: ok"
