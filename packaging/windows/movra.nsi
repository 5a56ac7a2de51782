; The Windows installer of Movra: the window, movra-cli and the user guide,
; per user (the default without administrator rights) or for all users; a
; Start-menu entry, the .cdg snapshot type opening movra.exe --import, and an
; uninstaller that removes what was installed and leaves every catalogue
; (%APPDATA%\Movra, or a copy kept in the program's folder) alone.
; /S installs silently; /CurrentUser or /AllUsers chooses the mode then.
;
; makensis -DVERSION=<x.y.z> -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe>
;          [-DICON=<movra.ico>] movra.nsi

; A 64-bit installer for a 64-bit program: it runs where Movra runs, and
; sees the 64-bit registry and Program Files without redirection.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
; The file name ends in -setup.exe; the manifest's execution level keeps
; Windows' installer detection (and its shims) off.
!pragma warning disable 9000

!ifndef VERSION | STAGE | OUTFILE
  !error "VERSION, STAGE and OUTFILE must be defined"
!endif

!define PRODUCT "Movra"
!define MENU_NAME "Movra 光盘编目"
!define SETTINGS_KEY "Software\Movra"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Movra"
!define SNAPSHOT_TYPE "Movra.Snapshot"

Name "${MENU_NAME}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${MENU_NAME} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "The Movra developers"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\movra.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
; The pages' font: Windows has had it since Vista (and Wine maps it).
SetFont /LANG=${LANG_SIMPCHINESE} "Microsoft YaHei UI" 9

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\movra.exe"
  File "${STAGE}\movra-cli.exe"
  File "${STAGE}\copyright.txt"
  SetOutPath "$INSTDIR\help"
  File /r "${STAGE}\help\*.*"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"

  ; Apps and Features
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${MENU_NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Movra developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\movra.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ; Snapshot files open in the window, which imports them.
  WriteRegStr SHCTX "Software\Classes\.cdg" "" "${SNAPSHOT_TYPE}"
  WriteRegStr SHCTX "Software\Classes\${SNAPSHOT_TYPE}" "" "Movra 光盘快照"
  WriteRegStr SHCTX "Software\Classes\${SNAPSHOT_TYPE}\DefaultIcon" "" "$INSTDIR\movra.exe,0"
  WriteRegStr SHCTX "Software\Classes\${SNAPSHOT_TYPE}\shell\open\command" "" '"$INSTDIR\movra.exe" --import "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  CreateShortCut "$SMPROGRAMS\${MENU_NAME}.lnk" "$INSTDIR\movra.exe"
SectionEnd

Section "Uninstall"
  ; Only what the installer put there: a catalogue kept in the folder stays.
  Delete "$INSTDIR\movra.exe"
  Delete "$INSTDIR\movra-cli.exe"
  Delete "$INSTDIR\copyright.txt"
  RMDir /r "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${MENU_NAME}.lnk"
  ReadRegStr $0 SHCTX "Software\Classes\.cdg" ""
  ${If} $0 == "${SNAPSHOT_TYPE}"
    DeleteRegKey SHCTX "Software\Classes\.cdg"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${SNAPSHOT_TYPE}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "${SETTINGS_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
