#!/usr/bin/env bash
# A calling program hands an invoice over: the XML on the clipboard, the
# parameter string on the command line.
source "$(dirname "$0")/lib.sh"
INVOICE=${1:?valid invoice file}

start_xvfb

# A valid invoice: shown at once, the title names the KSeF number, the
# clipboard is empty afterwards.
clipboard_from_file "$INVOICE"
start_velkor 'ksef¤¤1234567890-20260302-ABCDEF-01«»'
wait_for_window '^Velkor »» KSEF: 1234567890-20260302-ABCDEF-01$' >/dev/null
sleep 0.5
[ -z "$(clipboard_text)" ] || fail "the clipboard still holds the invoice"
stop_velkor

# Invalid XML: the paste error comes before the main window, which then opens
# untitled; the clipboard keeps its text.
printf '<Faktura>nie faktura' >"$E2E_TMP/bad.xml"
clipboard_from_file "$E2E_TMP/bad.xml"
start_velkor 'ksef¤¤X'
box=$(wait_for_window '^Wklej XML - błąd$')
window_visible '^Velkor' && fail "the main window showed before the error"
press "$box" Return
wait_for_window '^Velkor$' >/dev/null
[ "$(clipboard_text)" = '<Faktura>nie faktura' ] || fail "the clipboard lost its text"
stop_velkor
echo "handover: ok"
