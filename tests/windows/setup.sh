#!/usr/bin/env bash
# The Windows build's first hour, under Wine: the setup program installs
# silently into Program Files with its Start-menu entry and its "Otwórz za
# pomocą" for XML files; the installed velkor.exe takes an invoice handed
# over (XML on the clipboard, a ksef¤¤ parameter), and what it copies (Ctrl+F6,
# the check of F9) and prints (Ctrl+Shift+P) matches the Linux build's; the
# portable folder runs from a path with Polish letters and spaces, opens an
# invoice from another one and keeps its settings in AppData; the
# uninstaller leaves nothing behind.
#
#   setup.sh <velkor-setup-*.exe> <portable .zip> <Linux velkor> <invoice>
export VELKOR=${3:?the Linux build of velkor}
source "$(dirname "$0")/../e2e/lib.sh"
SETUP=$(realpath "${1:?the setup program}")
ZIP=$(realpath "${2:?the portable ZIP}")
INVOICE=$(realpath "${4:?an example invoice}")
# A valid KSeF number (CRC-8 check sum) of the invoice's seller and date.
KSEF=6891152920-20260302-0A1B2C3D4E5F-41
export LC_ALL=C.UTF-8 HOME="$E2E_TMP/home"
mkdir -p "$HOME"

# A fresh Wine prefix on the display lib.sh opened, ended with the check.
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
# (Without mscoree and mshtml Wine offers no download of Mono or Gecko.)
export WINEPREFIX="$E2E_TMP/wine" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
trap '"$WINESERVER" -k 2>/dev/null || true; cleanup' EXIT
"$WINE" wineboot -i >"$E2E_TMP/wineboot.log" 2>&1 || { cat "$E2E_TMP/wineboot.log"; fail "no Wine prefix"; }
"$WINESERVER" -w

# The data of a registry value (reg query's last column), or a failure.
wine_reg_value() {
  local out
  out=$("$WINE" reg query "$@" 2>/dev/null | tr -d '\r') || return 1
  sed -n 's/^ *\S\+ \+REG_[A-Z_]\+ *//p' <<<"$out" | head -n 1
}
C=$WINEPREFIX/drive_c
PROGRAM=$C/Program\ Files/Velkor
MENU=$C/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Velkor.lnk

# Starts the Windows program $1 (a Windows path) like start_velkor.
start_windows() {
  local exe=$1; shift
  printf '#!/bin/sh\nexec %s '"'%s'"' "$@"\n' "$WINE" "$exe" >"$E2E_TMP/velkor-wine"
  chmod +x "$E2E_TMP/velkor-wine"
  VELKOR="$E2E_TMP/velkor-wine" start_velkor "$@"
}

# Presses keys in a window; COPIED is what they put on the clipboard, by its
# lines (Windows ends them with CR LF, and Wine hands them to X as they are).
copy_by_keys() {
  printf x >"$E2E_TMP/x"
  clipboard_from_file "$E2E_TMP/x"
  press "$@"
  wait_until 10 bash -c '[ "$(xclip -selection clipboard -out 2>/dev/null)" != x ]' || fail "${*:2} copied nothing"
  COPIED=$(clipboard_text | tr -d '\r')
}

# What a run copies: the lines table (Ctrl+F6) and the check's report (F9).
# Sets LINES and CHECK; leaves the program running.
copy_lines_and_check() {
  local window check
  window=$(wait_for_window "$1" 60)
  wait_settled "$window"
  expect_clipboard '' "the clipboard still holds the invoice"
  copy_by_keys "$window" ctrl+F6 && LINES=$COPIED
  press "$window" F9
  check=$(wait_for_window '^Kontrola faktury$' 30)
  copy_by_keys "$check" ctrl+a ctrl+c && CHECK=$COPIED
  press "$check" Escape
  wait_until 10 no_window '^Kontrola faktury$' || fail "Esc did not close the check"
}

# Ctrl+Shift+P into the file named in the save dialog, as typed.
save_pdf() {
  press "$1" ctrl+shift+p
  local dialog
  dialog=$(wait_for_window '^Zapisz PDF$' 30)
  sleep 1
  # Wine's dialog takes no Ctrl+A in its name field: the name is selected
  # from its end.
  press "$dialog" End shift+Home
  type_text "$dialog" "$2"
  press "$dialog" Return
}

same() { # expected actual what
  [ "$1" = "$2" ] && return 0
  diff <(printf '%s\n' "$1") <(printf '%s\n' "$2") | head -20 >&2 || true
  fail "$3 differs from the Linux build's"
}

# --- The Linux build, for comparison ---
clipboard_from_file "$INVOICE"
start_velkor "ksef¤¤$KSEF"
copy_lines_and_check '^Velkor .* KSEF: '
LINUX_LINES=$LINES LINUX_CHECK=$CHECK
save_pdf "$(window_id '^Velkor .* KSEF: ')" "$E2E_TMP/linux"
wait_until 30 pdfinfo "$E2E_TMP/linux.pdf" || fail "the Linux build wrote no PDF"
stop_velkor

