; The Windows installer, zorv-setup.exe: zorv.scr into the Windows directory
; (where the display settings list screen savers), optionally made the current
; screen saver, and an uninstaller in the installed-programs list.
; Built by CMake: makensis -DSCR=... -DICON=... -DVERSION=x.y.z -DOUTFILE=...
Unicode true
!include MUI2.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorv"
!define DESKTOP_KEY "Control Panel\Desktop"
; Per user, like the screen-saver choice it remembers.
!define REMEMBER_KEY "Software\Zorv\Setup"

Name "Zorv Screen Saver"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Zorv"
; The .scr goes into the Windows directory, which only administrators may write.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Zorv ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Zorv"
VIAddVersionKey /LANG=1033 "CompanyName" "Zorv"
VIAddVersionKey /LANG=1033 "FileDescription" "Zorv Screen Saver Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Zorv"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "Installing Zorv needs administrator rights." /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
FunctionEnd

Section "Zorv Screen Saver" SecSaver
    SectionIn RO
    SetOutPath "$WINDIR"
    File "/oname=zorv.scr" "${SCR}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zorv Screen Saver"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Zorv"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$WINDIR\zorv.scr,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Use Zorv as my screen saver" SecCurrent
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ; Installing again must not forget the screen saver from before Zorv.
    ${If} $0 != "$WINDIR\zorv.scr"
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
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$WINDIR\zorv.scr"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; SPI_SETSCREENSAVEACTIVE with SPIF_SENDCHANGE: running programs hear of it.
    System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 2)'
SectionEnd

Section "Uninstall"
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $0 == "$WINDIR\zorv.scr"
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
    ; zorvsave.ini and ZORV.BMP are the user's settings and picture: they stay.
    Delete "$WINDIR\zorv.scr"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
