; The installer of Corvane Link (NSIS 3, French interface). Made by scripts/package.sh, which
; gives it the version, the program and the folder holding Tech.txt and Tech2.txt with the
; reset values (written by the program's own reset):
;   makensis -DVERSION=x.y.z -DPROGRAM=.../CorvaneLink.exe -DSETTINGS=folder -DOUTFILE=... corvane.nsi
; Options: /S silent (installer and uninstaller), /DEMARRAGE start with Windows (current user).
; A 64-bit installer, as the program is: it runs where the program can, and under Wine without
; its 32-bit half.
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Corvane Link"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneLink"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The link reads its settings here and nowhere else.
!define SETTINGS_DIR "C:\Sidexis"

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

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\CorvaneLink.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Section "Corvane Link (programme et menu Démarrer)" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=CorvaneLink.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\Desinstaller.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\CorvaneLink.exe"

  ; The settings files: an existing configuration is never replaced, by an install or a
  ; reinstall. A missing second copy is made from the first, as the link's next save would.
  CreateDirectory "${SETTINGS_DIR}"
  SetOutPath "${SETTINGS_DIR}"
  IfFileExists "${SETTINGS_DIR}\Tech.txt" +2
    File "${SETTINGS}/Tech.txt"
  IfFileExists "${SETTINGS_DIR}\Tech2.txt" +2
    CopyFiles /SILENT "${SETTINGS_DIR}\Tech.txt" "${SETTINGS_DIR}\Tech2.txt"
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
SectionEnd

Section /o "Démarrer Corvane Link avec Windows" SecStartWithWindows
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\CorvaneLink.exe"'
SectionEnd

Function .onInit
  ; A silent install asks for the start with Windows on its command line.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DEMARRAGE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartWithWindows}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; The settings in C:\Sidexis stay: they are the practice's configuration.
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  Delete "$INSTDIR\CorvaneLink.exe"
  Delete "$INSTDIR\Desinstaller.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
