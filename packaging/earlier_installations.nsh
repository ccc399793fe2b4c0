; The installations of Muralto already on the computer, found by their uninstall entries, and the
; removal of those this one replaces, so that a computer keeps one Muralto:
;   $machineDir    for everyone, of this installer's kind: installed over, as a repair or update
;   $otherKindDir  for everyone, of the other kind: the 32-bit Muralto for the 64-bit installer,
;                  whose entry is in the 32-bit registry view (WOW6432Node), or the 64-bit one
;                  for the 32-bit installer on 64-bit Windows; always replaced
;   $userDir       for the current user alone: HKCU's entry, which both kinds share as they
;                  share its folder
; An installation for everyone replaces the user's own; one for the user replaces those for
; everyone (install_mode.nsh asks first on its page).

Var machineDir
Var otherKindDir
Var userDir

!if ${ARCH} == x64
  !define OWN_VIEW 64
  !define OTHER_VIEW 32
  !define OTHER_KIND "The 32-bit Muralto"
  !define THIS_KIND "this 64-bit one"
!else
  !define OWN_VIEW 32
  !define OTHER_VIEW 64
  !define OTHER_KIND "The 64-bit Muralto"
  !define THIS_KIND "this 32-bit one"
!endif

Function FindInstallations
  SetRegView ${OWN_VIEW}
  ReadRegStr $machineDir HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $userDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
  !if ${ARCH} == x86
    ; 32-bit Windows has one registry view.
    ${IfNot} ${RunningX64}
      Return
    ${EndIf}
  !endif
  SetRegView ${OTHER_VIEW}
  ReadRegStr $otherKindDir HKLM "${UNINSTALL_KEY}" "InstallLocation"
  SetRegView ${OWN_VIEW}
FunctionEnd

; What the mode page says about them, in $R9.
Function DescribeInstallations
  StrCpy $R9 ""
  ${If} $machineDir != ""
    StrCpy $R9 "Muralto is installed for everyone, in $machineDir.$\r$\n"
  ${EndIf}
  ${If} $otherKindDir != ""
    StrCpy $R9 "$R9${OTHER_KIND} is installed for everyone, in $otherKindDir: ${THIS_KIND} replaces it.$\r$\n"
  ${EndIf}
  ${If} $userDir != ""
    StrCpy $R9 "$R9Muralto is installed for you alone, in $userDir.$\r$\n"
  ${EndIf}
  ${If} $R9 != ""
    StrCpy $R9 "$R9Installing Muralto the other way replaces that installation: it is uninstalled first. Your pictures and settings stay."
  ${EndIf}
FunctionEnd

; Runs the uninstaller of the installation in $R5 in place, silently. With administrator rights,
; which can write there, it first looks for a file that another program holds (Muralto
; running in another user's session, say), and then leaves the installation whole: once started,
; the uninstaller would remove the rest, its start-up shortcut with it, and stop half-way.
Function UninstallInPlace
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    FindFirst $0 $1 "$R5\*.*"
    ${DoWhile} $1 != ""
      ${IfNot} ${FileExists} "$R5\$1\*.*"
        ClearErrors
        FileOpen $2 "$R5\$1" a
        ${If} ${Errors}
          DetailPrint "$R5\$1 is in use"
          FindClose $0
          Return
        ${EndIf}
        FileClose $2
      ${EndIf}
      FindNext $0 $1
    ${Loop}
    FindClose $0
  ${EndIf}
  StrCpy $R0 open
  StrCpy $R1 "$R5\Uninstall.exe"
  StrCpy $R2 "/S _?=$R5"
  Call RunAndWait
FunctionEnd

; Replaces the installation in DIR, whose entry is in ROOT and VIEW; the entry gone shows that
; its uninstaller finished. Files in use keep it (the uninstaller's exit code 3), and the
; installation then stops with nothing installed.
!macro REPLACE_INSTALLATION root view dir
  ${If} ${dir} != ""
    DetailPrint "Uninstalling the Muralto in ${dir}"
    SetRegView ${view}
    StrCpy $R5 ${dir}
    ${If} ${FileExists} "$R5\Uninstall.exe"
      Call UninstallInPlace
    ${Else}
      ; Its folder was deleted by hand: only the entry is left.
      DeleteRegKey ${root} "${UNINSTALL_KEY}"
    ${EndIf}
    ClearErrors
    EnumRegValue $0 ${root} "${UNINSTALL_KEY}" 0
    SetRegView ${OWN_VIEW}
    ${IfNot} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP \
        "The Muralto installed in $R5 could not be uninstalled: some of its files are in use, perhaps by Muralto running in another user's session, or the administrator rights it needs were not given.$\r$\n$\r$\nNothing was installed. Quit Muralto in every session (or restart Windows), then run this installer again." \
        /SD IDOK
      SetErrorLevel 5
      Abort "The Muralto in $R5 could not be uninstalled: nothing was installed."
    ${EndIf}
    ; Run in place, an uninstaller leaves itself, and so its folder.
    Delete "$R5\Uninstall.exe"
    RMDir "$R5"
  ${EndIf}
!macroend
