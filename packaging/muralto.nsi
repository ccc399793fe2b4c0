; Muralto's Windows installer (NSIS 3). packaging/CMakeLists.txt builds it:
;   makensis -DVERSION=3.05 -DARCH=x64|x86 -DSTAGE=<folder of the shipped files>
;            -DICON=<program icon> -DOUTFILE=<setup.exe> muralto.nsi
; ARCH x64 makes a 64-bit installer of the 64-bit program: it installs into the 64-bit Program
; Files and writes its uninstall entry in the 64-bit registry view. ARCH x86 makes the installer
; of the 32-bit program, for 32-bit Windows. Either installs for everyone or for the current user
; alone (install_mode.nsh), and first uninstalls the installations it replaces
; (earlier_installations.nsh): the other kind's, and one for the other users.
; Silent use: setup.exe /S [/ALLUSERS | /CURRENTUSER] [/STARTUP] [/D=folder]; Uninstall.exe /S.
; /STARTUP starts Muralto at the installing user's log-on (start_with_windows.nsh), which a
; silent install otherwise leaves as it was.
; Exit codes: 0 done, 1 cancelled (the administrator rights refused, say), 2 refused while
; Muralto runs, 4 refused on a Windows that cannot run it (64-bit installer), 5 an installation
; it replaces could not be uninstalled (files in use), and nothing was installed; and for the
; uninstaller 3: files in use stayed, and with them the uninstaller and its entry, so that the
; next uninstall finishes the work. The uninstaller's own code is seen only when it runs in
; place: Uninstall.exe /S _?=folder.

!macro REQUIRE_DEFINE name
  !ifndef ${name}
    !error "define ${name} on the command line (see the top of this file)"
  !endif
!macroend
!insertmacro REQUIRE_DEFINE VERSION
!insertmacro REQUIRE_DEFINE ARCH
!insertmacro REQUIRE_DEFINE STAGE
!insertmacro REQUIRE_DEFINE ICON
!insertmacro REQUIRE_DEFINE OUTFILE

!if ${ARCH} == x64
  Target amd64-unicode
!else if ${ARCH} == x86
  Unicode true
!else
  !error "ARCH must be x64 or x86"
!endif
SetCompressor /SOLID lzma
; An installation for the current user needs no administrator rights; one for everyone starts a
; copy of the installer with them (install_mode.nsh).
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include x64.nsh
!include nsDialogs.nsh
!addincludedir "${__FILEDIR__}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Muralto"
; Earlier versions' start-up shortcut, and where the start-up choice is kept now.
!define STARTUP_LINK "$SMSTARTUP\Muralto.lnk"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The caption of Muralto's main window, which exists (hidden or not) while the program runs.
!define MAIN_WINDOW_TITLE "Muralto Version ${VERSION}"

Name "Muralto ${VERSION}"
OutFile "${OUTFILE}"
; No InstallDir: the folder follows the kind of installation (install_mode.nsh), and $INSTDIR
; is set at the start only by /D=.
!if ${ARCH} == x64
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif
BrandingText "Muralto ${VERSION}"

VIProductVersion "3.0.5.1"
VIAddVersionKey "ProductName" "Muralto"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Muralto ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "The Muralto developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) The Muralto developers, MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

Page custom ModePageShow ModePageLeave
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Muralto.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

; The data folder of the account the uninstaller runs as (see un.onInit); each user has one.
Var userData
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Muralto will be removed from the folder below. Your settings and the pictures Muralto converted stay in your data folder, $userData, which is left alone: delete it yourself if you no longer want them."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Files in use cannot be replaced or removed, and Muralto saves its list only when it quits.
!macro REFUSE_WHILE_RUNNING
  ${Do}
    FindWindow $0 "#32770" "${MAIN_WINDOW_TITLE}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Muralto is running. Quit it first: point at its icon in the notification area to show its window, then press Quit (Quitter)." \
      /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