# --- Silent installation ---
# XML files have a default program and another program among the others.
"$WINE" reg add 'HKLM\Software\Classes\.xml' /ve /d xmlfile /f >/dev/null
"$WINE" reg add 'HKLM\Software\Classes\.xml\OpenWithProgids' /v Inny.Program /d '' /f >/dev/null
xml_keys() {
  wine_reg_value 'HKLM\Software\Classes\.xml' /ve
  wine_reg_value 'HKLM\Software\Classes\.xml\OpenWithProgids' /v Inny.Program
}
xml_before=$(xml_keys)
"$WINE" "$SETUP" /S || fail "the setup program failed"
"$WINESERVER" -w
for file in velkor.exe uninstall.exe Qt6Core.dll Qt6Widgets.dll Qt6PrintSupport.dll platforms/qwindows.dll \
            sql/schemaFA3.xsd fonts/DejaVuSans.ttf fonts/DejaVuSans-Bold.ttf translations/qtbase_pl.qm; do
  [ -f "$PROGRAM/$file" ] || fail "not installed: $file"
done
[ -f "$MENU" ] || fail "no Start-menu entry Velkor"
wine_reg_value 'HKLM\Software\Classes\.xml\OpenWithProgids' /v Velkor.FakturaXML >/dev/null \
  || fail "Velkor is not offered for XML files"
command=$(wine_reg_value 'HKLM\Software\Classes\Velkor.FakturaXML\shell\open\command' /ve)
[ "$command" = '"C:\Program Files\Velkor\velkor.exe" "%1"' ] || fail "the open command is '$command'"
[ "$(xml_keys)" = "$xml_before" ] || fail "the setup program changed the XML files' other programs"

# --- The installed program, with an invoice handed over ---
clipboard_from_file "$INVOICE"
start_windows 'C:\Program Files\Velkor\velkor.exe' "ksef¤¤$KSEF"
copy_lines_and_check "^Velkor .* KSEF: $KSEF\$"
same "$LINUX_LINES" "$LINES" "Ctrl+F6"
same "$LINUX_CHECK" "$CHECK" "The check's report (F9)"
save_pdf "$(window_id '^Velkor .* KSEF: ')" 'C:\wydruk'
wait_until 30 pdfinfo "$C/wydruk.pdf" || fail "Ctrl+Shift+P wrote no PDF"
pdffonts "$C/wydruk.pdf" | grep -Eq '^DejaVuSans-?Bold ' || fail "the PDF is not in DejaVu Sans from fonts/"
# In the order it is drawn: Windows measures the glyphs a hair differently,
# so a layout of columns from their positions would differ by a space.
same "$(pdftotext -raw "$E2E_TMP/linux.pdf" -)" "$(pdftotext -raw "$C/wydruk.pdf" -)" "The PDF's text"
import -display "$DISPLAY" -window root "$E2E_TMP/screen.png" 2>/dev/null && cp "$E2E_TMP/screen.png" "${VELKOR_WINDOWS_SCREENSHOT:-/dev/null}" || true
stop_velkor

# --- The portable folder under a path with Polish letters and spaces ---
mkdir -p "$C/Programy Łódź" "$C/Faktury żółć"
unzip -q "$ZIP" -d "$C/Programy Łódź"
cp "$INVOICE" "$C/Faktury żółć/faktura ąę ść.xml"
start_windows 'C:\Programy Łódź\Velkor\velkor.exe' 'C:\Faktury żółć\faktura ąę ść.xml'
window=$(wait_for_window '^Velkor .*xml$' 60)
wait_settled "$window"
copy_by_keys "$window" ctrl+F6
same "$LINUX_LINES" "$COPIED" "Ctrl+F6 of the invoice opened from a Polish path"
close_by_title_bar "$window"
settings=$C/users/$(id -un)/AppData/Roaming/Velkor/Velkor.ini
[ -f "$settings" ] || fail "no settings in AppData ($settings)"
grep -q '^\[Okno\]' "$settings" || fail "the settings lack the window's section"

# --- Uninstallation ---
"$WINE" 'C:\Program Files\Velkor\uninstall.exe' /S || fail "the uninstaller failed"
"$WINESERVER" -w
[ ! -e "$PROGRAM" ] || fail "the uninstaller left $(find "$PROGRAM" | head -5)"
[ ! -e "$MENU" ] || fail "the uninstaller left the Start-menu entry"
! wine_reg_value 'HKLM\Software\Classes\Velkor.FakturaXML' /ve >/dev/null 2>&1 || fail "the uninstaller left the program id"
! wine_reg_value 'HKLM\Software\Classes\.xml\OpenWithProgids' /v Velkor.FakturaXML >/dev/null 2>&1 \
  || fail "the uninstaller left Velkor among the XML programs"
[ "$(xml_keys)" = "$xml_before" ] || fail "the uninstaller changed the XML files' other programs"
echo "windows setup: ok"
