; Runs a program through the shell and waits for it to end. Unlike ExecWait (CreateProcess), the
; shell asks for the administrator rights that the program's manifest requires, or that the verb
; "runas" asks for, so an installer without them can start one that needs them.
;   in:  $R0 verb ("open" or "runas"), $R1 program, $R2 its parameters
;   out: $R3 its exit code, or "" when it did not start (the rights were refused, say)
; Both the installer and the uninstaller use it: insert the macro once for each.

!include LogicLib.nsh
!include WinMessages.nsh

; SHELLEXECUTEINFOW: 15 fields, the int ones padded to a pointer's size in 64-bit code.
!if ${NSIS_PTR_SIZE} > 4
  !define /math SHELLEXECUTEINFO_SIZE 14 * ${NSIS_PTR_SIZE}
!else
  !define SHELLEXECUTEINFO_SIZE 60
!endif
!define SEE_MASK_NOCLOSEPROCESS 0x40

!macro DEFINE_RUN_AND_WAIT prefix
  Function ${prefix}RunAndWait
    Push $7
    Push $8
    Push $9
    System::Call '*(&i${SHELLEXECUTEINFO_SIZE}) p .r9'
    System::Call '*$9(i ${SHELLEXECUTEINFO_SIZE}, i ${SEE_MASK_NOCLOSEPROCESS}, p $HWNDPARENT, \
      t R0, t R1, t R2, p 0, p ${SW_SHOWNORMAL})'
    StrCpy $R3 ""
    System::Call 'shell32::ShellExecuteExW(p r9) i .r8'
    ${If} $8 <> 0
      ; hProcess, the last field.
      System::Call '*$9(i, i, p, p, p, p, p, p, p, p, p, p, p, p, p .r7)'
      System::Call 'kernel32::WaitForSingleObject(p r7, i -1)'
      System::Call 'kernel32::GetExitCodeProcess(p r7, *i .R3)'
      System::Call 'kernel32::CloseHandle(p r7)'
    ${EndIf}
    System::Free $9
    Pop $9
    Pop $8
    Pop $7
  FunctionEnd
!macroend