!include run_and_wait.nsh
!insertmacro DEFINE_RUN_AND_WAIT ""
!insertmacro DEFINE_RUN_AND_WAIT "un."
!include earlier_installations.nsh
!include install_mode.nsh

; Before anything is installed: a failure stops the installation with nothing changed.
Section "-Earlier installations"
  !insertmacro REPLACE_INSTALLATION HKLM ${OTHER_VIEW} $otherKindDir
  ${If} $mode == user
    !insertmacro REPLACE_INSTALLATION HKLM ${OWN_VIEW} $machineDir
  ${Else}
    !insertmacro REPLACE_INSTALLATION HKCU ${OWN_VIEW} $userDir
  ${EndIf}
SectionEnd

Section "Muralto" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}/Muralto.exe"
  File "${STAGE}/KFG.dll"
  File "${STAGE}/TXM.dll"
  File "${STAGE}/libheif.dll"
  File "${STAGE}/libde265.dll"
  File "${STAGE}/COPYING-libheif.txt"
  File "${STAGE}/copyright-libheif.txt"
  File "${STAGE}/COPYING-libde265.txt"
  File "${STAGE}/copyright-libde265.txt"
  File "${STAGE}/COPYING-dav1d.txt"
  File "${STAGE}/copyright-dav1d.txt"
  File "${STAGE}/Muralto.lng"
  File "${STAGE}/Muralto.html"
  File "${STAGE}/README.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; A shortcut's working folder is the output folder: Muralto reads Muralto.lng from there.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Muralto"
  CreateShortcut "$SMPROGRAMS\Muralto\Muralto.lnk" "$INSTDIR\Muralto.exe" "" \
    "$INSTDIR\Muralto.exe" 0 SW_SHOWNORMAL "" "Change the desktop wallpaper in turn"
  CreateShortcut "$SMPROGRAMS\Muralto\Muralto user guide.lnk" "$INSTDIR\Muralto.html"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Muralto"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Muralto developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Muralto.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Readme" "$INSTDIR\Muralto.html"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start Muralto when I log on" SecStartup
SectionEnd

; Ticked or not, for the installing user alone (start_with_windows.nsh); the start-up shortcuts
; of earlier versions go, for everyone's and for the user's.
Section "-Start with Windows"
  StrCpy $0 0
  ${If} ${SectionIsSelected} ${SecStartup}
    StrCpy $0 1
  ${EndIf}
  ${If} $elevated == 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "StartWithWindows" $0
  ${Else}
    Call SetStartWithWindows
  ${EndIf}
  SetShellVarContext all
  Delete "${STARTUP_LINK}"
  SetShellVarContext current
  Delete "${STARTUP_LINK}"
  ${If} $mode == all
    SetShellVarContext all
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
    "The program, its language file and its user guide, with a Start-menu folder."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} \
    "Muralto starts when you log on (your own choice: other users make theirs in its icon's menu) and changes the wallpaper all day."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

!include start_with_windows.nsh

; The 64-bit installer is itself a 64-bit program, which a 32-bit Windows does not start at all;
; the check speaks for the cases where it starts on a Windows that cannot run the program.
!macro USE_PROGRAM_ARCHITECTURE
  !if ${ARCH} == x64
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP \
        "This is the installer of 64-bit Muralto, and this Windows is 32-bit. Install Muralto-${VERSION}-setup.exe, the 32-bit Muralto, instead." \
        /SD IDOK
      SetErrorLevel 4
      Quit
    ${EndIf}
    SetRegView 64
  !endif
!macroend

Function .onInit
  !insertmacro USE_PROGRAM_ARCHITECTURE
  !insertmacro REFUSE_WHILE_RUNNING
  Call FindInstallations
  Call KeepStartupChoice
  Call ChooseMode
FunctionEnd

; The files the uninstaller could not remove, each on a line of its own.
Var left

