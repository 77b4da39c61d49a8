; The Windows installer, zorv-setup.exe, in two modes:
; - just for me: needs no elevation, zorv.scr in the user's own programs folder,
;   optionally made this user's screen saver, listed in this user's programs;
; - for everyone: elevated, zorv.scr in the Windows directory (where the
;   display settings list screen savers for every user), listed for everyone,
;   and no user's settings written.
; /S with /CurrentUser or /AllUsers chooses the mode silently.
; Built by CMake: makensis -DSCR=... -DICON=... -DVERSION=x.y.z -DOUTFILE=...
Unicode true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorv"
!define DESKTOP_KEY "Control Panel\Desktop"
; Per user, like the screen-saver choice it remembers.
!define REMEMBER_KEY "Software\Zorv\Setup"

; Highest: a standard user runs it without elevation and so installs just for
; that user, into the user's own profile; an administrator, elevated under the
; same account, may choose either mode. An installer that always elevated would
; run as whoever gave the credentials and change that account's screen saver
; instead of the user's.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Zorv"
!define MULTIUSER_INSTALLMODE_FUNCTION ModeChosen
!define MULTIUSER_INIT_FUNCTIONQUIT NeedsAdmin
; Installing again keeps the mode of the installation that is there.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
; Shows whose account "just for me" means when someone else's credentials ran it.
!define MULTIUSER_INSTALLMODEPAGE_SHOWUSERNAME
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "For everyone: Zorv goes into the Windows directory, and each user of this computer can choose it in the display settings.$\r$\n$\r$\nJust for you: Zorv goes into your own programs folder and can become your screen saver at once."
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "Zorv Screen Saver"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
BrandingText "Zorv ${VERSION}"
; A zorv.scr held by a running preview is a retry or a failure, never silently the old file.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Zorv"
VIAddVersionKey /LANG=1033 "CompanyName" "Zorv"
VIAddVersionKey /LANG=1033 "FileDescription" "Zorv Screen Saver Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Zorv"

Var Saver       ; the installed zorv.scr, full path
Var FinishText

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_PRE ComponentsPre
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE FinishPre
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "$FinishText"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; Says so when a file in use is left for the next restart.
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

Section "Zorv Screen Saver" SecSaver
    SectionIn RO
    ${If} $MultiUser.InstallMode == AllUsers
        SetOutPath "$WINDIR"
    ${Else}
        SetOutPath "$INSTDIR"
    ${EndIf}
    File "/oname=zorv.scr" "${SCR}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; SHCTX: HKLM for everyone, HKCU just for me (MultiUser sets the context).
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Zorv Screen Saver"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Zorv"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$Saver,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Offered only just for me: an installation for everyone writes no user's HKCU.
Section "Use Zorv as my screen saver" SecCurrent
    ${If} $MultiUser.InstallMode != CurrentUser
        Return
    ${EndIf}
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ; Installing again must not forget the screen saver from before Zorv.
    ${If} $0 != $Saver
        DeleteRegKey HKCU "${REMEMBER_KEY}"
        ClearErrors
        ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${IfNot} ${Errors}
            WriteRegStr HKCU "${REMEMBER_KEY}" "SCRNSAVE.EXE" $0
        ${EndIf}
        ClearErrors
        ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        ${IfNot} ${Errors}
            WriteRegStr HKCU "${REMEMBER_KEY}" "ScreenSaveActive" $1
        ${EndIf}
        WriteRegDWORD HKCU "${REMEMBER_KEY}" "Remembered" 1
    ${EndIf}
    ; A full path, as right-click Install writes for a .scr outside the Windows directory.
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $Saver
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; SPI_SETSCREENSAVEACTIVE with SPIF_SENDCHANGE: running programs hear of it.
    System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 2)'
SectionEnd

Function .onInit
    ; A silent /AllUsers without administrator rights ends with a status, not
    ; with MultiUser's message box that nobody would see.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AllUsers" $1
    ${IfNot} ${Errors}
    ${AndIf} ${Silent}
        UserInfo::GetAccountType
        Pop $1
        ${If} $1 != Admin
        ${AndIf} $1 != Power
            Call NeedsAdmin
        ${EndIf}
    ${EndIf}
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function NeedsAdmin
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
FunctionEnd

