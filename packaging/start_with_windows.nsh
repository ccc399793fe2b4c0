; "Start Muralto when I log on": the installing user's own choice, kept where the program's
; "Start with Windows" (its icon's menu) keeps it, a value of the user's Run key naming the
; program. Earlier versions made a start-up shortcut instead, for everyone with an installation
; for everyone: an upgrade turns it into the user's Run value and removes it.
; The copy with administrator rights may run as another account (an administrator's, typed in
; by the user): it never writes that account's Run key, but leaves the choice in its uninstall
; entry, and the user's own copy, which started it and waits for it, writes it (RunElevatedCopy).

Var runValue ; the user's Run value before anything changed

; Whether $runValue names the program of an installation this one replaces or installs over.
!macro RUN_VALUE_NAMES_OURS result
  StrCpy ${result} 0
  ${If} $runValue == '"$machineDir\Muralto.exe"'
  ${OrIf} $runValue == '"$otherKindDir\Muralto.exe"'
  ${OrIf} $runValue == '"$userDir\Muralto.exe"'
  ${OrIf} $runValue == '"$INSTDIR\Muralto.exe"'
    StrCpy ${result} 1
  ${EndIf}
!macroend

; The choice of the installation replaced or installed over, of either kind, read before their
; uninstallers run (which remove the value naming them); or /STARTUP.
Function KeepStartupChoice
  ${GetParameters} $R2
  ClearErrors
  ${GetOptions} $R2 "/ELEVATED" $1
  ${If} ${Errors}
    ReadRegStr $runValue HKCU "${RUN_KEY}" "Muralto"
  ${EndIf}
  !insertmacro RUN_VALUE_NAMES_OURS $0
  ${If} $0 == 1
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  SetShellVarContext all
  StrCpy $0 "${STARTUP_LINK}"
  SetShellVarContext current
  ${If} ${FileExists} $0
  ${OrIf} ${FileExists} "${STARTUP_LINK}"
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R2 "/STARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; $0: 1 to start Muralto at the user's log-on, 0 not to. A value naming another program stays.
Function SetStartWithWindows
  ${If} $0 == 1
    WriteRegStr HKCU "${RUN_KEY}" "Muralto" '"$INSTDIR\Muralto.exe"'
    Return
  ${EndIf}
  !insertmacro RUN_VALUE_NAMES_OURS $0
  ${If} $0 == 1
    DeleteRegValue HKCU "${RUN_KEY}" "Muralto"
  ${EndIf}
FunctionEnd

; In the user's own copy, before it starts the one with administrator rights: the choice goes
; with it on the command line ($R2).
Function PassStartupChoice
  ${If} ${SectionIsSelected} ${SecStartup}
    StrCpy $R2 "$R2 /STARTUP"
  ${EndIf}
FunctionEnd

; After the copy with administrator rights has installed: the choice it left, for this user.
Function StartWithWindowsAfterElevatedCopy
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
    Return
  ${EndIf}
  StrCpy $INSTDIR $0
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "StartWithWindows"
  Call SetStartWithWindows
FunctionEnd