!macro REMOVE_FILE path
  Delete "${path}"
  ${If} ${FileExists} "${path}"
    StrCpy $left "$left$\r$\n${path}"
  ${EndIf}
!macroend

; Run from Add/Remove Programs, this is a copy in the temporary folder, started by
; $INSTDIR\Uninstall.exe, which ends at once: give it a few seconds to end.
Function un.RemoveUninstaller
  ${If} $EXEDIR == $INSTDIR
    ; Run in place (_?=), it cannot delete itself: whoever runs it so deletes it afterwards.
    Return
  ${EndIf}
  StrCpy $0 0
  ${Do}
    Delete "$INSTDIR\Uninstall.exe"
    ${IfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
    ${OrIf} $0 >= 20
      ${Break}
    ${EndIf}
    Sleep 250
    IntOp $0 $0 + 1
  ${Loop}
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
    StrCpy $left "$left$\r$\n$INSTDIR\Uninstall.exe"
  ${EndIf}
FunctionEnd

; Files in use (by a Muralto running in another session, which REFUSE_WHILE_RUNNING cannot
; see) cannot be removed; the uninstaller and its entry then stay, so the next uninstall can finish.
Section "Uninstall"
  StrCpy $left ""
  !insertmacro REMOVE_FILE "$INSTDIR\Muralto.exe"
  !insertmacro REMOVE_FILE "$INSTDIR\KFG.dll"
  !insertmacro REMOVE_FILE "$INSTDIR\TXM.dll"
  !insertmacro REMOVE_FILE "$INSTDIR\libheif.dll"
  !insertmacro REMOVE_FILE "$INSTDIR\libde265.dll"
  !insertmacro REMOVE_FILE "$INSTDIR\COPYING-libheif.txt"
  !insertmacro REMOVE_FILE "$INSTDIR\copyright-libheif.txt"
  !insertmacro REMOVE_FILE "$INSTDIR\COPYING-libde265.txt"
  !insertmacro REMOVE_FILE "$INSTDIR\copyright-libde265.txt"
  !insertmacro REMOVE_FILE "$INSTDIR\COPYING-dav1d.txt"
  !insertmacro REMOVE_FILE "$INSTDIR\copyright-dav1d.txt"
  !insertmacro REMOVE_FILE "$INSTDIR\Muralto.lng"
  !insertmacro REMOVE_FILE "$INSTDIR\Muralto.html"
  !insertmacro REMOVE_FILE "$INSTDIR\README.txt"
  !insertmacro REMOVE_FILE "$SMPROGRAMS\Muralto\Muralto.lnk"
  !insertmacro REMOVE_FILE "$SMPROGRAMS\Muralto\Muralto user guide.lnk"
  RMDir "$SMPROGRAMS\Muralto"
  !insertmacro REMOVE_FILE "${STARTUP_LINK}"
  ${If} $left == ""
    Call un.RemoveUninstaller
  ${EndIf}
  ${If} $left != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION \
      "These files could not be removed because they are in use, perhaps by Muralto running in another user's session:$left$\r$\n$\r$\nMuralto stays in the list of programs. Quit it in every session (or restart Windows), then uninstall it again to finish." \
      /SD IDOK
    SetErrorLevel 3
    Abort "Some files are in use: uninstall Muralto again once they are free."
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ReadRegStr $0 HKCU "${RUN_KEY}" "Muralto"
  ${If} $0 == '"$INSTDIR\Muralto.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "Muralto"
  ${EndIf}
  ; Not /r: whatever else the user put in the folder stays, and the folder with it.
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  !insertmacro USE_PROGRAM_ARCHITECTURE
  ; Muralto keeps its data in the user's %LOCALAPPDATA%\Muralto; in the all-users context
  ; $LOCALAPPDATA would be the machine's ProgramData instead.
  SetShellVarContext current
  StrCpy $userData "$LOCALAPPDATA\Muralto"
  !insertmacro REFUSE_WHILE_RUNNING
  Call un.UseInstalledMode
FunctionEnd