; Called by MultiUser whenever the mode is set (start, command line, mode page).
Function ModeChosen
    ${If} $MultiUser.InstallMode == AllUsers
        StrCpy $Saver "$WINDIR\zorv.scr"
        SectionSetText ${SecCurrent} ""
        SectionSetFlags ${SecCurrent} 0
    ${Else}
        StrCpy $Saver "$INSTDIR\zorv.scr"
        SectionSetText ${SecCurrent} "Use Zorv as my screen saver"
        SectionSetFlags ${SecCurrent} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

; For everyone there is nothing to choose: the saver itself is required.
Function ComponentsPre
    ${If} $MultiUser.InstallMode == AllUsers
        Abort
    ${EndIf}
FunctionEnd

Function FinishPre
    ${If} $MultiUser.InstallMode == AllUsers
        StrCpy $FinishText "Zorv is installed for everyone on this computer.$\r$\n$\r$\nEach user can now choose Zorv Screen Saver in the screen-saver settings: on Windows 10 and 11 in Settings, Personalization, Lock screen, Screen saver; on earlier versions in the Control Panel, Personalization (Display on XP), Screen Saver."
    ${ElseIf} ${SectionIsSelected} ${SecCurrent}
        StrCpy $FinishText "Zorv is now your screen saver.$\r$\n$\r$\nThe screen-saver settings of the display settings show it, with its Settings and Preview."
    ${Else}
        StrCpy $FinishText "Zorv is installed for you in $INSTDIR.$\r$\n$\r$\nTo make it your screen saver, right-click zorv.scr there and choose Install."
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
    ; The uninstaller's own folder tells which installation it removes: the one
    ; for everyone keeps it in Program Files, one just for me beside zorv.scr.
    ${If} $INSTDIR == "$PROGRAMFILES\Zorv"
        ${If} $MultiUser.Privileges != Admin
        ${AndIf} $MultiUser.Privileges != Power
            MessageBox MB_ICONSTOP "Removing Zorv for everyone needs administrator rights." /SD IDOK
            SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
            Quit
        ${EndIf}
        Call un.MultiUser.InstallMode.AllUsers
        StrCpy $Saver "$WINDIR\zorv.scr"
    ${Else}
        Call un.MultiUser.InstallMode.CurrentUser
        StrCpy $Saver "$INSTDIR\zorv.scr"
    ${EndIf}
FunctionEnd

; Deletes $Saver now or, when a running saver or preview holds it, at the next
; restart. When neither can be done (scheduling needs administrator rights),
; says so and stops before anything else goes, so that the entry in the
; installed programs stays for another try.
Function un.RemoveSaver
    retry:
    Delete $Saver
    ${If} ${FileExists} $Saver
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$Saver is in use: Zorv is running, perhaps as the preview of the screen-saver settings.$\r$\n$\r$\nClose it and choose Retry, or choose Cancel to have it removed when Windows restarts." /SD IDCANCEL IDRETRY retry
        ; MOVEFILE_DELAY_UNTIL_REBOOT. (Delete /REBOOTOK would not tell when it fails.)
        System::Call 'kernel32::MoveFileExW(w "$Saver", p 0, i 4) i .r0'
        ${If} $0 = 0
            MessageBox MB_ICONSTOP "Zorv is not removed: $Saver is in use. Close the screen saver and uninstall Zorv again." /SD IDOK
            Abort
        ${EndIf}
        SetRebootFlag true
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.RemoveSaver
    ${If} $MultiUser.InstallMode == CurrentUser
        ; Only where Zorv is still this user's screen saver: a saver chosen since stays.
        ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${If} $0 == $Saver
            ReadRegDWORD $2 HKCU "${REMEMBER_KEY}" "Remembered"
            ClearErrors
            ReadRegStr $1 HKCU "${REMEMBER_KEY}" "SCRNSAVE.EXE"
            ${If} ${Errors}
                ; None before Zorv (or Zorv chosen without this installer): point at no removed file.
                DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
            ${Else}
                WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
            ${EndIf}
            ${If} $2 == 1
                ClearErrors
                ReadRegStr $1 HKCU "${REMEMBER_KEY}" "ScreenSaveActive"
                ${If} ${Errors}
                    DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
                ${Else}
                    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $1
                ${EndIf}
            ${EndIf}
        ${EndIf}
        DeleteRegKey HKCU "${REMEMBER_KEY}"
        DeleteRegKey /ifempty HKCU "Software\Zorv"
    ${EndIf}
    ; zorvsave.ini and ZORV.BMP are the user's settings and picture: they stay.
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    ; After a zorv.scr left for the restart, its folder goes then too.
    ${If} ${RebootFlag}
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        RMDir "$INSTDIR"
    ${EndIf}
SectionEnd
