; The Windows installer (makensis, NSIS 3). Given on the command line:
;   /DVERSION=1.0.0        the program's version
;   /DBINDIR=<folder>      where kvlmn.exe, kvlmn.tip and kvlmn.chm are
;   /DOUTFILE=<file>       the installer to write
;
; Installs for the current user (%LOCALAPPDATA%\Programs\Kestrelay Vellumin)
; unless /AllUsers is given (Program Files, with administrator rights); /S is
; the silent mode. The uninstaller removes the program's files, its Start
; menu entry, its Uninstall key and the start-with-system value "VLMN"; the
; user's library and preferences stay unless /RemoveLibrary is given or the
; box on its confirmation page is ticked.
; A 64-bit installer: it installs a 64-bit program, and runs where only 64-bit
; Windows programs can (Wine without its 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Kestrelay Vellumin"
!define PUBLISHER "Kestrelay"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KestrelayVellumin"
!define PRODUCT_KEY "Software\Kestrelay\Kestrelay Ardentry\Vellumin"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kvlmn.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
UninstPage custom un.LibraryPage un.LibraryPageLeave
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "PortugueseBR"

Var RemoveLibrary
Var RemoveLibraryBox

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  StrCpy $RemoveLibrary 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/RemoveLibrary" $R1
  ${IfNot} ${Errors}
    StrCpy $RemoveLibrary 1
  ${EndIf}
FunctionEnd

Section "Program" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BINDIR}\kvlmn.exe"
  File "${BINDIR}\kvlmn.tip"
  File "${BINDIR}\kvlmn.chm"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kvlmn.exe"

  ; "Apps & features" (Add or Remove Programs) lists the program from here,
  ; in the hive of the install mode (HKCU or HKLM: SHCTX).
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kvlmn.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller's one question: whether the library goes too.
Function un.LibraryPage
  !insertmacro MUI_HEADER_TEXT "Uninstall ${PRODUCT}" "Your library of paste items"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Your paste items and preferences are kept, so that a new installation finds them again."
  Pop $0
  ${NSD_CreateCheckbox} 0 30u 100% 12u "Also remove my paste items and preferences"
  Pop $RemoveLibraryBox
  ${If} $RemoveLibrary == 1
    ${NSD_Check} $RemoveLibraryBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.LibraryPageLeave
  ${NSD_GetState} $RemoveLibraryBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $RemoveLibrary 1
  ${Else}
    StrCpy $RemoveLibrary 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\kvlmn.exe"
  Delete "$INSTDIR\kvlmn.tip"
  Delete "$INSTDIR\kvlmn.chm"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; Start with the system is the user's own Run value.
  DeleteRegValue HKCU "${RUN_KEY}" "VLMN"
  ${If} $RemoveLibrary == 1
    DeleteRegKey HKCU "${PRODUCT_KEY}"
  ${EndIf}
SectionEnd
