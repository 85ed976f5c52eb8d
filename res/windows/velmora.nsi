; The Windows installer: Velmora-<version>-setup.exe, made by
; scripts/package-windows with makensis from the same files as the zip.
;
;   makensis -DVERSION=1.0.0 -DFILES=files.nsh -DICON=velmora.ico
;            -DOUTFILE=Velmora-1.0.0-setup.exe res/windows/velmora.nsi
;
; FILES names a generated header with three macros, VelmoraInstallFiles
; (File lines for everything in the zip), VelmoraUninstallFiles (the Delete
; lines for exactly those files) and VelmoraUninstallDirs (RMDir for their
; folders), so that the installer carries what the zip carries and the
; uninstaller removes that and nothing else.
;
; Neither replaces nor removes a program of the installation while it runs:
; the user is asked to close it, and without a window (/S) the setup or the
; uninstaller ends with exit code 2, the installation as it was.
;
; It installs for all users into Program Files when it may (an
; administrator), else for the current user into the user's own programs
; folder (%LOCALAPPDATA%\Programs); a page lets an administrator choose, and
; /AllUsers or /CurrentUser choose on the command line. /S installs without
; a window. The mode of an installation is kept with its uninstall entry, so
; that a later setup installs over it and the uninstaller finds it.
;
; Registered, in HKLM for all users or HKCU for one, each under
; Software\Classes unless said otherwise:
;   .wdb              opens as Velmora.wdb; the type it had before (Microsoft
;                     Works databases are *.wdb as well) is kept in the
;                     uninstall entry and given back on uninstall
;   Velmora.wdb       "Velmora channel database", our icon, the open command
;   .sdx              Velmora.sdx offered under "Open with" only: a listing
;                     keeps whatever program the user opens listings with
;   Applications\Velmora.exe, Software\Velmora\Capabilities with
;   Software\RegisteredApplications, and App Paths: the program in "Open
;   with" and Default Apps, and startable by name from Run
;   the uninstall entry under Software\Microsoft\Windows\CurrentVersion\Uninstall

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all

!ifndef VERSION
  !error "makensis -DVERSION=x.y.z is needed"
!endif
!ifndef FILES
  !error "makensis -DFILES=files.nsh is needed"
!endif
!ifndef ICON
  !error "makensis -DICON=velmora.ico is needed"
!endif
!ifndef OUTFILE
  !error "makensis -DOUTFILE=setup.exe is needed"
!endif
!include "${FILES}"

!define PRODUCT "Velmora"
!define EXE "Velmora.exe"
!define CLI "velmora-cli.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define CLASSES "Software\Classes"
!define PROGID_WDB "Velmora.wdb"
!define PROGID_SDX "Velmora.sdx"
!define CAPABILITIES "Software\Velmora\Capabilities"
!define APP_PATH "Software\Microsoft\Windows\CurrentVersion\App Paths\${EXE}"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PRODUCT}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINST_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINST_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; Started from the last page through Explorer, the editor runs as the user
; who is signed in and not with the setup's raised rights, under which
; Windows would keep files dragged from Explorer off its window.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION VelmoraStart

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function VelmoraStart
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\${EXE}"'
FunctionEnd

; Waits until no program of the installation in $INSTDIR runs: a running
; program's file could be neither replaced nor deleted. Windows keeps the
; file of a running program open against writing (Wine does the same), so
; opening it to append fails exactly while it runs, and renaming would not
; tell (a running program may be renamed). The user closes it and chooses
; Retry, or Cancel, which ends the setup with exit code 2 before anything
; has changed; without a window (/S) that is the answer at once.
!macro VelmoraIfRunning FILE
  ${If} $R0 == ""
  ${AndIf} ${FileExists} "$INSTDIR\${FILE}"
    ClearErrors
    FileOpen $R1 "$INSTDIR\${FILE}" a
    ${If} ${Errors}
      StrCpy $R0 "${FILE}"
    ${Else}
      FileClose $R1
    ${EndIf}
  ${EndIf}
