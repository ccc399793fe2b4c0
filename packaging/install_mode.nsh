; Whom Muralto is installed for: everyone who uses the computer (the default: Program Files, the
; all-users Start menu, the uninstall entry under HKLM), or the current user
; alone (%LOCALAPPDATA%\Programs\Muralto, the user's own Start menu, the
; entry under HKCU), which needs no administrator rights. The installer itself runs without
; them; for everyone, it starts a copy of itself with them (the shell's "runas", which asks the
; user) and ends with that copy's exit code. The uninstaller does the same for an installation
; for everyone.
; Command line: /ALLUSERS or /CURRENTUSER choose, and the page is skipped; a silent install
; without either keeps the kind already installed. /ELEVATED marks the copy with the rights.

Var mode      ; "all" or "user"
Var modeFixed ; 1 when the command line chose, or the install is silent: no page then
Var elevated  ; 1 in the copy started with administrator rights: it never starts another
Var chosenDir ; the folder given by /D=, which wins over the kind's own
Var radioAll
Var radioUser

; The kind already installed is the default, so that a new version or a repair stays what it
; was; on a computer without Muralto, or with an installation for everyone, it is for everyone.
Function ChooseMode
  StrCpy $chosenDir $INSTDIR
  StrCpy $mode all
  ${If} $userDir != ""
  ${AndIf} $machineDir == ""
  ${AndIf} $otherKindDir == ""
    StrCpy $mode user
  ${EndIf}
  StrCpy $modeFixed 0
  ${If} ${Silent}
    StrCpy $modeFixed 1
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ELEVATED" $1
  ${IfNot} ${Errors}
    StrCpy $elevated 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $mode all
    StrCpy $modeFixed 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/CURRENTUSER" $1
  ${IfNot} ${Errors}
    StrCpy $mode user
    StrCpy $modeFixed 1
  ${EndIf}
  ${If} $modeFixed == 1
    Call UseMode
  ${EndIf}
FunctionEnd

; The shell folders, the registry root (SHCTX) and the default folder of the chosen kind.
Function UseMode
  ${If} $mode == user
    SetShellVarContext current
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Muralto"
    ${If} $userDir != ""
      StrCpy $INSTDIR $userDir
    ${EndIf}
  ${Else}
    SetShellVarContext all
    StrCpy $INSTDIR "${PROGRAM_FILES}\Muralto"
    ${If} $machineDir != ""
      StrCpy $INSTDIR $machineDir
    ${EndIf}
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
    ${AndIf} $elevated != 1
      Call RunElevatedCopy
    ${EndIf}
  ${EndIf}
  ${If} $chosenDir != ""
    StrCpy $INSTDIR $chosenDir
  ${EndIf}
FunctionEnd

; /D= must come last, and NSIS has already taken it off the command line.
Function RunElevatedCopy
  ${GetParameters} $R2
  StrCpy $R2 "/ALLUSERS /ELEVATED $R2"
  ; This user's start-up choice, which the copy (perhaps another account) cannot read.
  Call PassStartupChoice
  ${If} $chosenDir != ""
    StrCpy $R2 "$R2 /D=$chosenDir"
  ${EndIf}
  StrCpy $R0 runas
  StrCpy $R1 $EXEPATH
  HideWindow
  Call RunAndWait
  ${If} $R3 != ""
    ${If} $R3 == 0
      Call StartWithWindowsAfterElevatedCopy
    ${EndIf}
    SetErrorLevel $R3
    Quit
  ${EndIf}
  MessageBox MB_OK|MB_ICONEXCLAMATION \
    "Installing Muralto for everyone who uses this computer needs administrator rights, which were not given. Install it for yourself alone to do without them." \
    /SD IDOK
  ${If} $modeFixed == 1
    SetErrorLevel 1
    Quit
  ${EndIf}
  ShowWindow $HWNDPARENT ${SW_SHOW}
  Abort
FunctionEnd

Function ModePageShow
  ${If} $modeFixed == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Choose users" "Install Muralto for everyone who uses this computer, or for you alone."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "For &everyone who uses this computer (administrator rights needed)"
  Pop $radioAll
  ${NSD_CreateLabel} 12u 13u -12u 20u "Into Program Files, with a Muralto folder in every user's Start menu."
  Pop $0
  ${NSD_CreateRadioButton} 0 38u 100% 12u "Only for &me (no administrator rights needed)"
  Pop $radioUser
  ${NSD_CreateLabel} 12u 51u -12u 20u "Into your own profile (AppData\Local\Programs), with a Muralto folder in your Start menu only."
  Pop $0
  Call DescribeInstallations
  ${NSD_CreateLabel} 0 80u 100% 60u $R9
  Pop $0
  ${If} $mode == user
    ${NSD_Check} $radioUser
  ${Else}
    ${NSD_Check} $radioAll
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $radioUser $0
  StrCpy $mode all
  ${If} $0 == ${BST_CHECKED}
    StrCpy $mode user
  ${EndIf}
  Call AskToReplaceOtherMode
  Call UseMode
FunctionEnd

; An installation for everyone and one for the user alone are never kept side by side.
Function AskToReplaceOtherMode
  ${If} $mode == user
    StrCpy $0 $machineDir
    ${If} $0 == ""
      StrCpy $0 $otherKindDir
    ${EndIf}
    StrCpy $1 "for everyone who uses this computer"
    StrCpy $2 "for you alone: it is uninstalled first, for every user, with administrator rights"
  ${Else}
    StrCpy $0 $userDir
    StrCpy $1 "for you alone"
    StrCpy $2 "for everyone: it is uninstalled first"
  ${EndIf}
  ${If} $0 != ""
    MessageBox MB_YESNO|MB_ICONQUESTION \
      "Muralto is installed $1, in $0.$\r$\n$\r$\nInstalling it $2. Your pictures and settings stay.$\r$\n$\r$\nReplace that installation?" \
      /SD IDYES IDYES +2
    Abort
  ${EndIf}
FunctionEnd

; The uninstaller removes the installation it belongs to, which is for the current user alone
; when the user's uninstall entry names its folder.
Function un.UseInstalledMode
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext current
    Return
  ${EndIf}
  SetShellVarContext all
  UserInfo::GetAccountType
  Pop $0
  ${GetParameters} $R2
  ClearErrors
  ${GetOptions} $R2 "/ELEVATED" $1
  ${If} $0 != "Admin"
  ${AndIf} ${Errors}
    ; NSIS has taken _?= off the command line.
    StrCpy $R2 "/ELEVATED $R2 _?=$INSTDIR"
    StrCpy $R0 runas
    StrCpy $R1 $EXEPATH
    Call un.RunAndWait
    ${If} $R3 == ""
      StrCpy $R3 1
    ${EndIf}
    SetErrorLevel $R3
    Quit
  ${EndIf}
FunctionEnd
