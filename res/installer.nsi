; Lumoff's per-user installer (NSIS 3), built by scripts/release.sh.
;
; It installs lumoff.exe with its readme and license into the user's own programs folder, adds a Start menu shortcut
; and an entry in the list of installed apps, and needs no administrator rights. Its uninstaller removes all of that
; and also what the program itself keeps: the start-with-Windows value and the Settings key.
; The version is not written here: the release script passes it in, with the paths of the files, as /D defines.
;
;   makensis -DVERSION=1.2.3 -DEXE=... -DREADME=... -DLICENSE=... -DICON=... -DOUTFILE=... installer.nsi

!ifndef VERSION | EXE | README | LICENSE | ICON | OUTFILE
  !error "pass VERSION, EXE, README, LICENSE, ICON and OUTFILE with -D"
!endif

Unicode true
; The program is 64-bit; so is its installer (no 32-bit layer is needed to run it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define PRODUCT "Lumoff"
!define PUBLISHER "Brevald"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumoff"
!define SETTINGS_KEY "Software\Lumoff"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALLER "uninstall.exe"
; The program's windows: the caption window and the status screen carry this class and the title "Lumoff".
!define WINDOW_CLASS "LumoffForm"
; A running copy ends itself on its next housekeeping tick (once a second) when its main window's title ends in this.
!define CLOSE_TITLE "lumoff.exe +CLOSE"
; How long a running copy gets to end: a few of its ticks.
!define CLOSE_WAIT_STEPS 50
!define CLOSE_WAIT_STEP_MS 100

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 the Lumoff developers (MIT License)"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\lumoff.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks every running copy of this user to end, and waits for it. A running exe cannot be replaced or deleted, so the
; installer and the uninstaller both start with this; if a copy is still there after the wait, they stop and say so.
!macro CLOSE_RUNNING_LUMOFF un
Function ${un}CloseRunningLumoff
  Push $0
  Push $1
  ; Retitle every window of the program still titled "Lumoff" (the caption window, and the status screen while the
  ; monitor is kept off); each retitled window no longer matches, so the loop ends.
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}" "${PRODUCT}"
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    SendMessage $0 ${WM_SETTEXT} 0 "STR:${CLOSE_TITLE}" /TIMEOUT=2000
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 16
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}"
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    Sleep ${CLOSE_WAIT_STEP_MS}
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= ${CLOSE_WAIT_STEPS}
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is running and could not be closed.$\r$\nPlease exit ${PRODUCT} (right-click its window, then Exit) and try again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_LUMOFF ""
!insertmacro CLOSE_RUNNING_LUMOFF "un."

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Lumoff" SecMain
  SectionIn RO
  Call CloseRunningLumoff
  SetOutPath "$INSTDIR"
  File "/oname=lumoff.exe" "${EXE}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\lumoff.exe" "" "$INSTDIR\lumoff.exe" 0

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumoff.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.CloseRunningLumoff
  Delete "$INSTDIR\lumoff.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only if empty: a folder the user chose may hold files of their own.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; What the program keeps for the user: its start-with-Windows value and its Settings key.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