!macroend
!macro VelmoraCloseRunningFunction PREFIX WHAT
  Function ${PREFIX}VelmoraCloseRunning
    Push $R0
    Push $R1
    ${Do}
      StrCpy $R0 ""
      !insertmacro VelmoraIfRunning "${EXE}"
      !insertmacro VelmoraIfRunning "${CLI}"
      ${If} $R0 == ""
        ${Break}
      ${EndIf}
      ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
          "$R0 is running from $INSTDIR.$\r$\n$\r$\nClose it, then choose Retry to ${WHAT}." \
          /SD IDCANCEL IDCANCEL`
        SetErrorLevel 2
        Quit
      ${EndIf}
    ${Loop}
    Pop $R1
    Pop $R0
  FunctionEnd
!macroend
!insertmacro VelmoraCloseRunningFunction "" "go on installing"
!insertmacro VelmoraCloseRunningFunction "un." "go on uninstalling"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

; The quiet uninstall command starts this file in place ("_?=" names the
; folder), so that its exit code tells a package manager whether the
; program could go: 2 while it runs. Otherwise the usual way takes over,
; without "_?=": a copy in the temporary folder, which can delete this
; file, removes the installation, while this one ends at once.
Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  Call un.VelmoraCloseRunning
  ${If} $EXEDIR == $INSTDIR
    ${If} ${Silent}
      Exec '"$EXEPATH" /$MultiUser.InstallMode /S'
    ${Else}
      Exec '"$EXEPATH" /$MultiUser.InstallMode'
    ${EndIf}
    SetErrorLevel 0
    Quit
  ${EndIf}
FunctionEnd

; Explorer reads the file types again: icons and double clicks follow at once.
!macro VelmoraAssocChanged
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
!macroend

; A file type whose open command starts the editor on the file.
!macro VelmoraProgId PROGID DESCRIPTION
  WriteRegStr SHCTX "${CLASSES}\${PROGID}" "" "${DESCRIPTION}"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\${EXE},0"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call VelmoraCloseRunning
  !insertmacro VelmoraInstallFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 \
    SW_SHOWNORMAL "" "Edit the channel database of a satellite receiver"

  ; *.wdb opens in the editor. Another program's type for it is kept for
  ; the uninstaller to give back (not our own, left from an earlier setup).
  ReadRegStr $0 SHCTX "${CLASSES}\.wdb" ""
  ${If} $0 != ""
  ${AndIf} $0 != "${PROGID_WDB}"
    WriteRegStr SHCTX "${UNINST_KEY}" "PreviousWdbType" "$0"
  ${EndIf}
  !insertmacro VelmoraProgId "${PROGID_WDB}" "Velmora channel database"
  WriteRegStr SHCTX "${CLASSES}\.wdb" "" "${PROGID_WDB}"
  WriteRegStr SHCTX "${CLASSES}\.wdb\OpenWithProgids" "${PROGID_WDB}" ""

  ; *.sdx is offered under "Open with" and not taken.
  !insertmacro VelmoraProgId "${PROGID_SDX}" "SatcoDX satellite listing"
  WriteRegStr SHCTX "${CLASSES}\.sdx\OpenWithProgids" "${PROGID_SDX}" ""

  WriteRegStr SHCTX "${CLASSES}\Applications\${EXE}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "${CLASSES}\Applications\${EXE}\DefaultIcon" "" "$INSTDIR\${EXE},0"
  WriteRegStr SHCTX "${CLASSES}\Applications\${EXE}\shell\open\command" "" \
    '"$INSTDIR\${EXE}" "%1"'
  WriteRegStr SHCTX "${CLASSES}\Applications\${EXE}\SupportedTypes" ".wdb" ""
  WriteRegStr SHCTX "${CLASSES}\Applications\${EXE}\SupportedTypes" ".sdx" ""

  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationName" "${PRODUCT}"
  WriteRegStr SHCTX "${CAPABILITIES}" "ApplicationDescription" \
    "Edit the channel database of a satellite receiver"
  WriteRegStr SHCTX "${CAPABILITIES}\FileAssociations" ".wdb" "${PROGID_WDB}"
  WriteRegStr SHCTX "${CAPABILITIES}\FileAssociations" ".sdx" "${PROGID_SDX}"
  WriteRegStr SHCTX "Software\RegisteredApplications" "${PRODUCT}" "${CAPABILITIES}"

  WriteRegStr SHCTX "${APP_PATH}" "" "$INSTDIR\${EXE}"

  ; Add/Remove Programs. The uninstall commands name the mode, so that the
  ; uninstaller removes the keys where this setup wrote them; the quiet one
  ; runs in place and exits with 2 when the program cannot go (un.onInit).
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" \
    '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" \
    '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S _?=$INSTDIR'
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0

  !insertmacro VelmoraAssocChanged
SectionEnd

; Removes what the setup made and nothing else: files the user put into the
; folder keep it, and the settings file the editor keeps in the user's
; %APPDATA%\Velmora stays, as a user's own data.
Section "Uninstall"
  ClearErrors
  !insertmacro VelmoraUninstallFiles
  ; A file that stays (a program started again meanwhile) keeps the
  ; uninstaller, the uninstall entry and the file types, so that the
  ; uninstall can be done again. The uninstaller this copy was started
  ; from may take a moment to end.
  ${IfNot} ${Errors}
    ${For} $0 1 25
      Delete "$INSTDIR\${UNINSTALLER}"
      ${IfNot} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        ${Break}
      ${EndIf}
      Sleep 200
    ${Next}
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    MessageBox MB_OK|MB_ICONSTOP \
      "Files could not be removed from $INSTDIR.$\r$\n$\r$\nClose ${PRODUCT} and uninstall again." \
      /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  !insertmacro VelmoraUninstallDirs
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; *.wdb goes back to the type it had, or to none when it is still ours.
  DeleteRegValue SHCTX "${CLASSES}\.wdb\OpenWithProgids" "${PROGID_WDB}"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.wdb\OpenWithProgids"
  ReadRegStr $0 SHCTX "${CLASSES}\.wdb" ""
  ${If} $0 == "${PROGID_WDB}"
    ReadRegStr $1 SHCTX "${UNINST_KEY}" "PreviousWdbType"
    ${If} $1 != ""
      WriteRegStr SHCTX "${CLASSES}\.wdb" "" "$1"
    ${Else}
      DeleteRegValue SHCTX "${CLASSES}\.wdb" ""
    ${EndIf}
  ${EndIf}
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.wdb"
  DeleteRegKey SHCTX "${CLASSES}\${PROGID_WDB}"

  DeleteRegValue SHCTX "${CLASSES}\.sdx\OpenWithProgids" "${PROGID_SDX}"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.sdx\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "${CLASSES}\.sdx"
  DeleteRegKey SHCTX "${CLASSES}\${PROGID_SDX}"

  DeleteRegKey SHCTX "${CLASSES}\Applications\${EXE}"
  DeleteRegValue SHCTX "Software\RegisteredApplications" "${PRODUCT}"
  DeleteRegKey SHCTX "${CAPABILITIES}"
  DeleteRegKey /ifempty SHCTX "Software\Velmora"
  DeleteRegKey SHCTX "${APP_PATH}"
  DeleteRegKey SHCTX "${UNINST_KEY}"

  !insertmacro VelmoraAssocChanged
SectionEnd
