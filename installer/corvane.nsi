; The installer of Corvane Link (NSIS 3.08 or later, French interface). Made by make_installer.sh,
; which gives it the version, the program and the folder holding Tech.txt with the reset values
; (written by the program's own reset), and the signing command when there is a certificate:
;   makensis -DVERSION=x.y.z -DPROGRAM=.../CorvaneLink.exe -DSETTINGS=folder -DOUTFILE=...
;            [-DSIGN=.../sign.sh] corvane.nsi
; Options: /S silent (installer and uninstaller), /DEMARRAGE start with Windows for every user of
; the PC. A silent run that could not replace or remove a file of the program ends with status 2.
; A 64-bit installer, as the program is: it runs where the program can, and under Wine without
; its 32-bit half.
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define PRODUCT "Corvane Link"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneLink"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The link reads its settings here and nowhere else.
!define SETTINGS_DIR "C:\Sidexis"
; The launcher's window class and the message that ends the link without its quit question
; (launcher/launcher_win32.h).
!define LAUNCHER_CLASS "CorvaneLinkDemarre"
!define END_REQUEST "CorvaneLink.Terminer"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1036 "CompanyName" "Corvane"
VIAddVersionKey /LANG=1036 "LegalCopyright" "Corvane"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de ${PRODUCT}"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}.0"

; The uninstaller is signed before the installer embeds it, the installer once it is written.
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif

; The log stays on screen until "Suivant", so that whoever installs reads that the link was closed.
ShowInstDetails show
ShowUninstDetails show
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartLinkAsSignedInUser
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

; The installer and the uninstaller share these; NSIS wants the uninstaller's named "un.".
!macro SHARED_FUNCTIONS UN
; Ends every running link before its files are touched. The launchers of this session are asked
; to end at once; what is still there after 5 s (a copy in another session, a hung copy, an
; earlier version that does not know the request) is ended by process.
Function ${UN}CloseLink
  DetailPrint "Fermeture de Corvane Link…"
  System::Call 'user32::RegisterWindowMessageW(w "${END_REQUEST}") i .r0'
  StrCpy $1 0
  ${Do}
    FindWindow $1 "${LAUNCHER_CLASS}" "" 0 $1
    ${IfThen} $1 = 0 ${|} ${Break} ${|}
    System::Call 'user32::PostMessageW(p r1, i r0, p 0, p 0)'
  ${Loop}
  StrCpy $2 0
  ${Do}
    FindWindow $1 "${LAUNCHER_CLASS}"
    ${IfThen} $1 = 0 ${|} ${Break} ${|}
    Sleep 250
    IntOp $2 $2 + 1
  ${LoopUntil} $2 >= 20
  nsExec::Exec '"$SYSDIR\taskkill.exe" /f /im CorvaneLink.exe'
  Pop $3
  ${If} $3 = 0
    DetailPrint "Corvane Link ne répondait pas : il a été arrêté."
  ${EndIf}
FunctionEnd

; Removes the file $R0, giving a process that is ending up to 5 s to let it go. Leaves the error
; flag set when the file is still there.
Function ${UN}RemoveFile
  ${For} $R1 1 20
    ${IfNot} ${FileExists} "$R0"
      ${Break}
    ${EndIf}
    Delete "$R0"
    ${IfThen} ${FileExists} "$R0" ${|} Sleep 250 ${|}
  ${Next}
  ClearErrors
  ${IfThen} ${FileExists} "$R0" ${|} SetErrors ${|}
FunctionEnd

; Stops the run with the French text $R2: a box in the wizard, status 2 either way, so that a
; run that left a file behind or an old program in place is never taken for a success.
Function ${UN}Fail
  DetailPrint "$R2"
  MessageBox MB_OK|MB_ICONSTOP "$R2" /SD IDOK
  SetErrorLevel 2
  Abort
FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

!define CANNOT_REPLACE "n'a pas pu être remplacé : un autre programme l'utilise encore. L'installation est interrompue. Fermez ce programme (ou redémarrez l'ordinateur), puis relancez l'installation."
!define CANNOT_REMOVE "n'a pas pu être supprimé : un autre programme l'utilise encore. La désinstallation est interrompue. Fermez ce programme (ou redémarrez l'ordinateur), puis relancez la désinstallation."

; Puts the file that the NSIS instruction `what` writes at `target`, or stops the run.
!macro REPLACE target what
  StrCpy $R0 "${target}"
  StrCpy $R2 "Le fichier ${target} ${CANNOT_REPLACE}"
  Call RemoveFile
  ${If} ${Errors}
    Call Fail
  ${EndIf}
  SetOverwrite try
  ${what}
  SetOverwrite on
  ${If} ${Errors}
    Call Fail
  ${EndIf}
!macroend

Section "Corvane Link (programme et menu Démarrer)" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetRegView 64
  Call CloseLink
  SetOutPath "$INSTDIR"
  !insertmacro REPLACE "$INSTDIR\CorvaneLink.exe" 'File "/oname=CorvaneLink.exe" "${PROGRAM}"'
  !insertmacro REPLACE "$INSTDIR\Desinstaller.exe" 'WriteUninstaller "$INSTDIR\Desinstaller.exe"'
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\CorvaneLink.exe"

  ; The settings files: an existing configuration is never replaced, by an install or a
  ; reinstall. A missing copy is made from the other, as the link's next save would; the reset
  ; values only when both are missing.
  CreateDirectory "${SETTINGS_DIR}"
  SetOutPath "${SETTINGS_DIR}"
  ${IfNot} ${FileExists} "${SETTINGS_DIR}\Tech.txt"
    ${If} ${FileExists} "${SETTINGS_DIR}\Tech2.txt"
      CopyFiles /SILENT "${SETTINGS_DIR}\Tech2.txt" "${SETTINGS_DIR}\Tech.txt"
    ${Else}
      File "${SETTINGS}/Tech.txt"
    ${EndIf}
  ${EndIf}
  ${IfNot} ${FileExists} "${SETTINGS_DIR}\Tech2.txt"
    CopyFiles /SILENT "${SETTINGS_DIR}\Tech.txt" "${SETTINGS_DIR}\Tech2.txt"
  ${EndIf}
  ${IfNot} ${FileExists} "${SETTINGS_DIR}\Tech.txt"
    StrCpy $R2 "Le fichier ${SETTINGS_DIR}\Tech.txt n'a pas pu être créé. L'installation est interrompue."
    Call Fail
  ${EndIf}
  SetOutPath "$INSTDIR"

  ; "Programs and Features".
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\CorvaneLink.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Desinstaller.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Desinstaller.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Earlier versions started the link with Windows for the installing user only; the start for
  ; every user below takes its place.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
SectionEnd

Section /o "Démarrer Corvane Link avec Windows (tous les utilisateurs)" SecStartWithWindows
  SetRegView 64
  WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\CorvaneLink.exe"'
SectionEnd

Section "-StartWithWindowsOff"
  SetRegView 64
  ${IfNot} ${SectionIsSelected} ${SecStartWithWindows}
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
SectionEnd

Function .onInit
  ; An update keeps the start with Windows the PC had (for every user, or an earlier version's
  ; for one user); a silent install asks for it on its command line.
  SetRegView 64
  ReadRegStr $0 HKLM "${RUN_KEY}" "${PRODUCT}"
  ReadRegStr $1 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${GetParameters} $2
  ClearErrors
  ${GetOptions} $2 "/DEMARRAGE" $3
  ${If} $0 != ""
  ${OrIf} $1 != ""
  ${OrIfNot} ${Errors}
    !insertmacro SelectSection ${SecStartWithWindows}
  ${EndIf}
FunctionEnd

; The installer runs elevated, and what it starts would too: a link run as administrator (or as
; the administrator whose password was typed) would hand off to an X-ray program run the same way,
; without the user's network drives. Explorer, already running as the signed-in user, starts it
; as that user.
Function StartLinkAsSignedInUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\CorvaneLink.exe"'
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Call un.CloseLink
  StrCpy $R0 "$INSTDIR\CorvaneLink.exe"
  Call un.RemoveFile
  ${If} ${Errors}
    StrCpy $R2 "Le fichier $R0 ${CANNOT_REMOVE}"
    Call un.Fail
  ${EndIf}
  ; Run in place (_?=), the uninstaller cannot remove itself: whoever ran it so removes it after.
  ; Otherwise it runs from a copy of itself in the temporary folder.
  ${If} $EXEFILE != "Desinstaller.exe"
    StrCpy $R0 "$INSTDIR\Desinstaller.exe"
    Call un.RemoveFile
    ${If} ${Errors}
      StrCpy $R2 "Le fichier $R0 ${CANNOT_REMOVE}"
      Call un.Fail
    ${EndIf}
  ${EndIf}
  RMDir "$INSTDIR"
  ; The settings in C:\Sidexis stay: they are the practice's configuration.
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
