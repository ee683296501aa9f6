; The Windows installer: everything of the deploy folder into one program folder, Start-menu
; entries and an uninstaller. Per-user (no administrator rights needed) or for all users: the
; page asks, and /AllUsers or /CurrentUser choose on the command line (with /S for a silent run).
;
; makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DDEPLOY=<folder> -DOUTFILE=<setup.exe> leebdesk.nsi
; 64-bit like the program it installs: a 32-bit installer would see the 32-bit registry view
; and need the 32-bit subsystem, which not every system (nor every Wine) has.
Target amd64-unicode
SetCompressor /SOLID lzma

!define APPNAME "leebdesk"
!define MENUNAME "里氏硬度计"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APPNAME}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APPNAME}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\${APPNAME}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${APPNAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh

Name "${MENUNAME} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APPNAME} ${VERSION}"

!define MUI_ICON "${DEPLOY}\leebdesk.ico"
!define MUI_UNICON "${DEPLOY}\leebdesk.ico"
!insertmacro MUI_PAGE_LICENSE "${DEPLOY}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\leebdesk.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "leebdesk" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${DEPLOY}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${MENUNAME}"
  CreateShortcut "$SMPROGRAMS\${MENUNAME}\${MENUNAME}.lnk" "$INSTDIR\leebdesk.exe" "" "$INSTDIR\leebdesk.ico"
  CreateShortcut "$SMPROGRAMS\${MENUNAME}\卸载 ${MENUNAME}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "Software\${APPNAME}" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "Software\${APPNAME}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayName" "${MENUNAME} (${APPNAME})"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\leebdesk.ico"
  WriteRegStr SHCTX "${UNINSTKEY}" "Publisher" "leebdesk developers"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${MENUNAME}\${MENUNAME}.lnk"
  Delete "$SMPROGRAMS\${MENUNAME}\卸载 ${MENUNAME}.lnk"
  RMDir "$SMPROGRAMS\${MENUNAME}"
  ; Only what the installer put there: a record file the user saved into the folder stays.
  !include "${FILELIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTKEY}"
  DeleteRegKey SHCTX "Software\${APPNAME}"
SectionEnd
