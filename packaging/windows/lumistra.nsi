; The Windows setup program: per machine into Program Files\Lumistra, a
; Start-menu shortcut, an entry in Apps & features, the .ies and .ldt
; associations and an uninstaller that takes back what the setup wrote.
;
; Made by packaging/windows/make_packages.sh, which passes:
;   /DVERSION=x.y.z        the project version
;   /DPROGRAM=path         lumistra.exe
;   /DCLI_PROGRAM=path     lumistra-cli.exe (only when the build has it)
;   /DLICENSE_FILE=path    the licence text
;   /DICON=path            the program's icon file
;   /DOUTFILE=path         the setup program to write
; Silent: setup.exe /S [/D=C:\Folder]; uninstall.exe /S.
; An upgrade installs into the folder of the installed copy unless told
; otherwise, and removes that copy when another folder is chosen. While
; Lumistra runs from the folder the setup asks to close it; a silent setup
; stops with exit status 3 instead, having changed nothing.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Integration.nsh"

!define PRODUCT "Lumistra"
!define PUBLISHER "The Lumistra developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumistra"
; The ProgIDs of .ies and .ldt files opened by this program.
!define PROGID "Lumistra.IesFile"
!define LDT_PROGID "Lumistra.LdtFile"
!define CLASSES "Software\Classes"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; A program that runs cannot be replaced: opening it for writing fails then.
!macro RefuseWhileRunning FOLDER
  ${Do}
    ClearErrors
    ${IfNot} ${FileExists} "${FOLDER}\lumistra.exe"
      ${Break}
    ${EndIf}
    FileOpen $R0 "${FOLDER}\lumistra.exe" a
    ${IfNot} ${Errors}
      FileClose $R0
      ${Break}
    ${EndIf}
    ${If} ${Silent}
      SetErrorLevel 3
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Lumistra is running from ${FOLDER}. Close it, then choose Retry." IDRETRY +2
    Quit
  ${Loop}
!macroend

; An association: our ProgID with the program's icon (resource 107) and its
; open command, offered under the extension's OpenWithProgids, and the
; default only where the extension has none yet.
!macro Associate EXT ID DESCRIPTION
  WriteRegStr HKLM "${CLASSES}\${ID}" "" "${DESCRIPTION}"
  WriteRegStr HKLM "${CLASSES}\${ID}\DefaultIcon" "" "$INSTDIR\lumistra.exe,-107"
  WriteRegStr HKLM "${CLASSES}\${ID}\shell\open\command" "" '"$INSTDIR\lumistra.exe" "%1"'
  WriteRegStr HKLM "${CLASSES}\${EXT}\OpenWithProgids" "${ID}" ""
  ReadRegStr $0 HKCR "${EXT}" ""
  ${If} $0 == ""
    WriteRegStr HKLM "${CLASSES}\${EXT}" "" "${ID}"
  ${EndIf}
!macroend

; The association taken back, the default only where it is still ours.
!macro TakeBackAssociation EXT ID
  DeleteRegKey HKLM "${CLASSES}\${ID}"
  DeleteRegValue HKLM "${CLASSES}\${EXT}\OpenWithProgids" "${ID}"
  DeleteRegKey /ifempty HKLM "${CLASSES}\${EXT}\OpenWithProgids"
  ReadRegStr $0 HKLM "${CLASSES}\${EXT}" ""
  ${If} $0 == "${ID}"
    DeleteRegValue HKLM "${CLASSES}\${EXT}" ""
  ${EndIf}
  DeleteRegKey /ifempty HKLM "${CLASSES}\${EXT}"
!macroend

Section "Lumistra"
  ; The copy installed before, if any, and where it is.
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  !insertmacro RefuseWhileRunning "$INSTDIR"
  ${If} $R1 != ""
  ${AndIf} $R1 != $INSTDIR
  ${AndIf} ${FileExists} "$R1\uninstall.exe"
    !insertmacro RefuseWhileRunning "$R1"
    ; Run in place (_?=), so it is done when ExecWait returns; the rest of
    ; this section writes the shortcut, entry and association anew.
    ExecWait '"$R1\uninstall.exe" /S _?=$R1'
    Delete "$R1\uninstall.exe"
    RMDir "$R1"
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "/oname=lumistra.exe" "${PROGRAM}"
!ifdef CLI_PROGRAM
  File "/oname=lumistra-cli.exe" "${CLI_PROGRAM}"
!endif
  File "/oname=LICENSE" "${LICENSE_FILE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\lumistra.exe" "" "$INSTDIR\lumistra.exe" 0

  ; Apps & features.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumistra.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0  ; in KiB

  !insertmacro Associate ".ies" "${PROGID}" "IES photometric file"
  !insertmacro Associate ".ldt" "${LDT_PROGID}" "EULUMDAT photometric file"
  ${NotifyShell_AssocChanged}
SectionEnd

Section "Uninstall"
  ; A program still running keeps its file until the next restart.
  Delete /REBOOTOK "$INSTDIR\lumistra.exe"
  Delete /REBOOTOK "$INSTDIR\lumistra-cli.exe"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"  ; only when empty: files the user put there stay

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  !insertmacro TakeBackAssociation ".ies" "${PROGID}"
  !insertmacro TakeBackAssociation ".ldt" "${LDT_PROGID}"
  ${NotifyShell_AssocChanged}
SectionEnd
