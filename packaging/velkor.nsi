; The Windows setup program of Velkor, made by scripts/build-windows with
; makensis. It installs the program folder into Program Files, adds the
; Start-menu entry "Velkor" and offers Velkor in "Otwórz za pomocą" for XML
; files without becoming their default program. The uninstaller removes
; exactly what was installed. /S installs (and uninstalls) silently.
;
; Defined by the build: VERSION, FILES and UNFILES (the lists of files to
; install and to remove), ICON and OUTFILE.

; A 64-bit setup program for a 64-bit program (it also runs under a Wine
; without 32-bit support).
Target amd64-unicode
SetCompressor /SOLID lzma
!include MUI2.nsh

!define NAME "Velkor"
!define DESCRIPTION "Wizualizacja XML FA"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkor"
!define PROGID "Velkor.FakturaXML"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ManifestDPIAware true
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1045 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1045 "FileDescription" "${NAME} ${VERSION}: instalator (${DESCRIPTION})"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "${NAME}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\velkor.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

Section "${NAME}"
  SetShellVarContext all
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\velkor.exe" "" "$INSTDIR\velkor.exe" 0 \
    SW_SHOWNORMAL "" "${DESCRIPTION}"

  ; "Otwórz za pomocą": a program id for XML files, named among the
  ; extension's other programs; the extension's default stays as it was.
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Faktura XML (${NAME})"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\velkor.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\velkor.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\.xml\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKLM "Software\Classes\Applications\velkor.exe" "FriendlyAppName" "${NAME}"
  WriteRegStr HKLM "Software\Classes\Applications\velkor.exe\SupportedTypes" ".xml" ""
  WriteRegStr HKLM "Software\Classes\Applications\velkor.exe\shell\open\command" "" '"$INSTDIR\velkor.exe" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velkor.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${NAME}.lnk"
  ; Only our value: the key is shared with other programs, and the
  ; extension's own key holds its default program.
  DeleteRegValue HKLM "Software\Classes\.xml\OpenWithProgids" "${PROGID}"
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegKey HKLM "Software\Classes\Applications\velkor.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
